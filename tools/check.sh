#!/bin/bash
# Installs what is missing, builds the 32-bit and 64-bit programs and runs the
# whole test suite under Wine with ctest. Where 32-bit programs cannot run,
# the 32-bit program is checked without running it.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_ROOT=${BUILD_ROOT:-$ROOT/build}
. "$ROOT/tools/lib.sh"

# check_unrun ARCH: what can be told of ARCH's program without running it:
# its resources, which the 64-bit tests read as a data file, and that every
# DLL it imports is one the system has.
check_unrun() {
    local exe="$BUILD_ROOT/$1/bin/Wimmelpult.exe" test dll dlls failed=0
    for test in ResourcesTest IconResourcesTest; do
        log "$test on the $1 program, read from the 64-bit side"
        wine "$BUILD_ROOT/x86_64/bin/$test.exe" "$exe" || failed=1
    done
    dlls=$("$1-w64-mingw32-objdump" -p "$exe" | sed -n 's/^\tDLL Name: //p')
    [ -n "$dlls" ] || { log "no imports found in $exe"; return 1; }
    for dll in $dlls; do
        [ -f "$WINEPREFIX/drive_c/windows/system32/${dll,,}" ] ||
            { log "the $1 program imports $dll, which is no system DLL"; failed=1; }
    done
    log "the $1 program imports" $dlls
    return $failed
}

ensure_packages
choose_wine
build_arch i686
build_arch x86_64

stop_on_exit
start_display
start_wine

status=0
summary=()
unrun=""
for arch in i686 x86_64; do
    if [ "$arch" = i686 ] && ! can_run_32bit "i686 tests"; then
        unrun=$arch
        continue
    fi
    log "tests, $arch"
    result=passed
    ctest --test-dir "$BUILD_ROOT/$arch" --output-on-failure --timeout 600 "$@" || result=FAILED
    summary+=("$arch: tested, $result")
done
if [ -n "$unrun" ]; then
    result=passed
    check_unrun "$unrun" || result=FAILED
    summary+=("$unrun: built, not run ($WINE32_SKIP_WHY); resources and imports checked, $result")
fi
for line in "${summary[@]}"; do
    log "$line"
    case $line in *FAILED) status=1 ;; esac
done
exit $status
