#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs every test under Wine on a private Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
source scripts/wine-env.sh --private
trap '[ -n "${XVFB_PID:-}" ] && kill $XVFB_PID 2>/dev/null; wineserver -k 2>/dev/null || true' EXIT
# One test program at a time: they share the pointer, the keyboard and the desktop.
ctest --test-dir build/x64 --output-on-failure -j1 "$@"
