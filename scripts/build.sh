#!/usr/bin/env bash
# Builds both targets: build/x86 (the shipped 32-bit tool) and build/x64 (64-bit, with tests).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
cmake -S . -B build/x86 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686.cmake" >/dev/null
cmake --build build/x86 -j"$(nproc)"
cmake -S . -B build/x64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64.cmake" \
  -DWINREL_TESTS=ON -DWINREL_X86_EXE="$root/build/x86/winrel.exe" >/dev/null
cmake --build build/x64 -j"$(nproc)"
