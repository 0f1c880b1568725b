#!/usr/bin/env bash
# CTest's runner for the tests against the 32-bit tool: the test program itself is 64-bit, but
# it starts the 32-bit tool, which needs the 32-bit Wine loader, an i386 Linux program. Where no
# i386 program can run, it says why in one line and exits 77, which CTest counts as skipped.
here=$(dirname "$0")
if ! reason=$(bash "$here/../scripts/i386-check.sh"); then
  echo "SKIPPED the 32-bit end-to-end run: $reason"
  exit 77
fi
exec "$here/wine-run.sh" "$@"
