#!/usr/bin/env bash
# Builds both targets and the sanitizer build, then runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh

jobs=$(nproc)
for preset in linux windows asan; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

ctest --preset linux -j "$jobs"

# LeakSanitizer hangs under user-mode emulation, even on an empty program.
if [ "$(bash tools/i386-exec.sh mode)" = emulated ]; then
  echo "i386 code runs under emulation here: the sanitizer build's tests run without leak detection"
  export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
fi
ctest --preset asan -j "$jobs"
