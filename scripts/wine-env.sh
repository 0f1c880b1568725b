# Sourced: a private Wine prefix and, without a usable display, a private Xvfb.
# Leaves DISPLAY, WINEPREFIX, WINEDEBUG and WINEDLLOVERRIDES exported.
ROOT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$ROOT_DIR/build/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

start_private_xvfb() {
  local n
  for n in $(seq 90 120); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=:$n
    for _ in $(seq 1 50); do [ -e /tmp/.X11-unix/X$n ] && return 0; sleep 0.1; done
  done
  echo "could not start Xvfb" >&2; return 1
}

if [ "${1:-}" = "--private" ] || [ -z "${DISPLAY:-}" ]; then
  start_private_xvfb
fi

# A persistent server makes every later Wine process start quickly.
wineserver -p 2>/dev/null || true
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
fi
# Without a window manager Wine stalls whenever a managed window is hidden.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
