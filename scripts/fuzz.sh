#!/usr/bin/env bash
# Fuzzes one input decoder with libFuzzer, in its own clang build (build-fuzz).
#   scripts/fuzz.sh TARGET [SECONDS] [extra libFuzzer options]   run TARGET for SECONDS (600)
#   scripts/fuzz.sh TARGET merge      minimize fuzz/corpus/TARGET with what the runs found
# TARGET: image, sound, preferences, script or replay. New inputs collect in
# build-fuzz/corpus/TARGET, failing inputs in build-fuzz/artifacts/TARGET. One process, one
# worker: the machine is shared.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh image|sound|preferences|script|replay [SECONDS|merge]}
mode=${2:-600}
shift $(( $# >= 2 ? 2 : 1 ))

case $target in
  image|sound) malloc_limit_mb=1024 ;;
  *) malloc_limit_mb=512 ;;
esac

CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DALOFT_FUZZ=ON -DALOFT_BUILD_TESTS=OFF -DALOFT_BUILD_BENCHMARKS=OFF -DALOFT_BUILD_TOOLS=OFF \
  > /dev/null
cmake --build build-fuzz --target "fuzz_$target" -j 2

seeds=fuzz/corpus/$target
found=build-fuzz/corpus/$target
artifacts=build-fuzz/artifacts/$target
mkdir -p "$found" "$artifacts"
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# Inputs of faults already fixed start every run too, but stay out of the minimized corpus.
regressions=()
[[ -d fuzz/regressions/$target ]] && regressions=("fuzz/regressions/$target")

if [[ $mode == merge ]]; then
  # The smallest set of inputs that keeps every feature reached by the seeds and by the runs.
  merged=$(mktemp -d)
  "build-fuzz/fuzz/fuzz_$target" -merge=1 -rss_limit_mb=2048 -malloc_limit_mb=$malloc_limit_mb \
    -timeout=10 "$merged" "$seeds" "$found" "$@"
  rm -f "$seeds"/*
  cp "$merged"/* "$seeds"/
  rm -rf "$merged"
  exit 0
fi

"build-fuzz/fuzz/fuzz_$target" -max_total_time="$mode" -timeout=10 \
  -rss_limit_mb=2048 -malloc_limit_mb=$malloc_limit_mb -print_final_stats=1 \
  -artifact_prefix="$artifacts/" "$found" "$seeds" "${regressions[@]}" "$@"
