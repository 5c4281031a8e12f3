#!/usr/bin/env bash
# Builds the native core with its unit tests (build/native) and Keyvane.exe with the
# Windows-side tests (build/win).
set -euo pipefail
cd "$(dirname "$0")/.."
what=${1:-all}
if [ "$what" = all ] || [ "$what" = native ]; then
  cmake -S . -B build/native -G Ninja -DKV_SANITIZE=ON >/dev/null
  cmake --build build/native
fi
if [ "$what" = all ] || [ "$what" = win ]; then
  cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build/win
fi
