#!/usr/bin/env bash
# Builds the wide-character ncurses as one static i686 archive for the static
# Linux dropedit, from Debian's own source package of the version the system
# has, into build/ncursesw-static (include/ncursesw/*.h, lib/libncursesw.a).
#
# Why not Debian's lib32ncurses-dev archives: their libtinfo.a is the narrow
# terminal database library, which the wide libncursesw.a cannot read its
# records with (newterm crashes). Built here, the terminal database reader
# is inside libncursesw.a, looks in the usual terminfo folders at run time,
# and carries xterm-256color and linux built in for a system that has none.
#
#   tools/static-ncurses.sh        prints the folder; builds it when missing
#                                  or when this recipe has changed (as root
#                                  the first time: it may install dpkg-dev and
#                                  add a Debian source entry to apt)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(pwd)/build/ncursesw-static
recipe=$(sha256sum "$0" | cut -c1-16)
if [ -f "$out/lib/libncursesw.a" ] && [ "$(cat "$out/recipe" 2>/dev/null)" = "$recipe" ]; then
  echo "$out"
  exit 0
fi
say() { echo "static-ncurses: $*" >&2; }
need_root() {
  [ "$(id -u)" = 0 ] || { say "$1 (run as root once)"; exit 1; }
}

export DEBIAN_FRONTEND=noninteractive
if ! command -v dpkg-source >/dev/null; then
  need_root "dpkg-dev is missing"
  apt-get install -y -qq dpkg-dev >/dev/null
fi

work=$out.work
rm -rf "$out" "$work"
mkdir -p "$work"
cd "$work"
if ! apt-get source --download-only -qq ncurses >/dev/null 2>&1; then
  # No source entry yet: one for the Debian archive the system installs from.
  need_root "apt has no Debian source entry for ncurses"
  # shellcheck disable=SC1091
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  uri=$(cat /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null |
        sed -nE '/security/d; s/^URIs: *([^ ]+).*/\1/p; s/^deb +(\[[^]]*\] +)?([^ ]+).*/\2/p' | sed -n 1p || true)
  [ -n "$uri" ] && [ -n "$codename" ] || { say "cannot tell which Debian archive apt uses"; exit 1; }
  printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$uri" "$codename" > /etc/apt/sources.list.d/dropedit-sources.sources
  say "added a source entry for $uri $codename"
  apt-get update -qq
  apt-get source --download-only -qq ncurses >/dev/null
fi
# The Debian patches are applied: the library is the system's own version.
dpkg-source -x --no-check ./*.dsc src >/dev/null
cd src

say "building the static wide-character ncurses"
# Cross from the build machine, so that the generators ncurses builds and runs
# during its build are native programs (i686 ones may run under emulation).
nice ./configure --build="$(gcc -dumpmachine)" --host=i686-pc-linux-gnu \
  CC="gcc -m32" BUILD_CC=gcc CFLAGS="-O2" --prefix="$out" \
  --without-shared --without-debug --without-profile --without-cxx --without-cxx-binding \
  --without-ada --without-progs --without-tests --without-manpages --without-gpm \
  --enable-widec --disable-db-install --disable-home-terminfo --enable-pc-files=no \
  --with-terminfo-dirs=/etc/terminfo:/lib/terminfo:/usr/share/terminfo \
  --with-default-terminfo-dir=/usr/share/terminfo \
  --with-fallbacks=xterm-256color,linux >"$work/configure.log" 2>&1 ||
  { say "configure failed (see $work/configure.log)"; exit 1; }
nice make -j "$(nproc)" -C include >"$work/make.log" 2>&1 &&
  nice make -j "$(nproc)" -C ncurses libs >>"$work/make.log" 2>&1 &&
  make -C include install >>"$work/make.log" 2>&1 &&
  make -C ncurses install.libs >>"$work/make.log" 2>&1 ||
  { say "the build failed (see $work/make.log)"; exit 1; }

echo "$recipe" > "$out/recipe"
rm -rf "$work"
echo "$out"
