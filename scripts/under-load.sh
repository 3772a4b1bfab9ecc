#!/usr/bin/env bash
# Plays the real game headless on the real clock with random whole runs, first on the machine as
# it is and then with every core kept busy by stress-ng, and compares the frame lengths the game
# measured with the wall time that passed.
#
#   scripts/under-load.sh [SECONDS [SEED [LOG_DIR]]]      (defaults: 60, 11, /work/notes/under-load)
#
# Needs build/aloft and build/tests/soak/aloft-soak (ALOFT_BUILD_DIR chooses another
# build). The game traces its Game chart; the frame length it hands to the flyer ("time") is
# stamped with the wall time as it is printed. For each phase it prints the frames reached, the
# frame lengths (mean, median, 95th percentile, largest), the sum of the frame lengths against
# the wall time of the same frames (1.00: the run clock follows real time), the runs completed
# (best times stored) and the game's exit status.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
seed=${2:-11}
logs=${3:-/work/notes/under-load}
build=${ALOFT_BUILD_DIR:-build}
frames=$((seconds * 100))
mkdir -p "$logs"
"$build/tests/soak/aloft-soak" --print-script --seed "$seed" --until "$frames" >"$logs/script.txt" \
  2>/dev/null

# One phase: the game for `frames` frames, stopped if they take five times their nominal time.
play() {
  local name=$1
  rm -f "$logs/$name-prefs.json"
  local started ended status
  started=$(date +%s.%N)
  set +e
  timeout $((seconds * 5 + 30)) "$build/aloft" --headless --size 480x320 \
    --prefs "$logs/$name-prefs.json" --script "$logs/script.txt" --frames "$frames" \
    --trace Game 2>&1 >/dev/null |
    grep --line-buffered -- '-> time=' |
    perl -MTime::HiRes=time -ne '$| = 1; /time=([0-9.e-]+)/ and printf "%.6f %s\n", time, $1' \
      >"$logs/$name-frames.txt"
  status=${PIPESTATUS[0]}
  set -e
  ended=$(date +%s.%N)
  echo "$name: $frames frames in $(awk -v a="$started" -v b="$ended" 'BEGIN { printf "%.1f", b - a }') s," \
    "exit status $status," \
    "best times $(tr -d ' \n' <"$logs/$name-prefs.json" 2>/dev/null || echo none)"
  # Frame pairs less than a second apart belong to the same run.
  sort -g -k2 "$logs/$name-frames.txt" | awk '{ print $2 }' >"$logs/$name-sorted.txt"
  awk -v sorted="$logs/$name-sorted.txt" '
    NR > 1 && $1 - wall < 1 { walls += $1 - wall; clocks += $2 }
    { wall = $1; n++; sum += $2 }
    END {
      while ((getline value < sorted) > 0) v[++m] = value
      printf "  %d flying frames: length mean %.4f s, median %.4f, 95th percentile %.4f, largest %.4f\n",
        n, sum / n, v[int(m * 0.5) + 1], v[int(m * 0.95) + 1], v[m]
      printf "  run clock %.2f s against wall %.2f s over the same frames: ratio %.3f\n",
        clocks, walls, clocks / walls
    }' "$logs/$name-frames.txt"
}

play unloaded | tee "$logs/summary.txt"
stress-ng --cpu "$(nproc)" --timeout $((seconds * 5 + 60))s --quiet &
stress=$!
sleep 2
play loaded | tee -a "$logs/summary.txt"
kill "$stress" 2>/dev/null || true
wait "$stress" 2>/dev/null || true
