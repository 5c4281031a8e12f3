#!/usr/bin/env bash
# Resident program under Wine: hotkey latency (median of N presses) and the window-title poll's
# CPU use with 100 triggers and 100 windows (per poll and over an idle minute). Figures only.
#   tests/bench/resident_bench_wine.sh [presses] [idle_seconds] [phases]
# phases: comma-separated from latency, baseline (no triggers), idle, matching.
# Needs the Windows build (scripts/build.sh win).
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/winarch.sh
[ -f "$KV_RUN_BUILD/tools/kvlatency.exe" ] || { echo "build first: scripts/build.sh win" >&2; exit 1; }
export KV_BUILD_DIR="$PWD/$KV_RUN_BUILD"
exec python3 tests/bench/resident_bench_wine.py "${1:-20}" "${2:-60}" "${3:-latency,idle,matching}"
