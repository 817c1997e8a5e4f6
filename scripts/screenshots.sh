#!/usr/bin/env bash
# Takes the README's screenshots of the window's looks under Wine, in a
# throwaway prefix of their own (the test prefix stays unthemed):
#
#   scripts/screenshots.sh classic|themed|high-contrast|dark [dpi]
#
# classic: no visual style; themed: Wine's bundled Light theme switched on;
# high-contrast: a black high-contrast colour scheme with the high-contrast
# flag on; dark: the Light theme with Windows' app mode set to dark
# (AppsUseLightTheme 0), as Windows 10 and 11 have it. [dpi] sets the display scaling (96, the default, is 100 %).
# Pictures go to build/screenshots/<look>-<dpi>-*.png: the countdown; at 96
# DPI also the "Oops!" pause with a picture button held down (the mouse
# leaves it before the release, so nothing is clicked), the pause with the
# mouse over another one, and the timer panel (disabled picture buttons
# beside the standard ones). Needs a built build/win64/Tovik.exe and xdotool.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

look=${1:?classic, themed, high-contrast or dark}
dpi=${2:-96}
exe=$PWD/build/win64/Tovik.exe
out=$PWD/build/screenshots
mkdir -p "$out"

export TOVIK_WINEPREFIX=$PWD/build/wineprefix-look
source scripts/wine-env.sh
trap tovik_wine_stop EXIT
tovik_wine_start

theme='HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager'
colors='HKCU\Control Panel\Colors'
contrast='HKCU\Control Panel\Accessibility\HighContrast'
personalize='HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize'
reg() { wine reg "$@" /f >/dev/null 2>&1; }

# The look of the prefix. Wine reads theme, colours and DPI at each
# program's start; the colours are Windows' "High Contrast Black".
reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi"
reg delete "$colors" || true
reg add "$contrast" /v Flags /t REG_SZ /d 126
reg add "$theme" /v ThemeActive /t REG_SZ /d 0
reg delete "$personalize" /v AppsUseLightTheme || true
case $look in
  themed|dark)
    styles='C:\windows\resources\themes\light\light.msstyles'
    [[ -f $WINEPREFIX/drive_c/windows/resources/themes/light/light.msstyles ]] || {
      echo "screenshots: the prefix has no $styles" >&2; exit 1; }
    reg add "$theme" /v ThemeActive /t REG_SZ /d 1
    reg add "$theme" /v DllName /t REG_SZ /d "$styles"
    reg add "$theme" /v ColorName /t REG_SZ /d Blue
    reg add "$theme" /v SizeName /t REG_SZ /d NormalSize
    if [[ $look == dark ]]; then reg add "$personalize" /v AppsUseLightTheme /t REG_DWORD /d 0; fi
    ;;
  high-contrast)
    reg add "$contrast" /v Flags /t REG_SZ /d 127
    while read -r name value; do
      reg add "$colors" /v "$name" /t REG_SZ /d "$value"
    done <<'EOF'
ActiveBorder 255 255 255
ActiveTitle 128 0 128
AppWorkSpace 0 0 0
Background 0 0 0
ButtonFace 0 0 0
ButtonHilight 255 255 255
ButtonLight 255 255 255
ButtonShadow 128 128 128
ButtonDkShadow 255 255 255
ButtonText 255 255 255
GrayText 0 255 0
Hilight 26 235 255
HilightText 0 0 0
InactiveBorder 255 255 255
InactiveTitle 0 128 0
InactiveTitleText 255 255 255
InfoText 255 255 255
InfoWindow 0 0 0
Menu 0 0 0
MenuText 255 255 255
Scrollbar 0 0 0
TitleText 255 255 255
Window 0 0 0
WindowFrame 255 255 255
WindowText 255 255 255
EOF
    ;;
  classic) ;;
  *) echo "screenshots: unknown look $look" >&2; exit 1 ;;
esac

wine "$exe" </dev/null >>"$TOVIK_WINE_LOG" 2>&1 &
window=
for _ in $(seq 50); do
  window=$(xdotool search --onlyvisible --name 'bis' 2>/dev/null | head -1) && [[ -n $window ]] && break
  sleep 0.1
done
[[ -n $window ]] || { echo "screenshots: no Tovik window" >&2; exit 1; }
sleep 0.8

# The window's outer rectangle, and a point of its client area on the screen
# (at 96 DPI: a frame of 3 pixels, the caption 25 high).
eval "$(xdotool getwindowgeometry --shell "$window")"
at() { echo "$(( X + 3 + $1 )) $(( Y + 28 + $2 ))"; }
shot() { import -display "$DISPLAY" -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$look-$dpi-$1.png"; }

shot countdown
# Mouse and keys only at 96 DPI.
[[ $dpi == 96 ]] || exit 0
# "Oops!" pauses the countdown; the pause lasts long enough for the rest.
xdotool mousemove $(at 280 32) click 1
sleep 0.5
# Held down on "Sofort abmelden,", and the mouse over "Sofort neu starten".
xdotool mousemove $(at 380 88) mousedown 1
sleep 0.4
shot pressed
xdotool mousemove $(at 140 88)
sleep 0.3
xdotool mouseup 1
sleep 0.3
shot hot
# "Timer aus," opens the timer panel (it resumes the window's height).
xdotool mousemove $(at 360 144) click 1
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $(at 60 325)
sleep 0.3
shot timer
ls "$out/$look-$dpi-"*.png
