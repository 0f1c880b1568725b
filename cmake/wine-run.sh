#!/usr/bin/env bash
# CTest's emulator: runs one Windows test program under Wine with the caller's
# DISPLAY and WINEPREFIX (scripts/test.sh sets both up).
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
exec "${WINE64:-wine}" "$@"
