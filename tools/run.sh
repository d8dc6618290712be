#!/bin/bash
# Builds Wimmelpult and starts it under Wine. With a display the program opens
# there, in a Wine desktop with a taskbar. Without one, Xvfb and the Wine
# desktop are started here, and a screenshot of the running program is saved;
# its path is printed.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_ROOT=${BUILD_ROOT:-$ROOT/build}
. "$ROOT/tools/lib.sh"

ensure_packages
choose_wine
BUILD_TARGET=Wimmelpult build_arch x86_64
EXE="$BUILD_ROOT/x86_64/bin/Wimmelpult.exe"

stop_on_exit
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    start_wine
    wine "$EXE"
    exit
fi

start_display
start_wine
wine "$EXE" &
# The dialog's window inside the Wine desktop is an X window with its caption.
timeout 60 xdotool search --sync --onlyvisible --name '^Wimmelpult$' >/dev/null ||
    die "the dialog did not appear within 60 s"
sleep 1   # for it to paint
SHOT="$BUILD_ROOT/wimmelpult-screenshot.png"
import -window root -crop 1024x700+0+0 +repage "$SHOT" || die "screenshot of $DISPLAY into $SHOT failed"
echo "$SHOT"
