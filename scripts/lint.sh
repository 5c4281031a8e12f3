#!/usr/bin/env bash
# Keeps the sources as clean as they are: every C++ file formatted by .clang-format, and the
# portable core clean under .clang-tidy (against build/native's compile commands, so
# scripts/build.sh native must have run). Prints what it flags and fails when anything is.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0

mapfile -t all < <(git ls-files '*.cpp' '*.h')
unformatted=()
for f in "${all[@]}"; do
  clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
done
echo "clang-format: ${#unformatted[@]} of ${#all[@]} files need formatting"
if [ ${#unformatted[@]} -gt 0 ]; then
  printf '  %s\n' "${unformatted[@]}"
  status=1
fi

# The core: the portable sources of the program's folders (not the Windows side).
mapfile -t core < <(git ls-files 'platform/*.cpp' 'store/*.cpp' 'sendkey/*.cpp' 'journal/*.cpp' 'engine/*.cpp' \
                                 'triggers/*.cpp' 'components/*.cpp' 'forms/*.cpp' 'app/*.cpp' |
                    grep -v -e '_win\.cpp$' -e '^platform/win32/')
out=$(printf '%s\n' "${core[@]}" | xargs -P 2 -n 4 clang-tidy -p build/native --quiet 2>/dev/null | grep -E '(warning|error):' | sort -u || true)
flagged=$(printf '%s' "$out" | grep -oE '^[^:]+' | sort -u | grep -c . || true)
echo "clang-tidy: $flagged of ${#core[@]} core files flagged"
if [ -n "$out" ]; then
  echo "$out"
  status=1
fi
exit $status
