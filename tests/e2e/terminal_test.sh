#!/usr/bin/env bash
# The drop editor at a real terminal: a demo game installation with dropedit
# in it, run in a tmux pane (so the desk chooses its terminal front end), is
# used with the keyboard as a person would use it. The test reads the pane,
# checks the version label and the three values read from the game, types a
# new meat multiplier, moves to "确认修改" with Tab, presses Enter, answers
# "修改成功", closes the window with Escape, and then checks the exit code
# and the game file's database against what the apply must have written.
#
#   terminal_test.sh DROPEDIT MAKE_DEMO_GAME [rooted|rooted-builtin]
#
# With "rooted" (as root), dropedit runs in a chroot that holds no library:
# only the game, the test's own files, the terminal's terminfo entry and the
# C.UTF-8 locale, data files that a 64-bit system has as well. That is how
# the statically linked release is checked at a terminal. "rooted-builtin"
# leaves the terminfo entry out and runs as TERM=linux, which the
# static release must know by itself.
set -euo pipefail

dropedit=$1
make_demo_game=$2
rooted=${3:-}
for tool in tmux sqlite3 dd awk; do
  command -v "$tool" >/dev/null || { echo "terminal_test: $tool is missing (tools/setup.sh installs it)" >&2; exit 1; }
done

work=$(mktemp -d /tmp/dropedit_terminal.XXXXXX)
socket=dropedit_terminal_$$
tm() { tmux -L "$socket" -f /dev/null "$@"; }
cleanup() { tm kill-server 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

pane() { tm capture-pane -p -t run; }
fail() {
  echo "FAIL: $*" >&2
  echo "--- the pane ---" >&2
  pane >&2 2>/dev/null || true
  echo "--- the desk's log ---" >&2
  cat "$work/log.jsonl" >&2 2>/dev/null || true
  exit 1
}
# wait_for REGEX [what]: the pane shows a line matching REGEX within 15 s.
wait_for() {
  for _ in $(seq 300); do
    pane | grep -qE -- "$1" && return 0
    sleep 0.05
  done
  fail "the pane never showed ${2:-$1}"
}
wait_gone() {
  for _ in $(seq 300); do
    pane | grep -qE -- "$1" || return 0
    sleep 0.05
  done
  fail "the pane kept showing $1"
}
# The row (0-based) of the first pane line matching REGEX.
row_of() { pane | grep -nE -- "$1" | head -1 | cut -d: -f1 | awk '{ print $1 - 1 }'; }
cursor() { tm display -p -t run '#{cursor_flag} #{cursor_x} #{cursor_y}'; }

# The game's database slot: 2136068 bytes at 532160740.
game_file() { echo "$work/game/PE_Client_Data/resources.assets"; }
extract_slot() {
  dd if="$(game_file)" of="$1" bs=1M skip=532160740 count=2136068 \
     iflag=skip_bytes,count_bytes status=none
}
query() { sqlite3 -batch -noheader "$1" "$2"; }

"$make_demo_game" "$work/game" 600 >/dev/null
cp "$dropedit" "$work/game/dropedit"
extract_slot "$work/before.db"

# What the window must show: the multipliers from the first ai_data row
# (meat / 18 and item / 2, truncated) and the kettle amount, the second
# comma piece of the 385th skill row's _itemsGot.
meat_drop=$(query "$work/before.db" "SELECT meat_drop FROM ai_data ORDER BY rowid LIMIT 1;")
item_drop=$(query "$work/before.db" "SELECT item_drop FROM ai_data ORDER BY rowid LIMIT 1;")
items_got=$(query "$work/before.db" "SELECT _itemsGot FROM skill ORDER BY rowid LIMIT 1 OFFSET 384;")
meat=$(awk -v d="$meat_drop" 'BEGIN { split(d, p, ";"); print int(p[1] / 18) }')
item=$(awk -v d="$item_drop" 'BEGIN { split(d, p, ";"); print int(p[1] / 2) }')
kettle=$(awk -v d="$items_got" 'BEGIN { split(d, p, ","); print p[2] }')
[ "$meat" -gt 0 ] || fail "the demo game's meat multiplier is $meat; the test needs one above 0"
new_meat=$((meat + 3))

if [ -z "$rooted" ]; then
  tm new-session -d -s run -x 80 -y 24 \
    "cd '$work/game' && env -u DESK_SCRIPT DESK_LOG='$work/log.jsonl' LANG=C.UTF-8 ./dropedit; echo \$? > '$work/exit'; sleep 60"
else
  # The pane's own TERM decides which terminfo entry the root needs.
  cat > "$work/run.sh" <<RUN
mkdir -p "$work/usr/lib/locale"
cp -r /usr/lib/locale/C.utf8 "$work/usr/lib/locale/"
if [ "$rooted" = rooted-builtin ]; then
  TERM=linux
else
  entry=\$(find /etc/terminfo /lib/terminfo /usr/share/terminfo -name "\$TERM" -print -quit 2>/dev/null)
  mkdir -p "$work/usr/share/terminfo/\${TERM:0:1}"
  cp "\$entry" "$work/usr/share/terminfo/\${TERM:0:1}/"
fi
env -i TERM="\$TERM" LANG=C.UTF-8 DESK_LOG=/log.jsonl /usr/sbin/chroot "$work" /game/dropedit
echo \$? > "$work/exit"
sleep 60
RUN
  tm new-session -d -s run -x 80 -y 24 "bash '$work/run.sh'"
fi

wait_for "您当前使用的游戏版本为：" "the version text"
wait_for "0\.751（Steam）" "the version label"
wait_for "货币掉落 +\[ *$meat *\]" "the meat multiplier $meat"
wait_for "物品掉落 +\[ *$item *\]" "the item multiplier $item"
wait_for "水壶获取 +\[ *$kettle *\]" "the kettle amount $kettle"

# Tab until the caret is in the meat box (it may have the focus already).
meat_row=$(row_of "货币掉落")
for _ in $(seq 8); do
  read -r shown _ y < <(cursor)
  [ "$shown" = 1 ] && [ "$y" = "$meat_row" ] && break
  tm send-keys -t run Tab
  sleep 0.2
done
read -r shown _ y < <(cursor)
[ "$shown" = 1 ] && [ "$y" = "$meat_row" ] || fail "Tab never reached the meat box"

# Whatever is selected, End and six Backspaces empty a box of five.
tm send-keys -t run End BSpace BSpace BSpace BSpace BSpace BSpace
tm send-keys -t run -l "$new_meat"
wait_for "货币掉落 +\[ *$new_meat *\]" "the typed meat multiplier $new_meat"

for _ in $(seq 8); do
  pane | grep -q "\[>确认修改<\]" && break
  tm send-keys -t run Tab
  sleep 0.2
done
wait_for "\[>确认修改<\]" "the focus on 确认修改"
tm send-keys -t run Enter
wait_for "修改成功" "the success box"
tm send-keys -t run Enter
wait_gone "修改成功"
tm send-keys -t run Escape

for _ in $(seq 300); do
  [ -s "$work/exit" ] && break
  sleep 0.05
done
[ -s "$work/exit" ] || fail "the program did not end after Escape"
[ "$(cat "$work/exit")" = 0 ] || fail "the program ended with exit code $(cat "$work/exit")"

# The game file keeps its size; its slot holds the rescaled values.
[ "$(stat -c %s "$(game_file)")" = 653572248 ] || fail "the game file changed its size"
extract_slot "$work/after.db"
expected_meat=$(awk -v d="$meat_drop" -v m="$meat" -v n="$new_meat" \
  'BEGIN { split(d, p, ";"); printf "%.13g;%.13g", p[1] / m * n, p[2] / m * n }')
actual_meat=$(query "$work/after.db" "SELECT meat_drop FROM ai_data ORDER BY rowid LIMIT 1;")
[ "$actual_meat" = "$expected_meat" ] ||
  fail "the first meat_drop is $actual_meat, not $expected_meat"
actual_item=$(query "$work/after.db" "SELECT item_drop FROM ai_data ORDER BY rowid LIMIT 1;")
[ "$actual_item" = "$item_drop" ] ||
  fail "the first item_drop is $actual_item, not the unchanged $item_drop"
actual_kettle=$(query "$work/after.db" "SELECT _itemsGot FROM skill WHERE _id='10441';")
[ "$actual_kettle" = "0;40010028,$kettle" ] ||
  fail "the kettle row holds $actual_kettle, not 0;40010028,$kettle"
echo "terminal test passed: meat $meat -> $new_meat, first meat_drop $meat_drop -> $actual_meat"
