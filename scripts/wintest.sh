#!/usr/bin/env bash
# Runs the Windows-side tests (scripts/build.sh win must have run), or those matching ctest's -R etc.:
#   scripts/wintest.sh -R startup
# Run as root, they run as the ordinary user kvtest (created if missing): Wine run by root
# writes through read-only files and bypasses other limits a user meets.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
. scripts/winarch.sh
tests="$KV_RUN_BUILD"
if [ "$(id -u)" -eq 0 ]; then
  id kvtest >/dev/null 2>&1 || useradd --create-home --shell /bin/bash kvtest
  chown -R kvtest "$tests"
  # Its own Wine state: a prefix made by root belongs to root.
  exec runuser -u kvtest -- env HOME=/home/kvtest KV_WINE_STATE="$root/$tests/wine-kvtest" \
    ctest --test-dir "$tests" --output-on-failure "$@"
fi
exec ctest --test-dir "$tests" --output-on-failure "$@"
