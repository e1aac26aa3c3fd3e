#!/usr/bin/env bash
# Builds the Linux target and starts the program on the desk.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" >/dev/null
exec build/linux/tests/programs/spine_program
