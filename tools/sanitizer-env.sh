# Sourced by the scripts that run sanitizer builds (tools/test.sh,
# tools/fuzz.sh): where i386 code runs under qemu-user, it sets what those
# builds need there and says so in one line.
#  - LeakSanitizer hangs under user-mode emulation, even on an empty program.
#  - qemu-user hands an i386 guest the whole 4 GB, so large mmap blocks can
#    land above 0xc0000000. AddressSanitizer sees an i686 kernel and keeps
#    its shadow for the 3 GB such a kernel gives a process; a block above it
#    fails the allocator's own checks. The guest is capped one page short
#    of 3 GB, the space a 32-bit kernel gives: there the stack holds the top
#    page, and ASan fails the same checks on a block that ends at 3 GB.
if [ "$(bash "$(dirname "${BASH_SOURCE[0]}")/i386-exec.sh" mode)" = emulated ]; then
  echo "i386 code runs under emulation here: sanitizer builds run without leak detection, in a 3 GB address space"
  export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
  export QEMU_RESERVED_VA=0xbffff000
fi
