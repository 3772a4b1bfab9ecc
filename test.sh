#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DALOFT_WARNINGS_AS_ERRORS=ON -DALOFT_BUILD_TOOLS=ON
cmake --build build
ctest --test-dir build --output-on-failure -j "$(nproc)"

# The same suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
scripts/sanitizer-tests.sh
