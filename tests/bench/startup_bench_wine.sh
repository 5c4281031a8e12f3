#!/usr/bin/env bash
# A shortcut's start under Wine: from starting Keyvane.exe /Open:X /Close to the macro's first
# effect and to the instance's end, alone and beside a resident instance. Figures only.
#   tests/bench/startup_bench_wine.sh [starts] [Keyvane.exe ...]   (default: this build's)
# Needs the Windows build (scripts/build.sh win).
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/winarch.sh
[ -f "$KV_RUN_BUILD/tools/kvmarker.exe" ] || { echo "build first: scripts/build.sh win" >&2; exit 1; }
export KV_BUILD_DIR="$PWD/$KV_RUN_BUILD"
starts=${1:-10}
shift || true
exes=()
for e in "$@"; do exes+=("$(realpath "$e")"); done
exec python3 tests/bench/startup_bench_wine.py "$starts" "${exes[@]}"
