#!/usr/bin/env bash
# Typing benchmark under Wine (prints figures, asserts nothing): Keyvane.exe and
# `xdotool type --delay 0` each type the same mixed 5000-character text into a sink window.
#   tests/bench/typing_bench_wine.sh [characters]
# Needs the Windows build (scripts/build.sh win). As root it runs as the user kvtest, like the
# Windows-side tests, and shares their Wine environment.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
. scripts/winarch.sh
cmake --build "$KV_RUN_BUILD" -j2 >/dev/null
if [ "$(id -u)" -eq 0 ]; then
  id kvtest >/dev/null 2>&1 || useradd --create-home --shell /bin/bash kvtest
  chown -R kvtest "$KV_RUN_BUILD"
  exec runuser -u kvtest -- env HOME=/home/kvtest KV_WINE_STATE="$root/$KV_RUN_BUILD/wine-kvtest" \
    KV_BUILD_DIR="$root/$KV_RUN_BUILD" PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 tests/bench/typing_bench.py "$@"
fi
exec env KV_BUILD_DIR="$root/$KV_RUN_BUILD" PYTHONDONTWRITEBYTECODE=1 python3 tests/bench/typing_bench.py "$@"
