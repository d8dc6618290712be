#!/bin/bash
# Builds the 64-bit and 32-bit programs if needed and runs the benchmarks
# under Wine: start-up against an empty dialog, then the retitle pass and the
# re-application tick against bare loops of the platform calls, and how long
# the dialog keeps others waiting while remembered windows hang or are slow,
# and while it renames a crowd of 10,000 windows; and real keys and clicks
# into the program, timed until the screen shows them (the icon chooser at
# 96, 144 and 192 DPI).
#   tools/bench.sh [RUNS]     (runs per measured case, default 9)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_ROOT=${BUILD_ROOT:-$ROOT/build}
. "$ROOT/tools/lib.sh"
RUNS=${1:-9}
ARCHS="x86_64 i686"

ensure_packages
can_run_32bit "i686 benchmarks" || ARCHS="x86_64"
for arch in $ARCHS; do build_arch "$arch"; done

stop_on_exit
start_display
start_wine

# The jiffies all CPUs spent busy, and in all, since boot.
cpu_jiffies() { awk '/^cpu /{print $2+$3+$4+$7+$8, $2+$3+$4+$5+$6+$7+$8}' /proc/stat; }
# wait_calm: until the machine has been idle for 3 s in a row (at most
# 3 minutes), so that what one benchmark left behind does not land in the
# next one's figures.
wait_calm() {
    local calm=0 waited=0 busy0 total0 busy1 total1
    read -r busy0 total0 < <(cpu_jiffies)
    while [ $calm -lt 3 ] && [ $waited -lt 180 ]; do
        sleep 1
        waited=$((waited + 1))
        read -r busy1 total1 < <(cpu_jiffies)
        # Idle: under a tenth of all CPUs busy over that second.
        if [ $(((busy1 - busy0) * 100)) -lt $(((total1 - total0) * 10)) ]; then calm=$((calm + 1)); else calm=0; fi
        busy0=$busy1 total0=$total1
    done
    [ $calm -ge 3 ] || log "the machine stayed busy for $waited s; the next figures may show it"
}

status=0
# Every start-up first: the retitle runs leave the desktop with work to do.
for arch in $ARCHS; do
    log "start-up, $arch"
    wine "$BUILD_ROOT/$arch/bin/StartupBench.exe" "$RUNS" || status=1
done
# Before the retitling too: the keys and clicks want a calm desktop, and
# the tray menu its taskbar.
for arch in $ARCHS; do
    log "keys and clicks, $arch"
    wine "$BUILD_ROOT/$arch/bin/InputBench.exe" || status=1
    # The shell works on over the taskbar buttons of 10,000 windows for
    # minutes after they close: a new one.
    stop_wine
    start_wine
    for dpi in 144 192; do
        wait_calm
        log "icon chooser at $dpi DPI, $arch"
        sh "$ROOT/tools/at-dpi.sh" "$ROOT/tools/wine-run.sh" "$dpi" "$BUILD_ROOT/$arch/bin/InputBench.exe" chooser ||
            status=1
    done
done
for arch in $ARCHS; do
    wait_calm
    log "retitling, $arch"
    # A desktop without the shell's taskbar: with a button for each of
    # thousands of windows, Wine's explorer stays busy for minutes after
    # they close, which would land in every later measurement.
    out=$(mktemp)
    wine explorer /desktop=wimmelpult-bench,1024x700 "$BUILD_ROOT/$arch/bin/RetitleBench.exe" "$RUNS" |
        tee "$out" || status=1
    # explorer does not pass the benchmark's exit code on.
    if grep -q '^ERROR' "$out"; then status=1; fi
    rm -f "$out"
done
for arch in $ARCHS; do
    wait_calm
    log "answering while windows hang, $arch"
    wine "$BUILD_ROOT/$arch/bin/HangBench.exe" || status=1
done
exit $status
