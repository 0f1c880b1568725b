#!/usr/bin/env bash
# Builds both targets with their tests: build/x86 (the shipped 32-bit tool) and build/x64 (64-bit).
# `build.sh tool` builds only the 64-bit tool, which is what scripts/run.sh starts.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
configure_x64() {
  cmake -S . -B build/x64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64.cmake" \
    -DWINREL_TESTS=ON -DWINREL_X86_EXE="$root/build/x86/winrel.exe" >/dev/null
}
if [ "${1:-}" = tool ]; then
  configure_x64
  cmake --build build/x64 -j"$(nproc)" --target winrel
  exit 0
fi
cmake -S . -B build/x86 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686.cmake" -DWINREL_TESTS=ON >/dev/null
cmake --build build/x86 -j"$(nproc)"
configure_x64
cmake --build build/x64 -j"$(nproc)"
