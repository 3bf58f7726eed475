#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the native
# unit tests (AddressSanitizer and UBSan), a short fuzzing run, the Windows tests
# under Wine on a virtual display, and the end-to-end suite against the real
# Tapvane2.exe. Prints a summary; exits non-zero on any failure.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/build.sh || { echo "build failed"; exit 1; }

logs="$root/build/test-logs"
mkdir -p "$logs"
total_passed=0
total_failed=0
summary=()

# Adds a stage's counts from its closing line to the totals.
count() {
  local stage=$1 passed=$2 failed=$3
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + failed))
  summary+=("$(printf '%-10s %4d passed, %d failed' "$stage" "$passed" "$failed")")
}

run_ctest() {
  local stage=$1
  shift
  local log="$logs/$stage.log"
  ctest "$@" 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then
    count "$stage" 0 1
    return
  fi
  local failed all
  failed=$(sed -E 's/.*tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  all=$(sed -E 's/.*tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
  [ "$status" = 0 ] || [ "$failed" != 0 ] || failed=1
  count "$stage" $((all - failed)) "$failed"
}

echo "== native unit tests (ASan + UBSan)"
run_ctest native --preset native -j 2

echo "== fuzzing the text conversions and the step file reader briefly (15 s each)"
if bash scripts/fuzz.sh 15 >"$logs/fuzz.log" 2>&1; then count fuzz 1 0; else
  tail -n 30 "$logs/fuzz.log"; count fuzz 0 1; fi

echo "== Windows tests under Wine"
export TAPVANE_OWN_DISPLAY=1
. scripts/wine-env.sh
wine_env_up
trap 'wine_env_down' EXIT
run_ctest wine --preset windows

echo "== end-to-end tests against Tapvane2.exe"
bash tests/e2e/run.sh "$root/build/windows" 2>&1 | tee "$logs/e2e.log"
e2e_status=${PIPESTATUS[0]}
e2e_line=$(grep -E '^[0-9]+ passed, [0-9]+ failed' "$logs/e2e.log" | tail -n 1)
if [ -n "$e2e_line" ]; then
  e2e_failed=$(sed -E 's/^[0-9]+ passed, ([0-9]+) failed.*/\1/' <<<"$e2e_line")
  [ "$e2e_status" = 0 ] || [ "$e2e_failed" != 0 ] || e2e_failed=1
  count e2e "$(sed -E 's/^([0-9]+) passed.*/\1/' <<<"$e2e_line")" "$e2e_failed"
else
  count e2e 0 1
fi

echo
echo "== summary"
printf '%s\n' "${summary[@]}"
echo "total: $total_passed passed, $total_failed failed"
[ "$total_failed" = 0 ]
