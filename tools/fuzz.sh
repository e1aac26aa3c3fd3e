#!/usr/bin/env bash
# Runs the fuzz targets (build/fuzz, the fuzz preset) from their committed
# corpora in fuzz/corpus.
#   tools/fuzz.sh short [TARGET...]   about 30 s each (CI): any finding fails
#   tools/fuzz.sh long SECONDS [TARGET...]
#                                     longer runs by hand, one target at a
#                                     time, then the corpus minimised back
#                                     into fuzz/corpus
# Findings (crash-*, timeout-*, leak-*, oom-*) are left in build/fuzz/runs.
# LeakSanitizer is off everywhere, not only under qemu-user where it hangs:
# the targets count the runtime's blocks themselves, which is the leak that
# matters to them.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
mode=${1:-short}
shift || true
seconds=30
if [ "$mode" = long ]; then
  seconds=${1:?long needs a number of seconds}
  shift
elif [ "$mode" != short ]; then
  echo "usage: tools/fuzz.sh short|long SECONDS [TARGET...]" >&2
  exit 2
fi
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(startup number_text drop_batch codepage window_template)

# clang 14 ships the i386 fuzzer and sanitizer runtimes.
bash tools/setup.sh clang-14 libclang-rt-14-dev
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" >/dev/null

# A small quarantine keeps the 32-bit address space (and the shared
# machine's memory) in bounds over long runs.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:quarantine_size_mb=16:malloc_context_size=8
. tools/sanitizer-env.sh
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
runs=$root/build/fuzz/runs
failed=0
for t in "${targets[@]}"; do
  # The start-up target's inputs are whole databases.
  max_len=4096
  [ "$t" = startup ] && max_len=65536
  # The main window's segment carries its icon.
  [ "$t" = window_template ] && max_len=16384
  corpus=$root/fuzz/corpus/$t
  work=$runs/$t
  mkdir -p "$work" "$corpus"
  log=$runs/$t.log
  echo "fuzz $t: $seconds s" >&2
  # Absolute paths throughout: the live targets change their working folder.
  # stdin is not a terminal, so the desk never takes the terminal over.
  if ! nice -n 19 "$root/build/fuzz/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=20 \
      -rss_limit_mb=2560 -max_len=$max_len -print_final_stats=1 -artifact_prefix="$runs/$t-" \
      "$work" "$corpus" </dev/null >"$log" 2>&1; then
    echo "fuzz $t: FINDING (see $log)" >&2
    grep -E "fuzz finding|ERROR: |SUMMARY|Test unit written" "$log" >&2 || tail -20 "$log" >&2
    failed=1
    continue
  fi
  grep -E "^#[0-9]+[[:space:]]+DONE" "$log" | tail -1 >&2 || true
  if [ "$mode" = long ]; then
    # Keep only the inputs that add coverage.
    minimised=$runs/$t.min
    rm -rf "$minimised" && mkdir -p "$minimised"
    nice -n 19 "$root/build/fuzz/fuzz/fuzz_$t" -merge=1 -timeout=20 -rss_limit_mb=2560 -max_len=$max_len \
      "$minimised" "$corpus" "$work" </dev/null >"$runs/$t.merge.log" 2>&1
    rm -f "$corpus"/* && cp "$minimised"/* "$corpus"/
    echo "fuzz $t: corpus $(ls "$corpus" | wc -l) inputs, $(du -sk "$corpus" | cut -f1) KB" >&2
  fi
done
exit $failed
