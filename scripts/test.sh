#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs every test under Wine on a private Xvfb:
# the test programs, 64-bit under the 64-bit Wine, with the end-to-end tests once more against
# the shipped 32-bit tool under the 32-bit Wine (emulated where the kernel runs no i386 code);
# then, where i386 code runs natively, every test program built 32-bit.
# Arguments go to CTest (for instance -R e2e). Ends with the time each part took.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS
times=()
lap() { times+=("$1 $((SECONDS - start)) s"); start=$SECONDS; }
bash scripts/setup.sh
lap setup
bash scripts/build.sh
lap build
i386_skip=
if ! i386=$(bash scripts/i386-check.sh); then
  i386_skip=1
  echo "SKIPPED the 32-bit end-to-end run and the 32-bit test programs (CTest lists e2e_x86 as" \
       "not run): $i386"
fi
source scripts/wine-env.sh --private
trap '[ -n "${XVFB_PID:-}" ] && kill $XVFB_PID 2>/dev/null; wineserver -k 2>/dev/null || true' EXIT
lap "Wine prefix"
# One test program at a time: they share the pointer, the keyboard and the desktop.
rc=0
ctest --test-dir build/x64 --output-on-failure -j1 "$@" || rc=$?
lap "64-bit tests"
# The test programs once more, built 32-bit, under the 32-bit Wine. Where i386 code runs only
# through the emulator every 32-bit process start takes one to three minutes, and the test
# programs start dozens of processes: there the end-to-end tests against the 32-bit tool above
# stand for them, and this says so.
if [ -z "${i386_skip:-}" ]; then
  if grep -qs '^enabled' /proc/sys/fs/binfmt_misc/qemu-i386; then
    echo "SKIPPED the 32-bit test programs: i386 code runs here only through qemu, too slowly;" \
         "the end-to-end tests against the 32-bit tool ran (e2e_x86)"
  else
    ctest --test-dir build/x86 --output-on-failure -j1 "$@" || rc=$?
    lap "32-bit tests"
  fi
fi
echo "time taken: $(IFS=,; echo "${times[*]}" | sed 's/,/, /g')"
exit $rc
