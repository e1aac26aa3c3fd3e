#!/usr/bin/env bash
# The desk's rooms keep to their includes (platform/desk/README.md):
#  - a front end (frontends/) sees of the window manager only its public
#    header, user32/user32.h, never the window manager's internals;
#  - nothing below the front ends includes them: the window manager reaches
#    its user through the FrontEnd interface it declares itself.
# Prints one line per include that breaks a rule and fails if there is any.
#   tools/check_desk_includes.sh [SOURCE_ROOT]
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"
desk=platform/desk
public=$desk/user32/user32.h
[ -f "$public" ] || { echo "check_desk_includes: $public not found under $root" >&2; exit 2; }

failures=0
# report FILE:LINE:TEXT RULE
report() {
  local file=${1%%:*} rest=${1#*:}
  local line=${rest%%:*} text=${rest#*:}
  echo "$file:$line: ${text#"${text%%[![:space:]]*}"} -- $2"
  failures=$((failures + 1))
}

# Any include that names a file in user32/, whatever its spelling.
while IFS= read -r hit; do
  case $hit in
    *\"$public\"*) ;;
    *) report "$hit" "a front end may include only $public of the window manager" ;;
  esac
done < <(grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<][^">]*user32/' "$desk/frontends" || true)

# Every room but the front ends' own, so that a new room is checked too.
for room in "$desk"/*/; do
  room=$(basename "$room")
  [ "$room" = frontends ] && continue
  while IFS= read -r hit; do
    report "$hit" "$room/ lies below the front ends and may not include them"
  done < <(grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<][^">]*frontends/' "$desk/$room" || true)
done

if [ "$failures" -gt 0 ]; then
  echo "check_desk_includes: $failures include(s) break the desk's rooms" >&2
  exit 1
fi
echo "check_desk_includes: the desk's rooms keep to their includes"
