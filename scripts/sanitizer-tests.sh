#!/usr/bin/env bash
# Builds the game and its tests with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# the whole suite, then one whole scripted session of the game with LeakSanitizer on. Leak
# checking stays off for the suite: the GL driver keeps allocations of its own for the life of
# the process, and the session below is where leaks are looked for.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DALOFT_SANITIZE=ON \
  -DALOFT_WARNINGS_AS_ERRORS=ON -DALOFT_BUILD_BENCHMARKS=OFF -DALOFT_BUILD_TOOLS=OFF
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$(nproc)"

# The logos and two whole runs of the real game, leak-checked.
scripts/leak-check.sh build-asan
