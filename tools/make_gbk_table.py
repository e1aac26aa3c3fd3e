#!/usr/bin/env python3
"""Writes platform/gbk_table.cpp, the double-byte half of code page 936.

The pairs come from the host's iconv ("CP936", GBK with the euro sign at
0x80) plus the three user-defined areas, which code page 936 maps to the
Unicode private use area in order (AAA1-AFFE, F8A1-FEFE, A140-A7A0).
Run it from the repository root: python3 tools/make_gbk_table.py
"""
import subprocess
import sys

LEADS = range(0x81, 0xFF)
TRAILS = range(0x40, 0xFF)  # 0x7F is no trail byte; its cells stay 0


def host_decode(pair):
    done = subprocess.run(["iconv", "-f", "CP936", "-t", "UTF-16LE"], input=pair,
                          capture_output=True)
    if done.returncode != 0 or len(done.stdout) != 2:
        return 0
    return done.stdout[0] | (done.stdout[1] << 8)


def user_defined():
    cells = {}
    unit = 0xE000
    for first, last, trails in ((0xAA, 0xAF, range(0xA1, 0xFF)),
                                (0xF8, 0xFE, range(0xA1, 0xFF)),
                                (0xA1, 0xA7, [t for t in range(0x40, 0xA1) if t != 0x7F])):
        for lead in range(first, last + 1):
            for trail in trails:
                cells[(lead, trail)] = unit
                unit += 1
    return cells


def main():
    pairs = [(lead, trail) for lead in LEADS for trail in TRAILS if trail != 0x7F]
    # Python's "gbk" codec is code page 936's double-byte table; a sample of
    # pairs is checked against the host's iconv so that a codec that drifted
    # from it is noticed (one iconv run a pair is too slow for all of them).
    table = {}
    for lead, trail in pairs:
        try:
            text = bytes([lead, trail]).decode("gbk")
        except UnicodeDecodeError:
            text = ""
        table[(lead, trail)] = ord(text) if len(text) == 1 else 0
    for (lead, trail), unit in list(table.items())[::97]:
        if host_decode(bytes([lead, trail])) != unit:
            sys.exit("python's gbk and iconv's CP936 disagree at %02X%02X" % (lead, trail))
    for cell, unit in user_defined().items():
        if table[cell] != 0:
            sys.exit("user-defined cell %02X%02X already mapped" % cell)
        table[cell] = unit

    out = []
    out.append("// The double-byte half of code page 936 (GBK): for each lead byte 0x81-0xFE")
    out.append("// the UTF-16 unit of each trail byte 0x40-0xFE, 0 where the pair has no")
    out.append("// character. Written by tools/make_gbk_table.py; do not edit by hand.")
    out.append('#include "platform/gbk_table.h"')
    out.append("")
    out.append("namespace gbk {")
    out.append("")
    out.append("const uint16_t kDoubleByteTable[kLeadCount][kTrailCount] = {")
    for lead in LEADS:
        row = [table.get((lead, trail), 0) if trail != 0x7F else 0 for trail in TRAILS]
        out.append("    // lead 0x%02X" % lead)
        out.append("    {")
        for start in range(0, len(row), 12):
            out.append("        " + " ".join("0x%04X," % u for u in row[start:start + 12]))
        out.append("    },")
    out.append("};")
    out.append("")
    out.append("}  // namespace gbk")
    with open("platform/gbk_table.cpp", "w", encoding="ascii") as f:
        f.write("\n".join(out) + "\n")
    mapped = sum(1 for u in table.values() if u != 0)
    print("mapped pairs:", mapped)


if __name__ == "__main__":
    main()
