#!/bin/bash
# Builds and runs the long-run check of the main dialog under Wine (not part
# of the test suite: it takes ten minutes of real time by default).
#   tools/longrun.sh [--both] [--minutes N]
# --both runs the 32-bit build after the 64-bit one; other arguments go to
# LongRun.exe.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_ROOT=${BUILD_ROOT:-$ROOT/build}
. "$ROOT/tools/lib.sh"

arches="x86_64"
args=()
for a in "$@"; do
    if [ "$a" = "--both" ]; then arches="x86_64 i686"; else args+=("$a"); fi
done

ensure_packages
for arch in $arches; do build_arch "$arch"; done

stop_on_exit
start_display
start_wine

status=0
for arch in $arches; do
    log "long run, $arch"
    wine "$BUILD_ROOT/$arch/bin/LongRun.exe" "${args[@]}" || status=1
done
exit $status
