#!/usr/bin/env bash
# Checks what tools/release.sh made, as a player gets it: the checksums, the
# exact contents of both archives, the guide (UTF-8 with a byte order mark,
# CR LF line ends, the facts a player needs), the Windows executable
# (stripped, GUI, only system DLLs, its version resource, icon and manifest
# read back from the file) and the Linux executable (32-bit, static,
# stripped).
#
#   check_archives.sh DIST
set -euo pipefail
# Archive listings print the guide's Chinese name as it is only in a UTF-8 locale.
export LC_ALL=C.UTF-8
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
dist=$1
version=$(sed -n 's/^project(dropedit VERSION \([0-9][0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
zip_name=dropedit-$version-windows-x86.zip
tar_name=dropedit-$version-linux-i686.tar.gz
guide=使用说明.txt

work=$(mktemp -d /tmp/dropedit_archives.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The checksums cover both archives and match them.
[ "$(awk '{ print $2 }' "$dist/SHA256SUMS" | sort | tr '\n' ' ')" = "$tar_name $zip_name " ] ||
  fail "SHA256SUMS lists $(awk '{ print $2 }' "$dist/SHA256SUMS" | tr '\n' ' ')"
(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "a checksum in SHA256SUMS does not match"

# Each archive holds the executable and the guide, nothing else.
[ "$(unzip -Z1 "$dist/$zip_name" | sort | tr '\n' ' ')" = "dropedit.exe $guide " ] ||
  fail "$zip_name holds: $(unzip -Z1 "$dist/$zip_name" | tr '\n' ' ')"
[ "$(tar -tzf "$dist/$tar_name" | sort | tr '\n' ' ')" = "dropedit $guide " ] ||
  fail "$tar_name holds: $(tar -tzf "$dist/$tar_name" | tr '\n' ' ')"
mkdir "$work/windows" "$work/linux"
unzip -q "$dist/$zip_name" -d "$work/windows"
tar -xzf "$dist/$tar_name" -C "$work/linux"
[ -x "$work/linux/dropedit" ] || fail "dropedit is not executable after unpacking $tar_name"
python3 - "$dist/$zip_name" "$guide" <<'PY' || fail "the guide's name in the zip is not flagged as UTF-8"
import sys, zipfile
info = zipfile.ZipFile(sys.argv[1]).getinfo(sys.argv[2])
sys.exit(0 if info.flag_bits & 0x800 else 1)
PY

# The guide: the same in both, readable in Notepad, and it says what a
# player must know.
cmp -s "$work/windows/$guide" "$work/linux/$guide" || fail "the two archives' guides differ"
python3 - "$work/windows/$guide" "$version" <<'PY' || fail "the guide is not what a player needs"
import sys
data = open(sys.argv[1], "rb").read()
faults = []
if not data.startswith(b"\xef\xbb\xbf"):
    faults.append("no UTF-8 byte order mark")
if data.count(b"\n") != data.count(b"\r\n") or data.count(b"\r") != data.count(b"\r\n"):
    faults.append("a line end that is not CR LF")
try:
    text = data[3:].decode("utf-8")
except UnicodeDecodeError as e:
    faults.append("not UTF-8: %s" % e)
    text = ""
for needed in ("653572248", "0.751", "0E000001", "0E000014", "0E000015", "PE_Client_Data",
               "dropedit-%s-windows-x86.zip" % sys.argv[2], "关闭", sys.argv[2]):
    if needed not in text:
        faults.append("it never says %s" % needed)
if "@" in text:
    faults.append("a placeholder is left in it")
for fault in faults:
    print("guide:", fault, file=sys.stderr)
sys.exit(1 if faults else 0)
PY

# The Windows executable: no debug sections, a GUI program, only DLLs that
# every Windows has (the C++ runtime is linked in), and its resources.
exe=$work/windows/dropedit.exe
objdump=i686-w64-mingw32-objdump
# Outputs are kept whole before grep reads them: a grep -q that stops early
# would fail the pipe under pipefail.
sections=$("$objdump" -h "$exe")
private=$("$objdump" -p "$exe")
! grep -qE ' \.debug|\.stab' <<<"$sections" || fail "dropedit.exe keeps debug sections"
grep -q 'Subsystem.*(Windows GUI)' <<<"$private" || fail "dropedit.exe is not a GUI program"
dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$private" | tr 'A-Z' 'a-z' | sort -u)
[ -n "$dlls" ] || fail "dropedit.exe imports no DLL at all (objdump read nothing?)"
for dll in $dlls; do
  case "$dll" in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | ole32.dll | winmm.dll | msvcrt.dll | \
      advapi32.dll | shell32.dll) ;;
    *) fail "dropedit.exe imports $dll, which is not a system DLL" ;;
  esac
done
python3 "$here/check_exe_resources.py" "$exe" "$version" "$top/app/dropedit.ico"

# The Linux executable: i386, no program interpreter and no dynamic section
# (so no library is looked for), no symbol table or debug sections.
elf=$work/linux/dropedit
header=$(readelf -h "$elf")
program=$(readelf -l "$elf")
dynamic=$(readelf -d "$elf")
section_list=$(readelf -S "$elf")
grep -q 'Class:\s*ELF32' <<<"$header" || fail "dropedit is not a 32-bit ELF file"
grep -q 'Machine:\s*Intel 80386' <<<"$header" || fail "dropedit is not an i386 program"
! grep -q INTERP <<<"$program" || fail "dropedit asks for a program interpreter"
grep -q 'no dynamic section' <<<"$dynamic" || fail "dropedit has a dynamic section"
! grep -qE '\.symtab|\.debug' <<<"$section_list" || fail "dropedit is not stripped"

echo "archives checked: $zip_name ($(stat -c %s "$dist/$zip_name") bytes), $tar_name ($(stat -c %s "$dist/$tar_name") bytes)"
