#!/usr/bin/env bash
# Runs the libFuzzer targets open-ended (until interrupted, or for the given
# number of seconds per target), two at a time, each on its seed corpus with
# the inputs it finds kept under build/fuzz/. A finding stops its target and
# leaves the input as build/fuzz/tests/fuzz/crash-*.
#   bash scripts/fuzz.sh            # every target, until Ctrl+C
#   bash scripts/fuzz.sh 600        # every target for 10 minutes
#   bash scripts/fuzz.sh 0 FuzzClockText
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
exec </dev/null

seconds=${1:-0}
shift || true
targets=("$@")
(( ${#targets[@]} )) || targets=(FuzzRunMode FuzzClockText FuzzMinutesField FuzzStoredValue FuzzCountdownText)

bash scripts/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

dir=build/fuzz/tests/fuzz
run() {
  local target=$1
  mkdir -p "$dir/corpus/$target"
  "$dir/$target" -max_total_time="$seconds" -timeout=10 -max_len=256 -artifact_prefix="$dir/" \
    "$dir/corpus/$target" "tests/fuzz/corpus/$target"
}
status=0
for ((i = 0; i < ${#targets[@]}; i += 2)); do
  run "${targets[i]}" & first=$!
  if (( i + 1 < ${#targets[@]} )); then run "${targets[i + 1]}" & second=$!; wait "$second" || status=1; fi
  wait "$first" || status=1
done
exit "$status"
