#!/usr/bin/env bash
# Start-up benchmark under Wine: builds the win64 preset, then launches
# Tovik.exe and the minimal one-window program N times each (default 9, or
# TOVIK_BENCH_RUNS) through the launch timer, which measures the time from
# CreateProcessW to the first visible top-level window and ends the process
# before the next run. One warm-up launch of each is not counted.
# Prints the size of Tovik.exe, the median time of each and their ratio.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
exec </dev/null

runs=${TOVIK_BENCH_RUNS:-9}
bash scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Tovik BenchMinimal LaunchTimer >/dev/null

tovik=build/win64/Tovik.exe
minimal=build/win64/bench/BenchMinimal.exe
timer=build/win64/bench/LaunchTimer.exe

source scripts/wine-env.sh
trap tovik_wine_stop EXIT
trap 'exit 130' INT TERM
tovik_wine_start

# Prints the median start-to-window time of one program in milliseconds.
median_launch() {
  local exe times=() t i
  exe=$(winepath -w "$1" 2>/dev/null)
  wine "$timer" "$exe" >/dev/null  # warm-up: file cache, first start of the program
  for ((i = 0; i < runs; i++)); do
    t=$(wine "$timer" "$exe") || { echo "benchmark: $1 showed no window" >&2; return 1; }
    times+=("$t")
  done
  printf '%s\n' "${times[@]}" | LC_ALL=C sort -g | LC_ALL=C awk '{ v[NR] = $1 }
    END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

tovik_ms=$(median_launch "$tovik")
minimal_ms=$(median_launch "$minimal")

printf '%-36s %s bytes\n' "Tovik.exe size:" "$(stat -c %s "$tovik")"
printf '%-36s %s ms (median of %s)\n' "Tovik.exe start to window:" "$tovik_ms" "$runs"
printf '%-36s %s ms (median of %s)\n' "minimal program start to window:" "$minimal_ms" "$runs"
printf '%-36s %s\n' "ratio Tovik / minimal:" "$(LC_ALL=C awk -v a="$tovik_ms" -v b="$minimal_ms" 'BEGIN { printf "%.2f", a / b }')"
