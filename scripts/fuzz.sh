#!/usr/bin/env bash
# Fuzzes one input decoder with libFuzzer, in its own clang build (build-fuzz).
#   scripts/fuzz.sh TARGET [SECONDS] [extra libFuzzer options]   run TARGET for SECONDS (600)
#   scripts/fuzz.sh TARGET seeds      choose the seed set kept in git (fuzz/corpus/TARGET)
# TARGET: image, sound, preferences, script or replay. Git keeps only a seed set of at most 50
# inputs a target and the inputs of faults found (fuzz/regressions); a run starts from them and
# regrows the full corpus in build-fuzz/corpus/TARGET, failing inputs going to
# build-fuzz/artifacts.
# `seeds` picks, from the seeds and the grown corpus, one input at a time the one reaching the
# most code edges not yet reached, up to 50. One process, one worker: the machine is shared.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh image|sound|preferences|script|replay [SECONDS|seeds]}
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

# Inputs of faults already fixed start every run too, but stay out of the seed set.
regressions=()
[[ -d fuzz/regressions/$target ]] && regressions=("fuzz/regressions/$target")

if [[ $mode == seeds ]]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  mkdir "$work/merged"
  # The merge's control file lists, for each input in turn, the edges it reached first.
  "build-fuzz/fuzz/fuzz_$target" -merge=1 -use_counters=0 -merge_control_file="$work/control" \
    -rss_limit_mb=2048 -malloc_limit_mb=$malloc_limit_mb -timeout=10 "$work/merged" "$seeds" \
    "$found" "$@" 2>/dev/null
  awk -v limit=50 '
    NR == 1 { files = $1; next }
    NR == 2 { next }
    NR <= files + 2 { name[NR - 3] = $0; next }
    $1 == "COV" { for (i = 3; i <= NF; ++i) edge[$2, i - 2] = $i; count[$2] = NF - 2 }
    END {
      for (pick = 0; pick < limit; ++pick) {
        best = -1; bestGain = 0
        for (f in count) {
          gain = 0
          for (i = 1; i <= count[f]; ++i) if (!(edge[f, i] in reached)) ++gain
          if (gain > bestGain) { bestGain = gain; best = f }
        }
        if (best < 0) break
        for (i = 1; i <= count[best]; ++i) reached[edge[best, i]] = 1
        delete count[best]
        # The same input may come from the seeds and from the grown corpus.
        base = name[best]; sub(/.*\//, "", base)
        if (base in chosen) { --pick; continue }
        chosen[base] = 1
        print name[best]
      }
    }' "$work/control" >"$work/chosen"
  mkdir "$work/seeds"
  xargs -a "$work/chosen" -d '\n' cp -t "$work/seeds"
  rm -f "$seeds"/*
  cp "$work/seeds"/* "$seeds"/
  echo "fuzz/corpus/$target: $(ls "$seeds" | wc -l) seeds"
  exit 0
fi

"build-fuzz/fuzz/fuzz_$target" -max_total_time="$mode" -timeout=10 \
  -rss_limit_mb=2048 -malloc_limit_mb=$malloc_limit_mb -print_final_stats=1 \
  -artifact_prefix="$artifacts/" "$found" "$seeds" "${regressions[@]}" "$@"
