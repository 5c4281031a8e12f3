#!/usr/bin/env bash
# Runs the Windows-side tests (build/win must be built), or those matching ctest's -R etc.:
#   scripts/wintest.sh -R startup
# Run as root, they run as the ordinary user kvtest (created if missing): Wine run by root
# writes through read-only files and bypasses other limits a user meets.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
if [ "$(id -u)" -eq 0 ]; then
  id kvtest >/dev/null 2>&1 || useradd --create-home --shell /bin/bash kvtest
  chown -R kvtest build/win
  # Its own Wine state: a prefix made by root belongs to root.
  exec runuser -u kvtest -- env HOME=/home/kvtest KV_WINE_STATE="$root/build/win/wine-kvtest" \
    ctest --test-dir build/win --output-on-failure "$@"
fi
exec ctest --test-dir build/win --output-on-failure "$@"
