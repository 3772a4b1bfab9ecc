#!/bin/sh
# Input latency of the real game in a real-time headless run: from a key event's arrival in the
# queue to the end of the buffer swap of the first frame whose charts saw it. Prints the count,
# median, 99th percentile and maximum in milliseconds, and how many events were seen by the next
# frame presented (1) or the one after (2, a frame being drawn when they arrived).
# Usage: bench/input_latency.sh BUILD_DIR [FRAMES]
set -eu
build=${1:?usage: input_latency.sh BUILD_DIR [FRAMES]}
frames=${2:-3000}
samples=$(mktemp)
prefs=$(mktemp -d)
trap 'rm -rf "$samples" "$prefs"' EXIT
ALOFT_LATENCY_FILE=$samples LD_PRELOAD=$build/bench/libinput_latency_probe.so \
  "$build/aloft" --headless --frames "$frames" --prefs "$prefs/prefs.json" 2>/dev/null
sort -n "$samples" | awk '{ v[NR] = $1; frames[$2 > 2 ? 3 : $2]++ } END {
  if (NR == 0) { print "no samples"; exit 1 }
  p99 = int(NR * 0.99 + 0.999); if (p99 > NR) p99 = NR
  printf "events %d  median %.2f ms  p99 %.2f ms  max %.2f ms\n", NR, v[int((NR + 1) / 2)] / 1000, v[p99] / 1000, v[NR] / 1000
  printf "seen by the next frame presented %d, the one after %d, later %d\n", frames[1], frames[2], frames[3]
}'
