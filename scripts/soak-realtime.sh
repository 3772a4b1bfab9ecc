#!/usr/bin/env bash
# Plays the real game headless on the real clock for a given time with random whole runs
# (tests/soak/random_runs.h) and samples its resident memory.
#
#   scripts/soak-realtime.sh SECONDS SEED [LOG_DIR [SAMPLE_SECONDS]]
#
# Needs build/aloft and build/tests/soak/aloft-soak (ALOFT_BUILD_DIR chooses another
# build). Writes into LOG_DIR (default /work/notes/soak-realtime-SEED): script.txt, prefs.json,
# rss.log (one line a sample: seconds since start, VmRSS kB, VmHWM kB, the stored best times),
# game.out and game.err, and summary.txt at the end. The game gets SECONDS x 100 frames (100
# a second, its timer's rate) and is stopped if it has not finished 5 minutes after that.
set -euo pipefail
cd "$(dirname "$0")/.."

if (($# < 2)); then
  echo "usage: $0 SECONDS SEED [LOG_DIR [SAMPLE_SECONDS]]" >&2
  exit 2
fi
seconds=$1
seed=$2
logs=${3:-/work/notes/soak-realtime-$seed}
interval=${4:-30}
build=${ALOFT_BUILD_DIR:-build}
frames=$((seconds * 100))
limit=$((seconds + 300))

mkdir -p "$logs"
rm -f "$logs/prefs.json"
"$build/tests/soak/aloft-soak" --print-script --seed "$seed" --until "$frames" >"$logs/script.txt" \
  2>"$logs/runs-in-script.txt"

# The game's file of best times, one line (it is rewritten after each longer run).
best_times() { tr -d ' \n' <"$logs/prefs.json" 2>/dev/null || echo "-"; }
memory() {
  awk '/^VmRSS/ { rss = $2 } /^VmHWM/ { hwm = $2 } END { if (rss) printf "%s %s ", rss, hwm }' \
    "/proc/$1/status" 2>/dev/null
}

"$build/aloft" --headless --size 480x320 --prefs "$logs/prefs.json" --script "$logs/script.txt" \
  --frames "$frames" >"$logs/game.out" 2>"$logs/game.err" &
game=$!
started=$(date +%s)
echo "# seconds VmRSS_kB VmHWM_kB best_times (pid $game, $frames frames, seed $seed)" \
  >"$logs/rss.log"

stopped=no
while kill -0 "$game" 2>/dev/null; do
  elapsed=$(($(date +%s) - started))
  echo "$elapsed $(memory "$game")$(best_times)" >>"$logs/rss.log"
  if ((elapsed > limit)); then
    kill "$game"
    stopped=yes
    break
  fi
  # Sleep in short steps so the end of the game is seen soon.
  for ((slept = 0; slept < interval; slept++)); do
    kill -0 "$game" 2>/dev/null || break
    sleep 1
  done
done
status=0
wait "$game" || status=$?
elapsed=$(($(date +%s) - started))

{
  echo "seed $seed, $frames frames asked, $(cat "$logs/runs-in-script.txt") in the script"
  echo "exit status $status after $elapsed s (stopped by this script: $stopped)"
  echo "best times stored: $(best_times)"
  awk '!/^#/ && NF >= 2 { if (!first) first = $2; last = $2; if ($2 > max) max = $2; n++ }
       END { printf "VmRSS kB: first %d, last %d, max %d over %d samples\n", first, last, max, n }' \
    "$logs/rss.log"
} | tee "$logs/summary.txt"
