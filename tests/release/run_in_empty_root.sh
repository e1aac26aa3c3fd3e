#!/usr/bin/env bash
# The Linux release executable on a system with no 32-bit libraries at all:
# a root folder that holds nothing but a demo game installation with
# dropedit in it. dropedit is run there with chroot (i386 code runs through
# binfmt_misc, whose interpreter is opened at registration and so serves a
# chroot too), under the desk's scripted user: it must start, show the values
# read from the game, apply a new meat multiplier, write the game file and
# end with exit code 0. Any library it looked for would not be there.
#
#   run_in_empty_root.sh DROPEDIT MAKE_DEMO_GAME   (as root)
set -euo pipefail
dropedit=$1
make_demo_game=$2
[ "$(id -u)" = 0 ] || { echo "run_in_empty_root: needs root for chroot" >&2; exit 1; }

work=$(mktemp -d /tmp/dropedit_root.XXXXXX)
trap 'rm -rf "$work"' EXIT
root=$work/root
fail() {
  echo "FAIL: $*" >&2
  echo "--- the desk's log ---" >&2
  cat "$root/game/log.jsonl" >&2 2>/dev/null || true
  exit 1
}
game=$root/game
slot() { dd if="$game/PE_Client_Data/resources.assets" of="$1" bs=1M skip=532160740 count=2136068 \
           iflag=skip_bytes,count_bytes status=none; }
query() { sqlite3 -batch -noheader "$1" "$2"; }

"$make_demo_game" "$game" 600 >/dev/null
cp "$dropedit" "$game/dropedit"
slot "$work/before.db"
meat_drop=$(query "$work/before.db" "SELECT meat_drop FROM ai_data ORDER BY rowid LIMIT 1;")
printf 'dump\nclear 100\ntype 100 3\nclick 160\nanswer OK\n' > "$game/script.txt"
# No folder but the game's: no lib, no etc, no usr, no proc.
[ "$(cd "$root" && find . -mindepth 1 -type d | sort | tr '\n' ' ')" = "./game ./game/PE_Client_Data " ] ||
  fail "the root is not empty: $(cd "$root" && find . -mindepth 1 -type d | tr '\n' ' ')"

status=0
env -i DESK_SCRIPT=/game/script.txt DESK_LOG=/game/log.jsonl /usr/sbin/chroot "$root" /game/dropedit \
  >"$work/output" 2>&1 || status=$?
[ "$status" = 0 ] || fail "dropedit ended with exit code $status: $(cat "$work/output")"

log=$game/log.jsonl
grep -qF '"event":"show","title":"Quillmarsh--怪物掉落修改"' "$log" || fail "the main window was never shown"
grep -qF '"text":"0.751（Steam）"' "$log" || fail "the version label was not shown"
grep -qF '"id":100,"class":"EDIT","text":"2"' "$log" || fail "the meat multiplier read is not 2"
grep -qF '"title":"恭喜","text":"修改成功"' "$log" || fail "the apply did not report success"
[ "$(tail -1 "$log")" = '{"event":"exit","code":0}' ] || fail "the log does not end with exit code 0"

slot "$work/after.db"
expected=$(awk -v d="$meat_drop" 'BEGIN { split(d, p, ";"); printf "%.13g;%.13g", p[1] / 2 * 3, p[2] / 2 * 3 }')
actual=$(query "$work/after.db" "SELECT meat_drop FROM ai_data ORDER BY rowid LIMIT 1;")
[ "$actual" = "$expected" ] || fail "the first meat_drop is $actual, not $expected (was $meat_drop)"
echo "empty root: dropedit started, applied meat 2 -> 3 ($meat_drop -> $actual) and ended with 0"
