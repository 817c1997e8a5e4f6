#!/usr/bin/env bash
# Installs what is missing, builds Tovik.exe (win64 preset) and starts it
# under Wine; arguments go to Tovik.exe.
# With a DISPLAY: runs Tovik on it and waits until it ends.
# Without one: runs it in Xvfb, saves a screenshot one second after the start
# (path printed on stdout), then ends Tovik.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Tovik

exe=build/win64/Tovik.exe
headless=
[[ -n ${DISPLAY:-} ]] || headless=1

source scripts/wine-env.sh
trap tovik_wine_stop EXIT
trap 'exit 130' INT TERM
tovik_wine_start

if [[ -z $headless ]]; then
  wine "$exe" "$@"
  exit
fi

shot="$PWD/build/tovik-screenshot.png"
wine "$exe" "$@" </dev/null >>"$TOVIK_WINE_LOG" 2>&1 &
tovik_pid=$!
sleep 1
if ! kill -0 "$tovik_pid" 2>/dev/null; then
  wait "$tovik_pid" && rc=0 || rc=$?
  echo "run: Tovik.exe ended within a second (exit code $rc)" >&2
fi
import -display "$DISPLAY" -window root "$shot"
echo "$shot"
# tovik_wine_stop (EXIT trap) ends Tovik.exe with the rest of the prefix.
