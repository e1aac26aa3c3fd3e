#!/usr/bin/env python3
"""Packs a release archive from a folder of files, the same bytes every time.

    pack_release.py zip|tar.gz ARCHIVE FOLDER TIMESTAMP

Files sit at the top of the archive (a player unpacks them into the game's
folder), in name order, dated TIMESTAMP (seconds since 1970, the commit's
time), executables with mode 755 and everything else 644. Zip names are
UTF-8 and flagged so (the guide's name is Chinese); tar names are UTF-8.
"""
import gzip
import io
import os
import sys
import tarfile
import time
import zipfile


def entries(folder):
    for name in sorted(os.listdir(folder)):
        path = os.path.join(folder, name)
        executable = os.access(path, os.X_OK)
        with open(path, "rb") as f:
            yield name, f.read(), 0o755 if executable else 0o644


def pack_zip(archive, folder, stamp):
    # Zip dates are local calendar times from 1980 on; UTC is used here.
    date = time.gmtime(max(stamp, 315532800))[:6]
    with zipfile.ZipFile(archive, "w") as z:
        for name, data, mode in entries(folder):
            info = zipfile.ZipInfo(name, date_time=date)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3  # Unix, so that the mode below is read
            info.external_attr = (0o100000 | mode) << 16
            z.writestr(info, data, compresslevel=9)


def pack_tar(archive, folder, stamp):
    raw = io.BytesIO()
    with tarfile.open(fileobj=raw, mode="w", format=tarfile.PAX_FORMAT,
                      encoding="utf-8") as t:
        for name, data, mode in entries(folder):
            info = tarfile.TarInfo(name)
            info.size, info.mode, info.mtime = len(data), mode, stamp
            info.uname = info.gname = "root"
            t.addfile(info, io.BytesIO(data))
    # gzip's header would otherwise carry today's date.
    with open(archive, "wb") as out:
        with gzip.GzipFile(filename="", mode="wb", fileobj=out, mtime=stamp,
                           compresslevel=9) as g:
            g.write(raw.getvalue())


def main(argv):
    if len(argv) != 5 or argv[1] not in ("zip", "tar.gz"):
        sys.exit(__doc__)
    kind, archive, folder, stamp = argv[1], argv[2], argv[3], int(argv[4])
    (pack_zip if kind == "zip" else pack_tar)(archive, folder, stamp)


if __name__ == "__main__":
    main(sys.argv)
