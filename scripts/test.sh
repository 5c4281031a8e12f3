#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests (with ASan and UBSan), then the
# Windows-side tests through Wine on a private virtual display. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/deps.sh
scripts/build.sh

echo "== native unit tests"
ctest --test-dir build/native --output-on-failure -j2

echo "== Windows-side tests (Wine)"
if [ "$(id -u)" -eq 0 ]; then
  # Wine run by root writes through read-only files and bypasses other checks a user meets;
  # the program is tested as an ordinary user.
  id kvtest >/dev/null 2>&1 || useradd --create-home --shell /bin/bash kvtest
  chown -R kvtest build/win
  chmod o+rx "$root" 2>/dev/null || true
  # Its own Wine state: a prefix made by root belongs to root.
  runuser -u kvtest -- env HOME=/home/kvtest KV_WINE_STATE="$root/build/win/wine-kvtest" \
    ctest --test-dir build/win --output-on-failure "$@"
else
  ctest --test-dir build/win --output-on-failure "$@"
fi
