#!/usr/bin/env bash
# Installs what is missing, builds, and runs the tool under Wine. On a machine without a
# display it runs on a private Xvfb and leaves a screenshot in build/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
  source scripts/wine-env.sh
  exec "$WINE64" build/x64/winrel.exe
fi
source scripts/wine-env.sh --private
"$WINE64" build/x64/winrel.exe &
tool=$!
sleep 4
import -window root build/screenshot.png
echo "The tool runs on the private display $DISPLAY; screenshot: $PWD/build/screenshot.png"
echo "Press Enter to close it."
read -r _ || true
wineserver -k || true
kill "$XVFB_PID" 2>/dev/null || true
wait "$tool" 2>/dev/null || true
