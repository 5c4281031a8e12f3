#!/usr/bin/env bash
# Playback timing of the journal recorder under Wine: a 30-second recording of 600 key events
# played at the recorded speed; prints the median and 99th percentile of the difference between
# each event's recorded offset and its playback offset, and the drift at the end.
#   tests/bench/journal_bench_wine.sh [events] [seconds]
# Needs build/win (scripts/build.sh win). Figures only; never a pass/fail test.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/winarch.sh
exe=$KV_RUN_BUILD/tools/kvjbench.exe
[ -f "$exe" ] || { echo "build first: scripts/build.sh win" >&2; exit 1; }
export KV_BUILD_DIR="$PWD/$KV_RUN_BUILD"
exec python3 tests/win/kvwine.py run wine "$exe" "${1:-600}" "${2:-30}"
