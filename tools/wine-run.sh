#!/bin/sh
# CTest's emulator: runs a cross-built test under Wine. tools/check.sh sets up
# the prefix, the display and a persistent wineserver beforehand, and
# exports its choice of loader, which tools/lib.sh makes here too when ctest
# is run by hand.
. "$(dirname "$0")/lib.sh"
choose_wine
export WINEDEBUG="${WINEDEBUG:--all}"
export LANG="${LANG:-en_US.UTF-8}"
exec "$WINE_CMD" "$@"
