#!/usr/bin/env bash
# Installs what is missing, builds a Release build and starts the game with the given arguments.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DALOFT_BUILD_TESTS=OFF -DALOFT_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-release --target aloft
exec build-release/aloft "$@"
