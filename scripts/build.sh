#!/usr/bin/env bash
# Builds the native core with its unit tests (build/native) and Keyvane.exe with the
# Windows-side tests (build/win), through the presets of CMakePresets.json. Where the kernel
# cannot run 32-bit programs, build/win holds only Keyvane.exe and the tests are built for
# x86_64 in build/win64 (see winarch.sh).
#   scripts/build.sh [all|native|win|exe]    (exe: only the program, for running it)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/winarch.sh
what=${1:-all}
preset() {  # configure and build one preset
  cmake --preset "$1" >/dev/null
  cmake --build --preset "${2:-$1}"
}
if [ "$what" = all ] || [ "$what" = native ]; then
  preset native
fi
if [ "$what" = exe ]; then
  preset win32-exe
  if [ "$KV_WIN_ARCH" = win64 ]; then preset win64 win64-exe; fi
fi
if [ "$what" = all ] || [ "$what" = win ]; then
  if [ "$KV_WIN_ARCH" = win64 ]; then
    echo "This kernel cannot run 32-bit programs: the Windows-side tests use an x86_64 build (build/win64)."
    preset win32-exe win32-exe
    preset win64
  else
    preset win32
  fi
fi
