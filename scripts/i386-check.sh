#!/usr/bin/env bash
# Tells whether the 32-bit Wine can start here: its loader is an i386 Linux program, which runs
# where the kernel runs i386 code itself or hands it to an emulator registered with binfmt_misc.
# Prints one line: how it runs (exit 0) or why it cannot (exit 1).
if [ ! -x /usr/lib/wine/wine ]; then
  echo "the 32-bit Wine (wine32:i386) is not installed"; exit 1
fi
if timeout 300 /usr/lib/wine/wine --version >/dev/null 2>&1; then
  if grep -qs '^enabled' /proc/sys/fs/binfmt_misc/qemu-i386; then
    echo "i386 programs run through qemu-i386-static (binfmt_misc)"
  else
    echo "i386 programs run here"
  fi
  exit 0
fi
if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
  echo "this kernel runs no i386 programs and binfmt_misc is not mounted (setup.sh mounts it as root)"
else
  echo "this kernel runs no i386 programs and no emulator is registered for them (setup.sh does that as root)"
fi
exit 1
