#!/usr/bin/env bash
# Builds and runs the benchmark under Wine on a private Xvfb; prints one table per size.
# Sizes default to 100 500 2000; pass others as arguments.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh >/dev/null
source scripts/wine-env.sh --private
trap '[ -n "${XVFB_PID:-}" ] && kill $XVFB_PID 2>/dev/null; wineserver -k 2>/dev/null || true' EXIT
"$WINE64" build/x64/tests/winrel_bench.exe "$@"
