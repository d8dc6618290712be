#!/bin/sh
# Runs a program at another DPI, for the tests and the screenshots. Wine
# reads LogPixels when its server starts, and the suite's server runs for the
# whole suite; so the program runs in a copy of the suite's prefix set to that
# DPI, with a server of its own, which ends with it. The copy is kept beside
# the prefix for the next run. Without a program, only prepares the copy and
# prints its path.
# Usage: at-dpi.sh <emulator> <dpi> [<program> [args...]]
set -eu
emulator=$1 dpi=$2
shift 2
base=${WINEPREFIX:?no WINEPREFIX: run under tools/check.sh}
copy=$base-${dpi}dpi
if [ ! -f "$copy/.wimmelpult-dpi" ] || [ "$base/.wimmelpult-ready" -nt "$copy/.wimmelpult-dpi" ]; then
    rm -rf "$copy"
    mkdir -p "$copy"
    # Wine's DLLs, most of the prefix's size, are only ever read: linked, not copied.
    (cd "$base" && tar cf - --exclude=./drive_c/windows/system32 --exclude=./drive_c/windows/syswow64 .) |
        (cd "$copy" && tar xf -)
    for dir in system32 syswow64; do
        [ ! -d "$base/drive_c/windows/$dir" ] || cp -al "$base/drive_c/windows/$dir" "$copy/drive_c/windows/"
    done
    WINEPREFIX=$copy "$emulator" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
        >/dev/null 2>&1
    WINEPREFIX=$copy wineserver -w
    touch "$copy/.wimmelpult-dpi"
fi
if [ $# = 0 ]; then
    echo "$copy"
    exit 0
fi
export WINEPREFIX="$copy"
trap 'wineserver -k 2>/dev/null || true' EXIT
"$emulator" "$@"
