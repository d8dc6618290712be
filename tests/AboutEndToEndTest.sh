#!/bin/sh
# Starts Wimmelpult.exe with its clock set to a chosen moment and lets
# AboutEndToEndTest.exe drive it. libfaketime works only in the 64-bit Wine
# loader, and only the program's clock is faked: the driver and the
# wineserver keep the real one.
# A code page, if given, is the program's alone, by its locale.
# Usage: AboutEndToEndTest.sh <emulator> <driver.exe> <Wimmelpult.exe> <case> [<code page>]
set -u
emulator=$1 driver=$2 program=$3 case=$4 codepage=${5:-1252}
case $case in
    dec06) start='2028-12-06 10:00:00' ;;
    jan02) start='2028-01-02 10:00:00' ;;
    midnight) start='2028-12-06 23:59:40' ;;
    oct26) start='2028-10-26 10:00:00' ;;
    mar25) start='2028-03-25 10:00:00' ;;
    *) echo "AboutEndToEndTest.sh: unknown case $case" >&2; exit 2 ;;
esac
lib=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
if [ ! -f "$lib" ]; then echo "AboutEndToEndTest.sh: $lib missing" >&2; exit 2; fi

# "@" lets the faked clock run on from that moment; a frozen clock would stop
# the program's timers. TZ pins the zone in which libfaketime reads the
# moment and Wine converts it back.
. "$(dirname "$0")/../tools/lib.sh"
locale=$(codepage_locale "$codepage")
# Without the locale Wine would fall back to 1252 and prove nothing.
locale -a | grep -qix "${locale%%.*}.utf8" || { echo "AboutEndToEndTest.sh: no locale $locale" >&2; exit 1; }
LC_ALL=$locale TZ=UTC LD_PRELOAD=$lib FAKETIME="@$start" "$emulator" "$program" >/dev/null 2>&1 &
pid=$!

"$emulator" "$driver" "$case"
status=$?

# The driver ends the program; one still running after 10 s is a failure.
i=0
while kill -0 "$pid" 2>/dev/null && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
if kill -0 "$pid" 2>/dev/null; then
    echo "AboutEndToEndTest.sh: Wimmelpult.exe still running, killed" >&2
    kill "$pid"
    status=1
fi
wait "$pid" 2>/dev/null
exit $status
