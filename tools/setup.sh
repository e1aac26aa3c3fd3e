#!/usr/bin/env bash
# Installs the Debian packages the build needs when they are missing (as root),
# so that a fresh machine needs nothing else, and makes i386 programs run where
# the kernel runs no 32-bit code.
#   tools/setup.sh [PACKAGE...]   also the packages named (for one script's own
#                                 tools, such as the fuzz build's compiler)
set -euo pipefail

packages=(g++-multilib g++-mingw-w64-i686 cmake googletest lib32ncurses-dev tmux sqlite3 ccache "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages: ${missing[*]} (run as root to install them)" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" </dev/null >/dev/null
fi

bash "$(dirname "$0")/i386-exec.sh" ensure
