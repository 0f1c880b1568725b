#!/usr/bin/env bash
# Installs what building and running the tool needs on a fresh Debian machine.
# wine32 must stay absent: this kernel runs no 32-bit Linux binaries, so /usr/bin/wine
# has to use the 64-bit loader.
set -euo pipefail
pkgs=(cmake make g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
      wine wine64 xvfb xdotool imagemagick googletest python3)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
