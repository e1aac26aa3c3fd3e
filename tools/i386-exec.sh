#!/usr/bin/env bash
# Makes sure this machine can run i386 programs, and says how it runs them.
#   i386-exec.sh ensure   registers qemu-user for i386 ELF files when the kernel
#                         runs no 32-bit code itself (needs root); silent when
#                         nothing had to be done
#   i386-exec.sh mode     prints "native" or "emulated"
#   i386-exec.sh emulate  registers qemu-user even where the kernel runs 32-bit
#                         code, so that every i386 program (tests, the bench's
#                         launcher choice) takes the emulated path (needs root)
#   i386-exec.sh unemulate  removes that registration again; refused where the
#                         kernel runs no 32-bit code, since nothing would run
# The probe is a tiny dynamically linked i386 program, so it also proves that
# the 32-bit loader and C library are there.
set -euo pipefail

handler=/proc/sys/fs/binfmt_misc/qemu-i386
qemu=/usr/bin/qemu-i386-static
# ELF class 32, little-endian, version 1, e_type 2 or 3 (so PIE matches), e_machine 3.
magic='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

# A registered and enabled handler takes i386 files before the kernel's own
# ELF loader, so then every i386 program runs under the emulator.
mode() {
  if [ -f "$handler" ] && head -n1 "$handler" | grep -qx enabled; then
    echo emulated
  else
    echo native
  fi
}

probe() {
  local dir
  dir=$(mktemp -d)
  printf 'int main(void) { return 0; }\n' >"$dir/probe.c"
  gcc -m32 -o "$dir/probe" "$dir/probe.c"
  local ok=0
  "$dir/probe" 2>/dev/null || ok=1
  rm -rf "$dir"
  return $ok
}

need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "$1: as root, this script installs qemu-user-static and registers it for i386 programs" >&2
    exit 1
  fi
}

register() {
  if [ ! -x "$qemu" ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq qemu-user-static >/dev/null
  fi
  if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  fi
  # F: the emulator is opened now, so it also serves programs inside chroots.
  printf ':qemu-i386:M::%s:%s:%s:F\n' "$magic" "$mask" "$qemu" >/proc/sys/fs/binfmt_misc/register
  if ! probe; then
    echo "registered $qemu for i386 programs, but the probe still does not run" >&2
    exit 1
  fi
}

unregister() {
  if [ -e "$handler" ]; then
    echo -1 >"$handler"
  fi
}

ensure() {
  if probe; then
    return 0
  fi
  if [ -e "$handler" ]; then
    echo "i386 programs do not run, although an i386 handler is registered ($handler); fix or remove it" >&2
    exit 1
  fi
  need_root "this kernel runs no 32-bit code"
  register
  echo "this kernel runs no 32-bit code: registered $qemu for i386 programs (binfmt_misc), so they run under user-mode emulation"
}

emulate() {
  [ "$(mode)" = emulated ] && { echo "i386 programs already run under $qemu"; return 0; }
  need_root "to take the emulated path"
  unregister
  register
  echo "registered $qemu for i386 programs: they run under user-mode emulation until 'i386-exec.sh unemulate'"
}

unemulate() {
  [ -e "$handler" ] || { echo "no i386 handler is registered: i386 programs run natively"; return 0; }
  need_root "to remove the i386 handler"
  echo 0 >"$handler"
  if ! probe; then
    echo 1 >"$handler"
    echo "this kernel runs no 32-bit code: the i386 handler stays registered" >&2
    exit 1
  fi
  unregister
  echo "removed the i386 handler: i386 programs run natively"
}

case "${1:-}" in
  ensure) ensure ;;
  mode) mode ;;
  emulate) emulate ;;
  unemulate) unemulate ;;
  *) echo "usage: $0 ensure|mode|emulate|unemulate" >&2; exit 2 ;;
esac
