#!/usr/bin/env bash
# Builds the Linux target, makes a demo game installation under build/ (once;
# it keeps what you applied to it), puts dropedit into its folder and starts
# it there, as a player would after dropping it into the game's folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" >/dev/null
demo=build/demo-game
if [ ! -f "$demo/PE_Client_Data/resources.assets" ]; then
  build/linux/tools/make_demo_game "$demo" 600 1 >/dev/null
fi
cp build/linux/app/dropedit "$demo/dropedit"
exec "$demo/dropedit"
