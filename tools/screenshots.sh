#!/bin/bash
# Takes the README's screenshots from the real program in a Wine desktop:
# the main dialog after a retitle, the icon chooser, the About box and the
# tray menu. They are written to docs/screenshots/.
# At another DPI (DPI=144 in the environment, or --dpi 144), in a copy of the
# prefix set to it, each picture shows the whole desktop and is named
# NAME-144dpi.png.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_ROOT=${BUILD_ROOT:-$ROOT/build}
OUT=${OUT:-$ROOT/docs/screenshots}
DPI=${DPI:-96}
if [ "${1:-}" = --dpi ]; then DPI=${2:?--dpi needs a number}; fi
. "$ROOT/tools/lib.sh"

ensure_packages
build_arch x86_64
BIN="$BUILD_ROOT/x86_64/bin"
mkdir -p "$OUT"

# A display of our own, so the pictures do not depend on the caller's.
unset DISPLAY
stop_on_exit
start_display
start_wine
# Wine links no font with Japanese letters into a bold caption font, so the
# title bars are drawn in the regular weight, as Windows 10 and 11 draw them
# (MS Shell Dlg, 8 points).
wine reg add 'HKCU\Control Panel\Desktop\WindowMetrics' /v CaptionFont /t REG_BINARY /f /d \
    f5ffffff0000000000000000000000009001000000000000000000224d00530020005300680065006c006c00200044006c0067000000000000000000000000000000000000000000000000000000000000000000000000000000000000 \
    >/dev/null 2>&1
suffix=""
if [ "$DPI" != 96 ]; then
    suffix="-${DPI}dpi"
    WINEPREFIX=$(sh "$ROOT/tools/at-dpi.sh" "$ROOT/tools/wine-run.sh" "$DPI")
    # The copy's server, and every program in it, end with the script.
    trap 'wineserver -k 2>/dev/null || true; stop_wine; stop_display' EXIT
fi

shot() {   # shot NAME GEOMETRY
    sleep 1.5
    [ "$DPI" = 96 ] || set -- "$1" 1024x700+0+0
    import -window root -crop "$2" +repage "$OUT/$1$suffix.png"
    echo "$OUT/$1$suffix.png"
}

wine notepad &
sleep 3
wine "$BIN/Wimmelpult.exe" &
sleep 5
# A dog from "Tiere" for Notepad, which then shows it in its title bar and
# on its taskbar button.
wine "$BIN/ScreenshotDriver.exe" chooser 6 3
shot icon-chooser 700x340+162+180
wine "$BIN/ScreenshotDriver.exe" ok
sleep 1
wine "$BIN/ScreenshotDriver.exe" assign "notepad" "Einkaufsliste"
# The main dialog in the middle of the desktop, and the taskbar below it.
shot main-dialog 1024x700+0+0
# Captions in any script: Notepad's, in Russian and Japanese.
wine "$BIN/ScreenshotDriver.exe" assign "einkauf" "Список покупок — 買い物リスト"
shot unicode-caption 720x440+0+0
wine "$BIN/ScreenshotDriver.exe" assign "покупок" "Einkaufsliste"
wine "$BIN/ScreenshotDriver.exe" about
shot about-box 520x220+252+240
wine "$BIN/ScreenshotDriver.exe" close
# A right click on the tray icon at the right end of the taskbar.
xdotool mousemove 1013 690 click 3
sleep 0.3
# Rest the pointer on "Schließen", which highlights it and keeps the tooltip away.
xdotool mousemove 930 668
shot tray-menu 300x120+724+580
xdotool key Escape
wine "$BIN/ScreenshotDriver.exe" close
