#!/usr/bin/env bash
# The real power off: Tovik.exe started without an argument, outside
# simulation mode, counts 5.5 s down and asks Wine for a forced power off.
# Wine answers by ending every process of that prefix (the host is never
# touched), so this test runs from outside Wine, on a throwaway copy of the
# test prefix with a wineserver of its own; the prefix of the other tests and
# its processes stay as they are.
#
# Checks: Tovik ends in time, the session end took the other processes of
# the prefix with it (a witness process that only ends with the session),
# PwrOffCounter is 1 and LastShutDown holds today's date and a time.
#
# usage: real_power_off.sh path/to/Tovik.exe
# WINEPREFIX names the prefix to copy (default: build/wineprefix); without
# a ready prefix a fresh one is created.
set -uo pipefail
exec </dev/null

exe=${1:?usage: real_power_off.sh path/to/Tovik.exe}
exe=$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source_prefix=${WINEPREFIX:-$root/build/wineprefix}

work=$(mktemp -d "${TMPDIR:-/tmp}/tovik-poweroff.XXXXXX")
witness_pid=
witness_fd=

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cleanup() {
  if [[ -n $witness_fd ]]; then exec {witness_fd}>&-; fi
  if [[ -n $witness_pid ]]; then kill "$witness_pid" 2>/dev/null || true; fi
  if declare -F tovik_wine_stop >/dev/null; then tovik_wine_stop; fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [[ -f $source_prefix/.tovik-ready ]]; then
  # The copy keeps the stamp, so the environment below does not set it up again.
  cp -a "$source_prefix" "$work/prefix" || fail "cannot copy $source_prefix"
else
  echo "no ready prefix at $source_prefix: creating one" >&2
fi

export TOVIK_WINEPREFIX="$work/prefix"
# shellcheck source=../../scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
tovik_wine_start || fail "the Wine environment did not start"

# A fresh profile: no HKCU\Software\Zeb at all.
wine reg delete 'HKCU\Software\Zeb' /f >/dev/null 2>&1 || true
if wine reg query 'HKCU\Software\Zeb' >/dev/null 2>&1; then fail "the profile is not fresh"; fi

# The witness: a console program that waits for input that never comes. Only
# the end of the Wine session ends it.
mkfifo "$work/witness"
exec {witness_fd}<>"$work/witness"
wine cmd.exe /c "set /p _=" <&"$witness_fd" >/dev/null 2>&1 &
witness_pid=$!
sleep 1
kill -0 "$witness_pid" 2>/dev/null || fail "the witness process did not start"

started=$(date +%s.%N)
timeout --kill-after=5 60 wine "$exe" >"$work/tovik.log" 2>&1
status=$?
ended=$(date +%s.%N)
elapsed=$(LC_ALL=C awk -v a="$started" -v b="$ended" 'BEGIN { printf "%.2f", b - a }')
echo "Tovik.exe ended after ${elapsed}s (status $status)"
[[ $status -ne 124 && $status -ne 137 ]] || fail "Tovik.exe did not end within 60 s"
# 5.5 s of countdown; the watchdog would have ended it 3 s after that.
LC_ALL=C awk -v e="$elapsed" 'BEGIN { exit !(e < 5.4) }' && fail "Tovik.exe ended before its countdown ran out"

# The session end ends every process of the prefix, the witness included.
for _ in $(seq 1 100); do
  kill -0 "$witness_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$witness_pid" 2>/dev/null; then fail "the other processes of the prefix survived: no session end"; fi
wait "$witness_pid" 2>/dev/null
witness_pid=

# The registry of the copy, through its (persistent) wineserver.
counter=$(wine reg query 'HKCU\Software\Zeb\Tovik' /v PwrOffCounter 2>/dev/null | tr -d '\r')
echo "$counter"
grep -Eq '^\s*PwrOffCounter\s+REG_DWORD\s+0x1\s*$' <<<"$counter" || fail "PwrOffCounter is not REG_DWORD 0x1"

note=$(wine reg query 'HKCU\Software\Zeb\Zeb_Diagnostic' /v LastShutDown 2>/dev/null | tr -d '\r')
echo "$note"
value=$(sed -nE 's/^\s*LastShutDown\s+REG_SZ\s+(.*)$/\1/p' <<<"$note")

# The date in the user's short date format of the prefix, which must be a
# German one (d.M.yyyy under Wine, dd.MM.yyyy on Windows), a blank and the
# long time.
short_format=$(wine reg query 'HKCU\Control Panel\International' /v sShortDate 2>/dev/null | tr -d '\r' |
  sed -nE 's/^\s*sShortDate\s+REG_SZ\s+(.*)$/\1/p')
[[ $short_format =~ ^d{1,2}\.M{1,2}\.yyyy$ ]] || fail "not a German short date format: '$short_format'"
format_date() {  # format_date 'date -d' argument
  local d m y text=$short_format
  d=$(date -d "$1" +%-d) m=$(date -d "$1" +%-m) y=$(date -d "$1" +%Y)
  text=${text//yyyy/$y}
  text=${text//yy/${y:2}}
  text=${text//dd/#1#}
  text=${text//d/$d}
  text=${text//#1#/$(printf %02d "$d")}
  text=${text//MM/#2#}
  text=${text//M/$m}
  text=${text//#2#/$(printf %02d "$m")}
  echo "$text"
}
today=$(format_date today)
# A run across midnight may have noted the day before.
yesterday=$(format_date yesterday)
time_pattern='[0-9]{1,2}:[0-9]{2}:[0-9]{2}'
if [[ ! $value =~ ^(.+)\ ($time_pattern)$ ]]; then
  # At midnight sharp the time is left out.
  [[ $value == "$today" || $value == "$yesterday" ]] || fail "LastShutDown is not a date-time text: '$value'"
else
  [[ ${BASH_REMATCH[1]} == "$today" || ${BASH_REMATCH[1]} == "$yesterday" ]] ||
    fail "LastShutDown is not of today ($today, format $short_format): '$value'"
fi

echo "PASS"
