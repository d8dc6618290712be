#!/bin/bash
# Builds and runs the soak of the real program under Wine: seeded random
# input, shell restarts, DPI changes and stray messages from outside (not part
# of the test suite).
#   tools/soak.sh [--minutes N] [--seed S] [--both | --arch x86_64|i686] [Soak.exe arguments...]
# Default 10 minutes, seed 1, the 64-bit build; --both runs the 32-bit build
# after it. Other arguments go to Soak.exe (--no-stray, --no-dpi,
# --no-untray, --spare MSG). The action log of each run is written to
# BUILD_ROOT/soak-ARCH-SEED.log.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_ROOT=${BUILD_ROOT:-$ROOT/build}
. "$ROOT/tools/lib.sh"

arches="x86_64"
minutes=10
seed=1
args=()
while [ $# -gt 0 ]; do
    case "$1" in
    --both) arches="x86_64 i686" ;;
    --arch) arches=$2; shift ;;
    --minutes) minutes=$2; shift ;;
    --seed) seed=$2; shift ;;
    *) args+=("$1") ;;
    esac
    shift
done
for arch in $arches; do
    case $arch in x86_64 | i686) ;; *) die "--arch is x86_64 or i686, not $arch" ;; esac
done

ensure_packages
if [ "$arches" != x86_64 ] && ! can_run_32bit "i686 soak"; then arches="x86_64"; fi
for arch in $arches; do
    BUILD_TARGET=Soak build_arch "$arch"
done

stop_on_exit
start_display
start_wine

status=0
for arch in $arches; do
    log "soak, $arch, seed $seed, $minutes minutes"
    out=$(mktemp)
    wine "$BUILD_ROOT/$arch/bin/Soak.exe" --minutes "$minutes" --seed "$seed" \
        --log "$BUILD_ROOT/soak-$arch-$seed.log" "${args[@]}" | tee "$out" || status=1
    grep -Eq '^[0-9]+ passed, 0 failed' "$out" || status=1
    rm -f "$out"
done
exit $status
