#!/bin/bash
# Runs one job inside the bench's root, under either launcher: an X server,
# a fresh Wine prefix whose code page follows LANG, then the job's command in
# /mnt/host. Its exit code is the command's.
set -u
io=/bench-io
. "$io/env"
export LANG LC_ALL="$LANG" HOME=/root PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin
export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX=/tmp/wineprefix

say() { echo "winbench: $*" >&2; }

# Wine asks the resolver for the host's own name at start.
grep -q winbench /etc/hosts 2>/dev/null || echo "127.0.1.1 winbench" >>/etc/hosts

# Xvfb takes the first display no other X server here holds and names it on
# fd 3 once it accepts clients: chroot jobs share the host's abstract socket
# names, so a fixed display would make two jobs on one machine collide.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>/tmp/xvfb.display >/tmp/xvfb.log 2>&1 &
xvfb=$!
for _ in $(seq 150); do
  [ -s /tmp/xvfb.display ] && break
  kill -0 "$xvfb" 2>/dev/null || break
  sleep 0.2
done
display=$(head -n1 /tmp/xvfb.display 2>/dev/null)
if [ -z "$display" ]; then
  say "the X server did not start"; cat /tmp/xvfb.log >&2; exit 125
fi
export DISPLAY=:$display

rm -rf "$WINEPREFIX"
start=$(date +%s)
if ! timeout 600 wineboot --init >/tmp/wineboot.log 2>&1; then
  say "wineboot failed after $(( $(date +%s) - start )) s"; cat /tmp/wineboot.log >&2; ps ax >&2; exit 125
fi
timeout 120 wineserver -w
# Then one wineserver for the whole job, so every program finds it ready.
wineserver -p
say "prefix ready in $(( $(date +%s) - start )) s (LANG=$LANG)"

cd /mnt/host
eval "set -- $(cat "$io/cmd")"
"$@"
rc=$?
wineserver -k 2>/dev/null
kill "$xvfb" 2>/dev/null
exit $rc
