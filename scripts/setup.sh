#!/usr/bin/env bash
# Installs what building, running and testing the tool needs on a Debian 12 machine, a bare one
# too (debootstrap minbase), from Debian's packages only. Safe to run again: it installs only
# what is missing and never unregisters or removes anything.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

# Without fonts-liberation and fonts-wine the dialog's "Tahoma" falls back to another face, and the
# dialog takes other base units, so every control lands elsewhere.
pkgs=(cmake make g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
      wine wine64 fonts-liberation fonts-wine xvfb xdotool imagemagick googletest python3)
# The shipped tool is 32-bit: it runs under the 32-bit Wine, whose loader is an i386 program.
i386_pkgs=(wine32:i386)

missing() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}
updated=0
install() {
  [ $# -gt 0 ] || return 0
  echo "installing: $*"
  if [ $updated = 0 ]; then apt-get update -qq; updated=1; fi
  apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

install $(missing "${pkgs[@]}")

# The 32-bit part is best effort: without it the tests against the 32-bit tool are skipped, and
# scripts/test.sh says so. The C library comes first: its loader is the i386 program that tells
# whether the kernel runs them.
if [ "$(id -u)" = 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  updated=0
fi
install $(missing libc6:i386) || echo "i386: libc6:i386 could not be installed"

# Enables i386 programs only where the kernel cannot run them itself: registers Debian's static
# qemu for i386 ELF files with binfmt_misc. The F flag opens the emulator once, at registration,
# so that it serves chroots and containers that do not hold it.
enable_i386() {
  local loader=/lib/ld-linux.so.2 binfmt=/proc/sys/fs/binfmt_misc
  if "$loader" --version >/dev/null 2>&1; then
    echo "i386: this machine already runs i386 programs; nothing to enable"
    return 0
  fi
  if [ "$(id -u)" != 0 ]; then
    echo "i386: this machine runs no i386 programs and enabling them needs root; 32-bit tests will be skipped"
    return 0
  fi
  install $(missing qemu-user-static)
  [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || true
  if [ ! -e "$binfmt/register" ]; then
    echo "i386: binfmt_misc cannot be mounted here; 32-bit tests will be skipped"
    return 0
  fi
  # The ELF header of an i386 executable or shared object (class 32, little-endian, machine 3).
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  if [ ! -e "$binfmt/qemu-i386" ]; then
    echo ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:F" >"$binfmt/register"
  fi
  if "$loader" --version >/dev/null 2>&1; then
    echo "i386: enabled through qemu-i386-static registered with binfmt_misc (F flag)"
  else
    echo "i386: qemu-i386-static is registered, yet i386 programs do not run; 32-bit tests will be skipped"
  fi
}
enable_i386
install $(missing "${i386_pkgs[@]}") ||
  echo "i386: ${i386_pkgs[*]} could not be installed; 32-bit tests will be skipped"
