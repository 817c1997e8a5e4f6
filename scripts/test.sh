#!/usr/bin/env bash
# Installs what is missing, builds every preset and the release packages and
# runs every test: the unit tests natively (ctest --preset native) and again
# under AddressSanitizer and UndefinedBehaviorSanitizer (native-sanitize),
# each libFuzzer target for a fixed number of inputs (fuzz), then the
# end-to-end tests of the real Tovik.exe and of its installer under Wine and
# the checks of the packages (ctest --preset win64), in Xvfb when there is no
# display. A failed case of the win64 suite runs once more and counts as
# failed only when it fails again. Ends with each suite's ctest summary, every
# such second run, and the total; exits non-zero when a build or any test fails.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
exec </dev/null

bash scripts/install-deps.sh

for preset in native native-sanitize fuzz win64; do
  echo "== configure and build: $preset"
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j2
done
# The installer, the portable zip and the winget manifests, which the
# packaging and installer tests of the win64 suite check.
echo "== build: packages"
cmake --build --preset win64 --target packages

logs=build/test-logs
mkdir -p "$logs"

# Runs one ctest preset, its log kept for the summary. ctest writes the log
# itself (-O), so no pipe is held open by a program that outlives the run.
run_suite() {
  local preset=$1
  shift
  echo "== tests: $preset"
  rm -f "$logs/$preset.log"
  ctest --preset "$preset" -O "$logs/$preset.log" "$@"
}

status=0
run_suite native || status=1
run_suite native-sanitize || status=1
run_suite fuzz || status=1

source scripts/wine-env.sh
trap tovik_wine_stop EXIT
trap 'exit 130' INT TERM
if tovik_wine_start; then
  # Wine on a busy machine now and then keeps an end-to-end case waiting past
  # its patience: a second run tells such a case from a fault.
  run_suite win64 --repeat until-pass:2 || status=1
else
  echo "test: the Wine environment did not start" >&2
  status=1
fi
tovik_wine_stop

echo
echo "== summary"
passed=0 failed=0
for preset in native native-sanitize fuzz win64; do
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$logs/$preset.log" 2>/dev/null | tail -n 1 || true)
  if [[ -n $line ]]; then
    read -r f n < <(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1 \2/' <<<"$line")
    passed=$((passed + n - f))
    failed=$((failed + f))
  elif grep -q 'No tests were found' "$logs/$preset.log" 2>/dev/null; then
    line="no tests"
  else
    line="did not run"
    status=1
  fi
  echo "$preset: $line"
  # ctest prints the result of a repeated run without the "n/total" in front.
  sed -nE 's/^ +Test +#[0-9]+: ([^ ]+)[ .]+(\*\*\*)?([A-Za-z]+).*/  second run: \1 \3/p' \
    "$logs/$preset.log" 2>/dev/null || true
done
echo "total: $passed passed, $failed failed"
exit "$status"
