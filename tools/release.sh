#!/usr/bin/env bash
# Makes what a player downloads, from a clean build in build/release-*:
#   dist/dropedit-VERSION-windows-x86.zip   dropedit.exe (stripped) + 使用说明.txt
#   dist/dropedit-VERSION-linux-i686.tar.gz dropedit (static, stripped) + 使用说明.txt
#   dist/SHA256SUMS
# VERSION is project(VERSION) in CMakeLists.txt. Files in the archives are
# dated with the commit's time, not the build's.
#
#   release.sh [OUT]   builds in OUT/release-* and packs into OUT/dist
#                      instead of build/release-* and dist/
#
# The same commit gives the same bytes in any folder and at any time: the
# compiler is told to write the build and source folders as relative names,
# the PE header's time stamp is the commit's time (the linker leaves it at
# zero, strip writes SOURCE_DATE_EPOCH), and the archives are dated with the
# commit. tools/test.sh builds the release a
# second time in another folder and compares.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
out=${1:-}
if [ -n "$out" ]; then
  mkdir -p "$out"
  out=$(cd "$out" && pwd)
  build_windows=$out/release-windows build_linux=$out/release-linux
  stage=$out/release-stage dist=$out/dist
else
  build_windows=build/release-windows build_linux=build/release-linux
  stage=build/release-stage dist=dist
fi

version=$(sed -n 's/^project(dropedit VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release: no project(dropedit VERSION ...) in CMakeLists.txt" >&2; exit 1; }
stamp=$(git log -1 --format=%ct 2>/dev/null || echo 0)
# The tools that would write today's date (strip, rewriting the PE header)
# write the commit's time instead.
export SOURCE_DATE_EPOCH=$stamp
jobs=$(nproc)

# Clean builds of the executable alone (no tests, no tools but the ones the
# build itself runs). The compiler flags and folder depth are those of the
# presets, so ccache serves what a preset build has compiled already; the
# Linux build keeps the preset's debug information until it is stripped,
# and ccache is told not to key on the build folder for it.
export CCACHE_NOHASHDIR=true
rm -rf "$build_windows" "$build_linux" "$stage"
cmake -S . -B "$build_windows" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_windows" --target dropedit -j "$jobs"
ncursesw=$(bash tools/static-ncurses.sh)
cmake -S . -B "$build_linux" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDROPEDIT_STATIC=ON \
  -DDESK_NCURSESW_STATIC_DIR="$ncursesw" >/dev/null
cmake --build "$build_linux" --target dropedit -j "$jobs"

mkdir -p "$stage/windows" "$stage/linux"
i686-w64-mingw32-strip -o "$stage/windows/dropedit.exe" "$build_windows/app/dropedit.exe"
strip -o "$stage/linux/dropedit" "$build_linux/app/dropedit"
chmod 755 "$stage/linux/dropedit"

# The guide is kept in the tree as plain UTF-8; Notepad wants a byte order
# mark to read it as UTF-8 and shows CR LF line ends best.
guide=使用说明.txt
for target in windows linux; do
  { printf '\xEF\xBB\xBF'; sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "release/$guide"; } \
    > "$stage/$target/$guide"
done

mkdir -p "$dist"
zip_name=dropedit-$version-windows-x86.zip
tar_name=dropedit-$version-linux-i686.tar.gz
rm -f "$dist/$zip_name" "$dist/$tar_name" "$dist/SHA256SUMS"
python3 tools/pack_release.py zip "$dist/$zip_name" "$stage/windows" "$stamp"
python3 tools/pack_release.py tar.gz "$dist/$tar_name" "$stage/linux" "$stamp"
(cd "$dist" && sha256sum "$zip_name" "$tar_name" > SHA256SUMS)
ls -l "$dist/$zip_name" "$dist/$tar_name" "$dist/SHA256SUMS"
