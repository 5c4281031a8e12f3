#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (build/fuzz) and runs each for a while:
#   scripts/fuzz.sh [seconds-per-target] [target-name-pattern]
# Corpora are kept in build/fuzz/corpus/<target>; a crash leaves its input in build/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-60}
pattern=${2:-}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
cd build/fuzz
for f in tests/*_fuzz; do
  name=$(basename "$f")
  [ -n "$pattern" ] && [[ "$name" != *$pattern* ]] && continue
  mkdir -p "corpus/$name"
  echo "== $name for ${secs}s"
  "$f" "corpus/$name" -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 2>&1 |
    grep -E "^(#|Done|stat::number_of_executed_units|stat::peak_rss_mb|==.*ERROR|SUMMARY)" | tail -4
done
