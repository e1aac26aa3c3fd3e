#!/usr/bin/env bash
# The runtime's unit tests as Windows programs: builds them (preset
# windows-tests), runs every one under Wine on the Windows bench, once per
# system locale, all of a locale in one bench job, and ends with the line
# "N passed, N failed". Files marked "// desk-only:" are not built here;
# their count is printed too. When the bench cannot be built here, the run
# is reported as skipped with the reason, never as passed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
jobs=$(nproc)
cmake --preset windows-tests >/dev/null
cmake --build --preset windows-tests -j "$jobs" >/dev/null
if ! timeout "${WINBENCH_BUILD_LIMIT:-1500}" bash tools/winbench.sh build; then
  echo "Windows unit tests skipped: the Windows bench could not be built on this machine"
  echo "0 passed, 0 failed, 1 skipped"
  exit 0
fi
folders="tests/runtime tests/forms tests/sqlitelib tests/app tests/platform tests/desk"
# shellcheck disable=SC2086
echo "unit test files left to the desk (desk-only): $(grep -rl --include='*.cpp' '^// desk-only:' $folders | wc -l)" \
  "of $(find $folders -name '*.cpp' | wc -l)"
job=build/windows-units
rm -rf "$job"
mkdir -p "$job/units" "$job/suite" "$job/out"
cp build/windows-tests/unit-tests/*.exe "$job/units/"
cp tests/windows/run_units.py "$job/suite/"
passed=0
failed=0
for locale in zh_CN.UTF-8 en_US.UTF-8; do
  echo "== Windows unit tests, LANG=$locale ($(bash tools/winbench.sh mode))"
  start=$SECONDS
  rc=0
  LANG=$locale WINBENCH_TIMEOUT=${WINBENCH_TIMEOUT:-1500} bash tools/winbench.sh run "$job" -- python3 suite/run_units.py units "out/${locale%%.*}" | tee "$job/out/$locale.log" || rc=$?
  echo "== LANG=$locale took $((SECONDS - start)) s"
  line=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$job/out/$locale.log" | tail -n1 || true)
  if [ -z "$line" ]; then
    echo "the unit tests under LANG=$locale ended without their count (exit $rc)"
    failed=$((failed + 1))
    continue
  fi
  passed=$((passed + ${line%% passed*}))
  rest=${line#*, }
  failed=$((failed + ${rest%% failed*}))
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
