#!/usr/bin/env bash
# Two bench jobs started together on one machine, as a developer's run and
# CI's run would be: each runs the suite's start-up case and both must pass.
# Where the bench is a chroot, the second job gets a root of its own (hard
# links into the first, so no second build), because jobs of one root wait
# for each other on its lock: two roots are what two clones have, and they
# share the host's abstract socket names, X displays among them.
#
#   two_jobs_test.sh JOBDIR   (JOBDIR filled by tools/windows-test.sh)
# Ends with "N passed, N failed" for the two jobs.
set -uo pipefail
cd "$(dirname "$0")/../.."
job=$1
bench=tools/winbench.sh
cache=$(bash "$bench" cache)
second=$cache
if [ "$(bash "$bench" mode)" = chroot ]; then
  second=$cache.second
  if [ ! -d "$second/root" ] || ! cmp -s "$cache/root.stamp" "$second/root.stamp"; then
    rm -rf "$second"
    mkdir -p "$second"
    cp -al "$cache/root" "$second/root"
    cp "$cache/root.stamp" "$second/root.stamp"
  fi
fi

pids=()
for n in 1 2; do
  dir=$cache
  [ "$n" = 2 ] && dir=$second
  mkdir -p "$job/out/together-$n"
  WINBENCH_CACHE=$dir bash "$bench" run "$job" -- python3 suite/suite.py bin "out/together-$n" start \
    >"$job/out/together-$n.log" 2>&1 &
  pids+=($!)
done
passed=0
failed=0
for n in 1 2; do
  rc=0
  wait "${pids[$((n - 1))]}" || rc=$?
  if [ $rc -eq 0 ] && grep -qx '1 passed, 0 failed' "$job/out/together-$n.log"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "job $n of two started together failed (exit $rc):"
    tail -n 20 "$job/out/together-$n.log"
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
