#!/bin/sh
# CTest's emulator: runs a cross-built test under Wine. tools/check.sh sets up
# the prefix, the display and a persistent wineserver beforehand.
export WINEDEBUG="${WINEDEBUG:--all}"
export LANG="${LANG:-en_US.UTF-8}"
exec wine "$@"
