#!/usr/bin/env bash
# Builds both targets and the sanitizer build, then runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh

jobs=$(nproc)
# Debug information names the folder it was compiled in; not keying ccache
# on it lets the release build reuse the preset's objects (tools/release.sh).
export CCACHE_NOHASHDIR=true
# Paths inside the checkout are hashed relative to it, so that another clone
# of the same commit on this machine (CI's, in a fresh folder) is served too.
export CCACHE_BASEDIR=$PWD
for preset in linux windows asan; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

ctest --preset linux -j "$jobs"

. tools/sanitizer-env.sh
ctest --preset asan -j "$jobs"

# Every fuzz target about 30 s from its committed corpus; a finding fails.
bash tools/fuzz.sh short

# The release archives, made as a player gets them, and checked: their
# contents, the executables' form and resources, and the Linux executable
# run in an empty root.
bash tools/release.sh
bash tests/release/check_archives.sh dist
# Anyone can check a release against its source: the same commit built again
# in another folder (later, with a fresh build tree) gives the same bytes.
# ccache serves the second build, as it keys on neither folder.
start=$SECONDS
bash tools/release.sh build/release-again >/dev/null
for file in SHA256SUMS $(awk '{ print $2 }' dist/SHA256SUMS); do
  cmp "dist/$file" "build/release-again/dist/$file" ||
    { echo "FAIL: $file differs between two builds of one commit" >&2; exit 1; }
done
cmp build/release-stage/windows/dropedit.exe build/release-again/release-stage/windows/dropedit.exe
cmp build/release-stage/linux/dropedit build/release-again/release-stage/linux/dropedit
echo "release rebuilt in another folder: the same bytes ($((SECONDS - start)) s)"
tar -xzOf dist/dropedit-*-linux-i686.tar.gz dropedit \
  > build/release-stage/unpacked-dropedit
chmod 755 build/release-stage/unpacked-dropedit
bash tests/release/run_in_empty_root.sh build/release-stage/unpacked-dropedit build/linux/tools/make_demo_game
# At a terminal, in a root that holds only the terminal's data files, and
# in one without a terminfo entry.
for root in rooted rooted-builtin; do
  bash tests/e2e/terminal_test.sh build/release-stage/unpacked-dropedit build/linux/tools/make_demo_game "$root"
done

# dropedit.exe on the Windows bench (Wine), under code pages 936 and 1252.
bash tools/windows-test.sh

# The runtime's unit tests as Windows programs, on the same bench, under
# both code pages.
bash tools/windows-unit-tests.sh
