#!/usr/bin/env bash
# Builds the benchmarks (RelWithDebInfo, in build-bench/ or $ALOFT_BENCH_BUILD) and runs every measurement the
# performance figures come from, writing each one's output and a description of the machine to
# bench-results/DATE-TIME/ and printing a summary. See bench/README.md.
#
#   scripts/benchmarks.sh [--quick]
#     --quick  fewer frames and runs: a check that everything runs, not figures to publish
set -euo pipefail
cd "$(dirname "$0")/.."

frames=10000 runs=20 pacing_frames=3000 repetitions=3
if [[ "${1:-}" == "--quick" ]]; then
  frames=500 runs=3 pacing_frames=300 repetitions=1
fi

build=${ALOFT_BENCH_BUILD:-build-bench}
jobs=$(($(nproc) < 2 ? $(nproc) : 2))
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DALOFT_BUILD_BENCHMARKS=ON \
  "${launcher[@]}" >/dev/null
targets=(aloft chart_bench audio_bench draw_bench preference_lock_bench frame_bench game_timing
  present_probe)
# The chart engine against the scripting language, and the scaling runs, when this tree has them.
optional=(engine_vs_lua scaling_bench)
available=$(ninja -C "$build" -t targets all)
for target in "${optional[@]}"; do
  if grep -q "^$target:" <<<"$available"; then targets+=("$target"); fi
done
ninja -C "$build" -j "$jobs" "${targets[@]}"

results=bench-results/$(date -u +%Y%m%d-%H%M%S)
mkdir -p "$results"
{
  echo "date: $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "commit: $(git rev-parse --short HEAD 2>/dev/null || echo unknown)"
  echo "machine: $(uname -srm), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
  echo "memory: $(awk '/MemTotal/ {printf "%.0f GB", $2 / 1048576}' /proc/meminfo)"
  echo "compiler: $(c++ --version | head -1)"
  echo "build: RelWithDebInfo (-O2 -g), $build"
  echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
} >"$results/machine.txt"

load() { cut -d' ' -f1-3 /proc/loadavg; }
run() {  # run NAME COMMAND...: output to NAME.txt, with the load before and after
  local name=$1
  shift
  echo "== $name" >&2
  {
    echo "\$ $*"
    echo "load before: $(load)"
    timeout 1800 "$@"
    echo "load after: $(load)"
  } >"$results/$name.txt" 2>&1
}

google_benchmark=(--benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true)
run chart_bench "$build/bench/chart_bench" "${google_benchmark[@]}"
run audio_bench "$build/bench/audio_bench" "${google_benchmark[@]}"
run draw_bench "$build/bench/draw_bench" "${google_benchmark[@]}"
run preference_lock_bench "$build/bench/preference_lock_bench" "${google_benchmark[@]}"
for optional_bench in "${optional[@]}"; do
  if [[ -x "$build/bench/$optional_bench" ]]; then
    run "$optional_bench" "$build/bench/$optional_bench"
  else
    echo "$optional_bench: not in this tree, skipped" >"$results/$optional_bench.txt"
  fi
done
mkdir -p "$results/frame-samples"
run frame_bench "$build/bench/frame_bench" --frames "$frames" --samples "$results/frame-samples"
run startup "$build/bench/game_timing" startup --runs "$runs"
run memory "$build/bench/game_timing" memory
run pacing-idle "$build/bench/game_timing" pacing --frames "$pacing_frames"
if command -v stress-ng >/dev/null; then
  # One core kept busy for the whole pacing run; stopped by its own process id.
  stress-ng --cpu 1 --timeout 600 --quiet &
  stress=$!
  trap 'kill "$stress" 2>/dev/null || true' EXIT
  sleep 1
  run pacing-one-core-busy "$build/bench/game_timing" pacing --frames "$pacing_frames"
  kill "$stress"
  wait "$stress" 2>/dev/null || true
  trap - EXIT
else
  echo "stress-ng is not installed (scripts/install-deps.sh installs it): skipped" \
    >"$results/pacing-one-core-busy.txt"
fi

echo "load average at end: $(load)" >>"$results/machine.txt"
{
  cat "$results/machine.txt"
  echo
  echo "## chart_bench, audio_bench, draw_bench, preference_lock_bench (medians)"
  grep -h '_median' "$results/chart_bench.txt" "$results/audio_bench.txt" \
    "$results/draw_bench.txt" "$results/preference_lock_bench.txt" || true
  for optional_bench in "${optional[@]}"; do
    echo
    echo "## $optional_bench"
    tail -n 20 "$results/$optional_bench.txt"
  done
  echo
  echo "## frame_bench"
  grep -v '^\$\|^load\|sound is off' "$results/frame_bench.txt"
  for name in startup memory pacing-idle pacing-one-core-busy; do
    echo
    echo "## $name"
    grep -v '^\$\|sound is off' "$results/$name.txt"
  done
} | tee "$results/summary.txt"
echo "results: $results" >&2
