# Wine environment for running Tovik.exe and the Windows test programs.
# Source it from bash, then call tovik_wine_start; stop with tovik_wine_stop
# (callers install it as an EXIT trap):
#
#   source scripts/wine-env.sh
#   trap tovik_wine_stop EXIT
#   tovik_wine_start
#
# - WINEPREFIX is a throwaway prefix in the build tree (TOVIK_WINEPREFIX
#   overrides it), created once: Wine's own fonts, replacements for the
#   fonts the window asks for, window frames drawn by Wine.
# - German regional settings unless TOVIK_LANG names another locale.
# - Xvfb on a free display when DISPLAY is empty.
# - One persistent wineserver for the whole run, started with its standard
#   streams on a log file so that it never holds a caller's pipe open.
# - Runs on the same prefix are serialised with a lock file: a second caller
#   waits until the first has stopped its wineserver.

TOVIK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${TOVIK_WINEPREFIX:-$TOVIK_ROOT/build/wineprefix}"
export WINEDEBUG=-all
# No Mono/Gecko prompts, and no menu entries on the host for the shortcuts
# that the installer tests create.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
export LANG="${TOVIK_LANG:-de_DE.UTF-8}"
export LC_ALL="$LANG"
unset LANGUAGE
TOVIK_WINE_LOG="$WINEPREFIX.log"

_tovik_xvfb_pid=
_tovik_wine_running=
_tovik_lock_fd=
_tovik_keep_fd=

_tovik_log() { echo "wine-env: $*" >&2; }

# Starts Xvfb on the first free display and exports DISPLAY. Xvfb picks the
# display itself (-displayfd) and reports it once it accepts connections.
_tovik_start_xvfb() {
  local fifo num=
  fifo=$(mktemp -u "${TMPDIR:-/tmp}/tovik-xvfb.XXXXXX")
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
    3>"$fifo" </dev/null >>"$TOVIK_WINE_LOG" 2>&1 {_tovik_lock_fd}>&- &
  _tovik_xvfb_pid=$!
  read -r -t 30 num <"$fifo" || true
  rm -f "$fifo"
  if [[ -z $num ]] || ! xdpyinfo -display ":$num" >/dev/null 2>&1; then
    _tovik_log "Xvfb did not start (see $TOVIK_WINE_LOG)"
    return 1
  fi
  export DISPLAY=":$num"
}

# Creates the prefix once. A prefix without the stamp file is a broken,
# half-created one and is made anew.
_tovik_init_prefix() {
  # The stamp names the prefix's make-up; a prefix of an older one is made anew.
  local stamp="$WINEPREFIX/.tovik-ready" reg makeup=2
  [[ -f $stamp && $(cat "$stamp") == "$makeup" ]] && return 0
  _tovik_log "creating Wine prefix $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i </dev/null >>"$TOVIK_WINE_LOG" 2>&1 {_tovik_lock_fd}>&- || {
    _tovik_log "wineboot failed (see $TOVIK_WINE_LOG)"; return 1; }
  # Wine's own fonts (Marlett draws the caption buttons, MS Sans Serif is a
  # dialog font) go where this Wine build looks for them: the prefix.
  if compgen -G '/usr/share/wine/fonts/*' >/dev/null; then
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  # Fonts the window asks for that Wine may not have (Wine uses a replacement
  # only when the named family is not installed; Microsoft Sans Serif, the
  # TrueType twin of MS Sans Serif, becomes Wine's MS Sans Serif, so both
  # draw alike), and windows framed by Wine itself, as on Windows, since
  # Xvfb has no window manager.
  reg="$WINEPREFIX/tovik.reg"
  printf '%s\r\n' 'REGEDIT4' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"Verdana"="DejaVu Sans"' \
    '"MS Sans Serif"="DejaVu Sans"' \
    '"Microsoft Sans Serif"="MS Sans Serif"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' \
    '"Managed"="N"' '' >"$reg"
  wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" </dev/null >>"$TOVIK_WINE_LOG" 2>&1 {_tovik_lock_fd}>&- || {
    _tovik_log "font replacements failed (see $TOVIK_WINE_LOG)"; return 1; }
  wineserver -w
  echo "$makeup" >"$stamp"
}

tovik_wine_start() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [[ -z $_tovik_lock_fd ]]; then
    exec {_tovik_lock_fd}>"$WINEPREFIX.lock"
    if ! flock -n "$_tovik_lock_fd"; then
      _tovik_log "waiting for another run on $WINEPREFIX to finish"
      flock "$_tovik_lock_fd"
    fi
  fi
  : >"$TOVIK_WINE_LOG"
  if [[ -z ${DISPLAY:-} ]]; then
    _tovik_start_xvfb || return 1
  fi
  # A wineserver left over from a run that was killed would keep old state.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  _tovik_init_prefix || return 1
  wineserver -p </dev/null >>"$TOVIK_WINE_LOG" 2>&1 {_tovik_lock_fd}>&- || {
    _tovik_log "wineserver did not start (see $TOVIK_WINE_LOG)"; return 1; }
  _tovik_wine_running=1
  _tovik_start_session
}

# Starts the prefix's own helper processes (services, the desktop process)
# now, with their output on the log: started later by the first program of a
# caller they would keep that caller's stderr open long after it ended,
# which holds up pipes and ctest. A console program that waits on an input
# that never comes keeps the desktop, and so its process, alive for the run.
_tovik_start_session() {
  local fifo
  fifo=$(mktemp -u "${TMPDIR:-/tmp}/tovik-keep.XXXXXX")
  mkfifo "$fifo"
  exec {_tovik_keep_fd}<>"$fifo"
  rm -f "$fifo"
  wine cmd.exe /c "set /p _=" <&"$_tovik_keep_fd" >>"$TOVIK_WINE_LOG" 2>&1 \
    {_tovik_lock_fd}>&- {_tovik_keep_fd}>&- &
  wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >>"$TOVIK_WINE_LOG" 2>&1 \
    {_tovik_lock_fd}>&- {_tovik_keep_fd}>&- || {
    _tovik_log "the Wine desktop did not start (see $TOVIK_WINE_LOG)"; return 1; }
}

# Ends every process of the prefix, the wineserver and the Xvfb started here.
# Safe to call more than once.
tovik_wine_stop() {
  if [[ -n $_tovik_wine_running || -n $_tovik_lock_fd ]]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    _tovik_wine_running=
  fi
  if [[ -n $_tovik_keep_fd ]]; then
    exec {_tovik_keep_fd}>&-
    _tovik_keep_fd=
  fi
  if [[ -n $_tovik_xvfb_pid ]]; then
    kill "$_tovik_xvfb_pid" 2>/dev/null || true
    wait "$_tovik_xvfb_pid" 2>/dev/null || true
    _tovik_xvfb_pid=
    unset DISPLAY
  fi
  if [[ -n $_tovik_lock_fd ]]; then
    exec {_tovik_lock_fd}>&-
    _tovik_lock_fd=
  fi
}
