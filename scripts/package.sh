#!/usr/bin/env bash
# Builds the release Keyvane.exe (32-bit, build/pkg) and the two files a Windows user downloads,
# with CPack: build/dist/Keyvane-<version>-setup.exe (per-user installer) and
# build/dist/Keyvane-<version>-portable.zip. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/deps.sh
build="$root/build/pkg"
dist="$root/build/dist"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DKV_TESTS=OFF >/dev/null
cmake --build "$build" --target Keyvane --parallel 2
rm -rf "$dist"
mkdir -p "$dist"
(cd "$build" && cpack -C Release -D CPACK_OUTPUT_FILE_PREFIX="$dist" >cpack.log 2>&1) || {
  cat "$build/cpack.log" >&2
  [ -f "$build/_CPack_Packages/win32/NSIS/NSISOutput.log" ] && tail -n 30 "$build/_CPack_Packages/win32/NSIS/NSISOutput.log" >&2
  exit 1
}
for f in "$dist"/*; do
  echo "$f ($(( ($(stat -c %s "$f") + 1023) / 1024 )) KB)"
done
