#!/bin/bash
# Installs what is missing, builds the 32-bit and 64-bit programs and runs the
# whole test suite under Wine with ctest.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_ROOT=${BUILD_ROOT:-$ROOT/build}
. "$ROOT/tools/lib.sh"

ensure_packages
build_arch i686
build_arch x86_64

stop_on_exit
start_display
start_wine

status=0
for arch in i686 x86_64; do
    log "tests, $arch"
    ctest --test-dir "$BUILD_ROOT/$arch" --output-on-failure --timeout 600 "$@" || status=1
done
exit $status
