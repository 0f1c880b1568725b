# Sourced: a private Wine prefix and, without a usable display, a private Xvfb.
# Leaves DISPLAY, WINEPREFIX, WINEDEBUG and WINEDLLOVERRIDES exported.
ROOT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$ROOT_DIR/build/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
# Where the 32-bit Wine is installed as well, plain `wine` starts every program through the
# 32-bit loader (emulated on a kernel without i386 support): 64-bit programs use wine64 directly.
if [ -x /usr/lib/wine/wine64 ]; then WINE64=/usr/lib/wine/wine64; else WINE64=$(command -v wine64 || command -v wine); fi
export WINE64

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

# A new prefix takes minutes to initialise where the 32-bit Wine is emulated: keep a pristine
# copy outside the work tree and start every later prefix from it.
PREFIX_CACHE=${WINREL_PREFIX_CACHE:-/var/cache/winrel/wineprefix}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  if [ -f "$PREFIX_CACHE/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")" && rm -rf "$WINEPREFIX" && cp -a "$PREFIX_CACHE" "$WINEPREFIX"
  else
    mkdir -p "$WINEPREFIX"
    "$WINE64" wineboot -i >/dev/null 2>&1 || true
    wineserver -w 2>/dev/null || true
    mkdir -p "$(dirname "$PREFIX_CACHE")" && rm -rf "$PREFIX_CACHE.tmp" &&
      cp -a "$WINEPREFIX" "$PREFIX_CACHE.tmp" && mv "$PREFIX_CACHE.tmp" "$PREFIX_CACHE" || true
  fi
fi
# A persistent server makes every later Wine process start quickly.
wineserver -p 2>/dev/null || true
# Without a window manager Wine stalls whenever a managed window is hidden.
"$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
