#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs the suite.
#   ./test.sh         the suite (a few minutes of tests after the build)
#   ./test.sh --all   then the board's heavy cases (a load of 200 runs, 50 in flight through a
#                     kill), the suite again under AddressSanitizer and UndefinedBehaviorSanitizer
#                     in its own build, and a leak-checked session of the real game
set -euo pipefail
cd "$(dirname "$0")"
case ${1:-} in
  --all) all=1 ;;
  "") all=0 ;;
  *) echo "usage: ./test.sh [--all]" >&2; exit 2 ;;
esac
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DALOFT_WARNINGS_AS_ERRORS=ON -DALOFT_BUILD_TOOLS=ON
cmake --build build
ctest --test-dir build --output-on-failure -j "$(nproc)"

if ((all)); then
  ALOFT_HEAVY_TESTS=1 ctest --test-dir build --output-on-failure -R '^board\.postgres$'
  scripts/sanitizer-tests.sh
fi
