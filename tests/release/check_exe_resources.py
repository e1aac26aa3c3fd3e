#!/usr/bin/env python3
"""Reads the version resource and the icon back from a built dropedit.exe.

    check_exe_resources.py EXE VERSION ICON_FILE

Fails (exit 1, one line per fault) unless the file's resource section holds
a version resource with VERSION as file and product version (fixed and text
forms), Chinese product name, description and copyright, the original file
name dropedit.exe and the Simplified Chinese translation, an icon group
whose images are the images of ICON_FILE, and an application manifest
(resource 24, id 1) that asks for no elevation, names the supported Windows
versions and depends on Common Controls 6.
"""
import struct
import sys
import xml.etree.ElementTree as ElementTree

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24

# supportedOS ids: Vista, 7, 8, 8.1, 10 and 11.
SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}": "Vista",
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "10/11",
}


def sections(pe):
    """(name, virtual address, raw size, raw offset) of each section."""
    if pe[:2] != b"MZ":
        raise ValueError("not an MZ executable")
    header = struct.unpack_from("<I", pe, 0x3C)[0]
    if pe[header:header + 4] != b"PE\0\0":
        raise ValueError("no PE signature")
    count, optional_size = struct.unpack_from("<2xH12xH", pe, header + 4)
    table = header + 24 + optional_size
    for i in range(count):
        name, _, address, raw_size, raw_offset = struct.unpack_from("<8sIIII", pe, table + 40 * i)
        yield name.rstrip(b"\0").decode(), address, raw_size, raw_offset


def resources(pe):
    """{(type, name, language): bytes} from the .rsrc section."""
    rsrc = [s for s in sections(pe) if s[0] == ".rsrc"]
    if not rsrc:
        raise ValueError("no .rsrc section")
    _, base_rva, size, offset = rsrc[0]
    data = pe[offset:offset + size]

    def directory(at):
        named, numbered = struct.unpack_from("<12xHH", data, at)
        for i in range(named + numbered):
            ident, target = struct.unpack_from("<II", data, at + 16 + 8 * i)
            yield ident, target

    found = {}
    for type_id, type_at in directory(0):
        for name_id, name_at in directory(type_at & 0x7FFFFFFF):
            for lang_id, entry_at in directory(name_at & 0x7FFFFFFF):
                rva, length = struct.unpack_from("<II", data, entry_at)
                found[(type_id, name_id, lang_id)] = data[rva - base_rva:rva - base_rva + length]
    return found


def version_block(data, at=0):
    """One node of a version resource: (key, value bytes, children, end)."""
    length, value_length, kind = struct.unpack_from("<HHH", data, at)
    end = at + length
    key_at = at + 6
    key_end = key_at
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[key_at:key_end].decode("utf-16-le")
    value_at = (key_end + 2 + 3) & ~3
    # Text values count their length in characters, binary ones in bytes.
    value_bytes = value_length * 2 if kind == 1 else value_length
    value = data[value_at:value_at + value_bytes]
    children = []
    child = (value_at + value_bytes + 3) & ~3
    while child < end:
        node = version_block(data, child)
        children.append(node)
        child = (node[3] + 3) & ~3
    return key, value, children, end


def has_chinese(text):
    return any("\u4e00" <= c <= "\u9fff" for c in text)


def check(exe, version, icon_file):
    faults = []
    with open(exe, "rb") as f:
        pe = f.read()
    found = resources(pe)
    parts = [int(p) for p in version.split(".")] + [0] * 4
    ms, ls = parts[0] << 16 | parts[1], parts[2] << 16 | parts[3]

    versions = [v for k, v in found.items() if k[0] == RT_VERSION]
    if len(versions) != 1:
        return ["%d version resources, not 1" % len(versions)]
    key, fixed, children, _ = version_block(versions[0])
    if key != "VS_VERSION_INFO":
        faults.append("the version resource's key is %r" % key)
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
    if signature != 0xFEEF04BD:
        faults.append("no fixed file information")
    if (file_ms, file_ls) != (ms, ls):
        faults.append("fixed file version %08x.%08x, not %s" % (file_ms, file_ls, version))
    if (product_ms, product_ls) != (ms, ls):
        faults.append("fixed product version %08x.%08x, not %s" % (product_ms, product_ls, version))

    strings, translations = {}, []
    for child_key, _, tables, _ in children:
        if child_key == "StringFileInfo":
            for table_key, _, entries, _ in tables:
                if table_key.lower() != "080404b0":
                    faults.append("string table %s is not Simplified Chinese in UTF-16" % table_key)
                for name, value, _, _ in entries:
                    strings[name] = value.decode("utf-16-le").rstrip("\0")
        elif child_key == "VarFileInfo":
            for _, value, _, _ in tables:
                translations += [struct.unpack_from("<HH", value, i) for i in range(0, len(value), 4)]
    if translations != [(0x0804, 1200)]:
        faults.append("translations %r, not Simplified Chinese in UTF-16" % translations)
    wanted = {"FileVersion": ".".join(map(str, parts[:4])), "ProductVersion": version,
              "OriginalFilename": "dropedit.exe"}
    for name, text in wanted.items():
        if strings.get(name) != text:
            faults.append("%s is %r, not %r" % (name, strings.get(name), text))
    for name in ("ProductName", "FileDescription", "LegalCopyright"):
        if not has_chinese(strings.get(name, "")):
            faults.append("%s is %r, not Chinese" % (name, strings.get(name)))

    # The icon group lists images by id; each must be an image of the icon file.
    with open(icon_file, "rb") as f:
        ico = f.read()
    ico_count = struct.unpack_from("<H", ico, 4)[0]
    ico_images = set()
    for i in range(ico_count):
        size, at = struct.unpack_from("<II", ico, 6 + 16 * i + 8)
        ico_images.add(ico[at:at + size])
    groups = [v for k, v in found.items() if k[0] == RT_GROUP_ICON]
    if len(groups) != 1:
        faults.append("%d icon groups, not 1" % len(groups))
    else:
        group = groups[0]
        count = struct.unpack_from("<H", group, 4)[0]
        images = {k[1]: v for k, v in found.items() if k[0] == RT_ICON}
        listed = [struct.unpack_from("<H", group, 6 + 14 * i + 12)[0] for i in range(count)]
        if count != ico_count:
            faults.append("the icon group has %d images, the icon file %d" % (count, ico_count))
        for ident in listed:
            if images.get(ident) not in ico_images:
                faults.append("icon image %d is not one of %s" % (ident, icon_file))
    return faults + check_manifest(found)


def local(tag):
    """An element's name without its XML namespace."""
    return tag.rsplit("}", 1)[-1]


def check_manifest(found):
    manifests = {k: v for k, v in found.items() if k[0] == RT_MANIFEST}
    if [k[1] for k in manifests] != [1]:
        return ["manifest resources %r, not one with id 1" % sorted(k[1] for k in manifests)]
    try:
        root = ElementTree.fromstring(next(iter(manifests.values())))
    except ElementTree.ParseError as e:
        return ["the manifest is not XML: %s" % e]
    faults = []
    elements = list(root.iter())

    levels = [e.attrib for e in elements if local(e.tag) == "requestedExecutionLevel"]
    if levels != [{"level": "asInvoker", "uiAccess": "false"}]:
        faults.append("requestedExecutionLevel %r, not asInvoker without uiAccess" % levels)

    declared = {e.get("Id", "").lower() for e in elements if local(e.tag) == "supportedOS"}
    for ident, name in SUPPORTED_OS.items():
        if ident not in declared:
            faults.append("the manifest does not declare Windows %s as supported" % name)

    controls = [e for e in elements if local(e.tag) == "assemblyIdentity"
                and e.get("name") == "Microsoft.Windows.Common-Controls"]
    if len(controls) != 1:
        faults.append("%d Common Controls dependencies, not 1" % len(controls))
    else:
        c = controls[0]
        if (c.get("version"), c.get("publicKeyToken"), c.get("type")) != (
                "6.0.0.0", "6595b64144ccf1df", "win32") or c.get("processorArchitecture") not in ("x86", "*"):
            faults.append("the Common Controls dependency is %r, not version 6 for x86" % c.attrib)
        parents = {child: parent for parent in elements for child in parent}
        if local(parents[c].tag) != "dependentAssembly" or local(parents[parents[c]].tag) != "dependency":
            faults.append("the Common Controls identity is not inside dependency/dependentAssembly")

    # The form runtime scales its windows itself: per display (version 2)
    # where Windows knows it, the system's scale before that.
    aware = [(e.text or "").strip() for e in elements if local(e.tag) == "dpiAwareness"
             and e.tag.startswith("{http://schemas.microsoft.com/SMI/2016/WindowsSettings}")]
    if len(aware) != 1 or [v.strip().lower() for v in aware[0].split(",")] != ["permonitorv2", "system"]:
        faults.append("dpiAwareness %r, not per display version 2 falling back to system" % aware)
    legacy = [(e.text or "").strip().lower() for e in elements if local(e.tag) == "dpiAware"
              and e.tag.startswith("{http://schemas.microsoft.com/SMI/2005/WindowsSettings}")]
    if legacy != ["true"]:
        faults.append("dpiAware %r, not true (system scale before Windows 10 1607)" % legacy)
    return faults


def main(argv):
    if len(argv) != 4:
        sys.exit(__doc__)
    faults = check(argv[1], argv[2], argv[3])
    for fault in faults:
        print("FAIL: %s: %s" % (argv[1], fault), file=sys.stderr)
    if faults:
        sys.exit(1)
    print("%s: version %s, Chinese names, icon of %s, manifest" % (argv[1], argv[2], argv[3]))


if __name__ == "__main__":
    main(sys.argv)
