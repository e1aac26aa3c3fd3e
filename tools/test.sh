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
ctest --preset asan -j "$jobs"
