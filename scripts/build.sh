#!/usr/bin/env bash
# Builds the native core with its unit tests (build/native) and Keyvane.exe with the
# Windows-side tests (build/win). Where the kernel cannot run 32-bit programs, build/win holds
# only Keyvane.exe and the tests are built for x86_64 in build/win64 (see winarch.sh).
# `scripts/build.sh exe` builds only the program, for running it.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/winarch.sh
what=${1:-all}
if [ "$what" = all ] || [ "$what" = native ]; then
  cmake -S . -B build/native -G Ninja -DKV_SANITIZE=ON >/dev/null
  cmake --build build/native
fi
if [ "$what" = exe ]; then
  cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release -DKV_TESTS=OFF >/dev/null
  cmake --build build/win --target Keyvane
  if [ "$KV_WIN_ARCH" = win64 ]; then
    cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build/win64 --target Keyvane
  fi
fi
if [ "$what" = all ] || [ "$what" = win ]; then
  if [ "$KV_WIN_ARCH" = win64 ]; then
    echo "This kernel cannot run 32-bit programs: the Windows-side tests use an x86_64 build (build/win64)."
    cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release -DKV_TESTS=OFF >/dev/null
    cmake --build build/win
    cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build/win64
  else
    cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build/win
  fi
fi
