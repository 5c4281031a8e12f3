#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests (with ASan and UBSan), the format
# and clang-tidy checks, then the Windows-side tests through Wine on a private virtual display,
# among them the installer and the portable zip that scripts/package.sh makes here. Installs
# what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/deps.sh
scripts/build.sh

echo "== native unit tests"
ctest --test-dir build/native --output-on-failure -j2

echo "== formatting and static checks"
scripts/lint.sh

echo "== release packages (build/dist)"
scripts/package.sh

echo "== Windows-side tests (Wine)"
scripts/wintest.sh "$@"
