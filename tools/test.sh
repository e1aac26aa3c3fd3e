#!/usr/bin/env bash
# Builds both targets and the sanitizer build, runs every test, then the
# short fuzz pass (its own build, the fuzz preset).
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

# The fuzz targets, about 30 s each from their committed corpora; a finding fails.
bash tools/fuzz.sh short
