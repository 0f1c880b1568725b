#!/usr/bin/env bash
# Installs what is missing, builds the 64-bit tool and runs it under Wine. On a machine without a
# display it runs on a private Xvfb, leaves a screenshot in build/screenshot.png and closes the
# tool on Enter (at once when there is no input).
# `run.sh --screenshot FILE` also copies the screenshot to FILE and closes the tool at once: the
# README's picture is refreshed by `bash scripts/run.sh --screenshot docs/screenshot.png`.
set -euo pipefail
cd "$(dirname "$0")/.."
copy_to=
[ "${1:-}" = --screenshot ] && copy_to=${2:?"--screenshot needs a file name"}
bash scripts/setup.sh
bash scripts/build.sh tool
if [ -z "$copy_to" ] && [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
  source scripts/wine-env.sh
  exec "$WINE64" build/x64/winrel.exe
fi
source scripts/wine-env.sh --private
trap 'wineserver -k 2>/dev/null || true; kill "$XVFB_PID" 2>/dev/null || true' EXIT
"$WINE64" build/x64/winrel.exe &
tool=$!
# The dialog's caption names it; the report needs a few ticks to fill in once it shows.
win=
for _ in $(seq 1 240); do
  win=$(xdotool search --onlyvisible --name 'Parent ,  Owner ,  Z-order' 2>/dev/null | head -1) || true
  [ -n "$win" ] && break
  kill -0 "$tool" 2>/dev/null || { echo "the tool ended before its dialog showed" >&2; exit 1; }
  sleep 0.5
done
sleep 2
[ -n "$win" ] || { echo "the tool's dialog did not show in 2 minutes" >&2; exit 1; }
import -window "$win" build/screenshot.png
echo "The tool runs on the private display $DISPLAY; screenshot: $PWD/build/screenshot.png"
if [ -n "$copy_to" ]; then
  cp build/screenshot.png "$copy_to"
else
  echo "Press Enter to close it."
  read -r _ || true
fi
wineserver -k || true
wait "$tool" 2>/dev/null || true
