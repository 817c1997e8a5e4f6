#!/usr/bin/env bash
# Start-up and run-time cost of Tovik.exe against a minimal one-window
# program, both built with the win64 preset and run under Wine.
#
# Start-up: the two programs are launched alternately (A B A B ...), so that
# drift of the machine falls on both alike, TOVIK_BENCH_PAIRS times (default
# 15) after one warm-up launch each. The launch timer measures from
# CreateProcessW to the first visible top-level window, lets the program run
# 500 ms more and reads its peak working set and peak private bytes (through
# GetProcessMemoryInfo, the same way for both).
# Run time: Tovik counts a 10-minute countdown down, the minimal program sits
# idle; each for TOVIK_BENCH_CPU_SECONDS (default 60) from 3 s after its
# start, and the CPU time its process used meanwhile (from /proc, the same
# way for both) is reported per minute.
# Finally the cost of one tick on the headless model (Google Benchmark).
#
# Prints the size of Tovik.exe, the median of each figure for both programs,
# and the median of the pairwise start-up ratios.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
exec </dev/null

pairs=${TOVIK_BENCH_PAIRS:-15}
cpu_seconds=${TOVIK_BENCH_CPU_SECONDS:-60}
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

tovik_w=$(winepath -w "$tovik" 2>/dev/null)
minimal_w=$(winepath -w "$minimal" 2>/dev/null)
# A long countdown: the window stays up while it is measured.
launch() { wine "$timer" --settle 500 "$@"; }

launch "$tovik_w" 600 >/dev/null
launch "$minimal_w" >/dev/null
results=$(mktemp)
for ((i = 0; i < pairs; i++)); do
  a=$(launch "$tovik_w" 600) || { echo "benchmark: Tovik.exe showed no window" >&2; exit 1; }
  b=$(launch "$minimal_w") || { echo "benchmark: the minimal program showed no window" >&2; exit 1; }
  echo "$a $b" >>"$results"
done

median() { LC_ALL=C sort -g | LC_ALL=C awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.2f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
column() { awk -v c="$1" '{ print $c }' "$results" | median; }

tovik_ms=$(column 1) minimal_ms=$(column 5)
ratio=$(LC_ALL=C awk '{ printf "%.4f\n", $1 / $5 }' "$results" | median)
tovik_ws=$(column 2) minimal_ws=$(column 6)
tovik_private=$(column 3) minimal_private=$(column 7)
rm -f "$results"

# CPU seconds of a program's host process during cpu_seconds, read from
# /proc (Wine does not report another process' times), 3 s after its start.
cpu_of() {
  local name=$1 pid before after
  shift
  wine "$@" >/dev/null 2>&1 &
  sleep 3
  pid=$(pgrep -n -f "$name") || { echo "benchmark: $name is not running" >&2; return 1; }
  ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
  before=$(ticks)
  sleep "$cpu_seconds"
  after=$(ticks)
  kill "$pid" 2>/dev/null || true
  wait 2>/dev/null || true
  LC_ALL=C awk -v a="$before" -v b="$after" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.3f", (b - a) / hz }'
}
tovik_cpu=$(cpu_of 'Tovik.exe' "$tovik" 600)
minimal_cpu=$(cpu_of 'BenchMinimal.exe' "$minimal")
per_minute() { LC_ALL=C awk -v s="$1" -v t="$cpu_seconds" 'BEGIN { printf "%.3f s/min (%.2f %% of a core)", s * 60 / t, s * 100 / t }'; }

printf '%-40s %s bytes\n' "Tovik.exe size:" "$(stat -c %s "$tovik")"
printf '%-40s %s ms / %s ms (medians of %s pairs)\n' "start to window, Tovik / minimal:" "$tovik_ms" "$minimal_ms" "$pairs"
printf '%-40s %s\n' "median of the pairwise ratios:" "$ratio"
printf '%-40s %s KiB / %s KiB\n' "peak working set, Tovik / minimal:" "$tovik_ws" "$minimal_ws"
printf '%-40s %s KiB / %s KiB (ratio %s)\n' "peak private bytes, Tovik / minimal:" "$tovik_private" "$minimal_private" \
  "$(LC_ALL=C awk -v a="$tovik_private" -v b="$minimal_private" 'BEGIN { printf "%.2f", a / b }')"
printf '%-40s %s\n' "CPU, Tovik counting down:" "$(per_minute "$tovik_cpu")"
printf '%-40s %s\n' "CPU, minimal program idle:" "$(per_minute "$minimal_cpu")"

# One tick on the headless model, natively and optimised.
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DTOVIK_GTEST_SOURCE=/nonexistent >/dev/null
cmake --build build/bench --target TickBenchmark -j2 >/dev/null
build/bench/TickBenchmark --benchmark_min_time=0.2 2>/dev/null | grep -E 'Tick'
