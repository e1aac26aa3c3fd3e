#!/usr/bin/env bash
# The desk's rooms keep to their includes. A room is a folder under
# platform/desk/ with a README.md; its README's `Includes:` line lists, each
# in backticks, what the room's files may include of the project's headers:
#   `kernel32/`         any header directly in platform/desk/kernel32/
#   `user32/user32.h`   that one header of a room
#   `platform/win32.h`  an include written exactly so
# Besides that list, a file may include the headers of its own room and of
# the rooms nested in it, and a nested room (frontends/script/) may include
# whatever the rooms around it list. Every quoted include is checked, and any
# angled one that names platform/; system headers are not the rooms' business.
# Prints one line per include that breaks a rule and fails if there is any,
# or if a room's README has no `Includes:` line.
#   tools/check_desk_includes.sh [SOURCE_ROOT]
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"
desk=platform/desk
[ -d "$desk" ] || { echo "check_desk_includes: $desk not found under $root" >&2; exit 2; }

# Each room's own list, from its README.
declare -A listed
rooms=()
while IFS= read -r readme; do
  room=${readme#"$desk/"}
  room=${room%/README.md}
  line=$(grep -m1 '^Includes:' "$readme" || true)
  if [ -z "$line" ]; then
    echo "$readme: no 'Includes:' line says what $room/ may include" >&2
    exit 2
  fi
  listed[$room]=$(grep -o '`[^`]*`' <<<"$line" | tr -d '`' | tr '\n' ' ')
  rooms+=("$room")
done < <(find "$desk" -mindepth 2 -name README.md | sort)

failures=0

# allowed ROOM TARGET: whether a file of ROOM may include TARGET.
allowed() {
  local room=$1 target=$2 outer entry rel
  if [[ $target == "$desk/"* ]]; then
    rel=${target#"$desk/"}
    [[ $rel == "$room/"* ]] && return 0
  fi
  outer=$room
  while :; do
    for entry in ${listed[$outer]:-}; do
      if [[ $entry == */ ]]; then
        [[ -n ${rel:-} && ${rel%/*}/ == "$entry" ]] && return 0
      elif [ -d "$desk/${entry%%/*}" ] && [[ $entry == */* ]]; then
        [[ ${rel:-} == "$entry" ]] && return 0
      else
        [[ $target == "$entry" ]] && return 0
      fi
    done
    [[ $outer == */* ]] || return 1
    outer=${outer%/*}
  done
}

# The deepest room that holds a file.
room_of() {
  local dir=${1%/*}
  while [ "$dir" != "$desk" ]; do
    [ -f "$dir/README.md" ] && { echo "${dir#"$desk/"}"; return; }
    dir=${dir%/*}
  done
}

include_re='^[[:space:]]*#[[:space:]]*include[[:space:]]*("[^"]*"|<platform/[^>]*>)'
for room in "${rooms[@]}"; do
  while IFS= read -r file; do
    [ "$(room_of "$file")" = "$room" ] || continue
    while IFS=: read -r line text; do
      [[ $text =~ $include_re ]] || continue
      target=${BASH_REMATCH[1]:1:${#BASH_REMATCH[1]}-2}
      allowed "$room" "$target" && continue
      echo "$file:$line: ${text#"${text%%[![:space:]]*}"} -- $room/ may not include it ($desk/$room/README.md)"
      failures=$((failures + 1))
    done < <(grep -nE "$include_re" "$file" || true)
  done < <(find "$desk/$room" -name '*.h' -o -name '*.cpp' | sort)
done

if [ "$failures" -gt 0 ]; then
  echo "check_desk_includes: $failures include(s) break the desk's rooms" >&2
  exit 1
fi
echo "check_desk_includes: ${#rooms[@]} rooms keep to their includes"
