#!/usr/bin/env bash
# The Windows bench: an i386 Debian root with Wine, an X server, xdotool, a
# CJK font and the Chinese and English locales, built once per machine and
# kept in ~/.cache/dropedit/winbench (WINBENCH_CACHE moves it), so that every
# clone on the machine, CI's among them, shares it; and a command run inside it.
#
#   winbench.sh build                      builds the root (and its VM images)
#   winbench.sh run HOSTDIR -- COMMAND...  runs COMMAND in the root, in
#                                          /mnt/host = HOSTDIR (read-write),
#                                          DISPLAY set, a fresh Wine prefix
#                                          whose code page follows LANG
#                                          (default zh_CN.UTF-8: 936)
#   winbench.sh mode                       prints chroot or vm
#   winbench.sh cache                      prints the folder the root is kept in
#
# Where the kernel runs 32-bit code the root is entered as a chroot; where it
# does not, the same root boots as a qemu-system-i386 machine (Wine under
# user-mode emulation is not reliable). The exit code is COMMAND's; 125 means
# the bench itself failed, 124 that the job ran out of time
# (WINBENCH_TIMEOUT, seconds, default 2400).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(dirname "$here")
if [ -n "${WINBENCH_CACHE:-}" ]; then
  cache=$WINBENCH_CACHE
elif [ -n "${XDG_CACHE_HOME:-}${HOME:-}" ]; then
  cache=${XDG_CACHE_HOME:-$HOME/.cache}/dropedit/winbench
else
  cache=$repo/build/winbench
fi
root=$cache/root
guest=$here/winbench
suite=bookworm
# Raise when the way the root is made changes, so old roots are rebuilt.
recipe=1

say() { echo "winbench: $*" >&2; }
die() { say "$*"; exit 125; }

mode() {
  if [ "$(bash "$here/i386-exec.sh" mode)" = native ]; then echo chroot; else echo vm; fi
}

# The Debian mirror this machine's apt already uses.
mirror() {
  local uri
  uri=$(grep -hsE '^(URIs:|deb )' /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null |
    grep -v security | head -n1 | sed -E 's/^URIs: *//; s/^deb (\[[^]]*\] )?//; s/ .*//')
  echo "${uri:-http://deb.debian.org/debian}"
}

stamp_text() {
  echo "recipe $recipe"
  cat "$guest/packages.txt" "$guest/guest-init.sh"
}

host_packages() {
  local need=(debootstrap e2fsprogs)
  [ "$(mode)" = vm ] && need+=(qemu-system-x86)
  local missing=()
  for p in "${need[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  [ "$(id -u)" -eq 0 ] || die "the bench needs ${missing[*]}: run as root to install them"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null ||
    die "cannot install ${missing[*]}"
}

# Mounts the kernel's file systems into a chroot; undone by unmount_chroot.
mount_chroot() {
  local r=$1
  mount -t proc proc "$r/proc"
  mount --rbind /sys "$r/sys"
  mount --rbind /dev "$r/dev"
}

unmount_chroot() {
  local r=$1
  for m in "$r/mnt/host" "$r/bench-io" "$r/dev" "$r/sys" "$r/proc"; do
    mountpoint -q "$m" 2>/dev/null && umount -l "$m"
  done
  return 0
}

build_root() {
  local tmp=$cache/root.tmp
  rm -rf "$tmp"
  mkdir -p "$cache"
  local t0=$SECONDS
  say "making the i386 root (debootstrap $suite, about 3 to 10 minutes)"
  debootstrap --arch=i386 --variant=minbase "$suite" "$tmp" "$(mirror)" >"$cache/debootstrap.log" 2>&1 ||
    { tail -n 20 "$cache/debootstrap.log" >&2; die "debootstrap failed (log: $cache/debootstrap.log)"; }
  say "root made in $((SECONDS - t0)) s; installing Wine, X and fonts"

  # A small initramfs: the default one copies thousands of modules, each by
  # an emulated process.
  mkdir -p "$tmp/etc/initramfs-tools/conf.d"
  echo "MODULES=list" >"$tmp/etc/initramfs-tools/conf.d/bench"
  printf '%s\n' virtio_pci virtio_blk ext4 9pnet_virtio 9p >>"$tmp/etc/initramfs-tools/modules"
  printf 'zh_CN.UTF-8 UTF-8\nen_US.UTF-8 UTF-8\n' >"$tmp/etc/locale.gen"
  echo winbench >"$tmp/etc/hostname"
  printf '127.0.0.1 localhost\n127.0.1.1 winbench\n' >"$tmp/etc/hosts"
  grep -v '^#' "$guest/packages.txt" | grep . >"$tmp/root/packages.txt"

  mount_chroot "$tmp"
  trap 'unmount_chroot "$tmp"' EXIT
  local ok=1
  chroot "$tmp" /bin/sh -c '
      export DEBIAN_FRONTEND=noninteractive
      apt-get update -qq &&
      xargs -a /root/packages.txt apt-get install -y -qq --no-install-recommends &&
      locale-gen &&
      apt-get clean' >"$cache/packages.log" 2>&1 || ok=0
  unmount_chroot "$tmp"
  trap - EXIT
  [ $ok -eq 1 ] || { tail -n 20 "$cache/packages.log" >&2; die "installing the bench's packages failed (log: $cache/packages.log)"; }

  mkdir -p "$tmp/bench" "$tmp/bench-io" "$tmp/mnt/host"
  install -m 755 "$guest/guest-init.sh" "$tmp/bench/init.sh"
  rm -rf "$root" "$cache/root.img"
  mv "$tmp" "$root"
  say "packages installed in $((SECONDS - t0)) s in all"
}

build_image() {
  local t0=$SECONDS
  cp "$(ls "$root"/boot/vmlinuz-* | head -n1)" "$cache/vmlinuz"
  cp "$(ls "$root"/boot/initrd.img-* | head -n1)" "$cache/initrd.img"
  rm -f "$cache/root.img.tmp"
  mkfs.ext4 -q -F -d "$root" -L benchroot "$cache/root.img.tmp" 2G >/dev/null ||
    die "cannot make the VM's disk image"
  mv "$cache/root.img.tmp" "$cache/root.img"
  say "VM disk image made in $((SECONDS - t0)) s"
}

build() {
  host_packages
  bash "$here/i386-exec.sh" ensure >&2
  mkdir -p "$cache"
  exec 9>"$cache/lock"
  flock 9
  if [ ! -d "$root" ] || ! cmp -s <(stamp_text) "$cache/root.stamp"; then
    build_root
    stamp_text >"$cache/root.stamp"
  fi
  if [ "$(mode)" = vm ] && { [ ! -f "$cache/root.img" ] || [ "$cache/root.img" -ot "$cache/root.stamp" ]; }; then
    build_image
  fi
  flock -u 9
}

# Fills a job folder: the guest's job script, the command and its settings.
prepare_io() {
  local io=$1
  shift
  mkdir -p "$io"
  install -m 755 "$guest/guest-job.sh" "$io/job.sh"
  printf '%q ' "$@" >"$io/cmd"
  printf 'LANG=%q\n' "${LANG_FOR_JOB}" >"$io/env"
  echo "${WINBENCH_TIMEOUT:-2400}" >"$io/timeout"
  : >"$io/out"
  rm -f "$io/rc"
}

run_chroot() {
  local hostdir=$1 io=$2
  exec 9>"$cache/lock"
  flock 9
  mount_chroot "$root"
  trap 'unmount_chroot "$root"' EXIT
  mount --bind "$hostdir" "$root/mnt/host"
  mount --bind "$io" "$root/bench-io"
  local rc=0
  timeout "${WINBENCH_TIMEOUT:-2400}" chroot "$root" /usr/bin/env -i /bin/bash /bench-io/job.sh 2>&1 || rc=$?
  unmount_chroot "$root"
  trap - EXIT
  rm -rf "$root/tmp/"* "$root/tmp/".X* 2>/dev/null || true
  return $rc
}

run_vm() {
  local hostdir=$1 io=$2
  local limit=${WINBENCH_TIMEOUT:-2400}
  # The root disk is a snapshot: every job starts from the same root.
  timeout $((limit + 120)) qemu-system-i386 -accel tcg,thread=multi -M pc -m 2048 -smp 2 \
    -display none -monitor none -serial "file:$io/console.log" -no-reboot \
    -kernel "$cache/vmlinuz" -initrd "$cache/initrd.img" \
    -drive "file=$cache/root.img,format=raw,if=virtio,snapshot=on" \
    -virtfs "local,path=$io,mount_tag=benchio,security_model=passthrough,id=benchio" \
    -virtfs "local,path=$hostdir,mount_tag=host,security_model=passthrough,id=host" \
    -append "root=/dev/vda rw console=ttyS0 quiet init=/bench/init.sh panic=5" &
  local vm=$!
  tail -n +1 -f "$io/out" --pid=$vm &
  local tailer=$!
  local rc=0
  wait $vm || rc=$?
  sleep 0.5
  kill $tailer 2>/dev/null || true
  wait $tailer 2>/dev/null || true
  if [ -f "$io/rc" ]; then
    return "$(cat "$io/rc")"
  fi
  if [ $rc -eq 124 ] || grep -q "took longer than" "$io/out"; then
    say "the job ran out of time (${limit} s)"
    return 124
  fi
  say "the virtual machine ended without a result (exit $rc); its console:"
  tail -n 30 "$io/console.log" >&2
  return 125
}

run() {
  local hostdir=${1:-}
  [ -n "$hostdir" ] && [ -d "$hostdir" ] || { echo "usage: $0 run HOSTDIR -- COMMAND..." >&2; exit 2; }
  shift
  [ "${1:-}" = "--" ] && shift
  [ $# -gt 0 ] || { echo "usage: $0 run HOSTDIR -- COMMAND..." >&2; exit 2; }
  hostdir=$(cd "$hostdir" && pwd)
  build
  LANG_FOR_JOB=${LANG:-zh_CN.UTF-8}
  case $LANG_FOR_JOB in C | C.* | POSIX | "") LANG_FOR_JOB=zh_CN.UTF-8 ;; esac
  local io
  io=$(mktemp -d "$cache/job.XXXXXX")
  prepare_io "$io" "$@"
  local rc=0
  if [ "$(mode)" = chroot ]; then
    run_chroot "$hostdir" "$io" || rc=$?
  else
    run_vm "$hostdir" "$io" || rc=$?
  fi
  if [ $rc -ne 0 ] && [ -n "${WINBENCH_KEEP:-}" ]; then
    say "job folder kept: $io"
  else
    rm -rf "$io"
  fi
  return $rc
}

case "${1:-}" in
  build) build ;;
  run) shift; run "$@" ;;
  mode) mode ;;
  cache) echo "$cache" ;;
  *) echo "usage: $0 build | run HOSTDIR -- COMMAND... | mode | cache" >&2; exit 2 ;;
esac
