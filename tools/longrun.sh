#!/bin/bash
# Builds and runs the long-run check of the main dialog under Wine (not part
# of the test suite: 100,000 ticks take about an hour of real time).
#   tools/longrun.sh [--both] [--period MS] [LongRun.exe arguments...]
# --period sets the re-application period of the build it runs (default
# 20 ms, so that 100,000 ticks stand for three and a half days of use at the
# program's 3000 ms); --both runs the 32-bit build after the 64-bit one;
# other arguments go to LongRun.exe (--ticks N, --seed S).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_ROOT=${BUILD_ROOT:-$ROOT/build}
. "$ROOT/tools/lib.sh"

arches="x86_64"
period=20
args=()
while [ $# -gt 0 ]; do
    case "$1" in
    --both) arches="x86_64 i686" ;;
    --period) period=$2; shift ;;
    *) args+=("$1") ;;
    esac
    shift
done

ensure_packages
if [ "$arches" != x86_64 ] && ! can_run_32bit "i686 long run"; then arches="x86_64"; fi
for arch in $arches; do
    BUILD_ROOT="$BUILD_ROOT/longrun-$period" BUILD_TARGET=LongRun \
        build_arch "$arch" -DWIMMELPULT_RETITLE_PERIOD_MS="$period"
done

stop_on_exit
start_display
start_wine

status=0
for arch in $arches; do
    log "long run, $arch, period $period ms"
    # A desktop without the shell's taskbar: its button for every window
    # would redraw at every caption change, hundreds of times a second,
    # and take the machine from the windows under test. explorer does not
    # pass the exit code on, so the summary line tells.
    out=$(mktemp)
    wine explorer /desktop=wimmelpult-longrun,1024x700 \
        "$BUILD_ROOT/longrun-$period/$arch/bin/LongRun.exe" "${args[@]}" | tee "$out" || status=1
    grep -Eq '^[0-9]+ passed, 0 failed' "$out" || status=1
    rm -f "$out"
done
exit $status
