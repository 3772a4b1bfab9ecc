#!/usr/bin/env bash
# Plays a whole scripted session of the real game (the logos and two random whole runs) in the
# sanitizer build, headless on the fixed-step clock, with LeakSanitizer on: any block of ours
# still allocated and unreachable at exit fails it. The GL libraries stay loaded until the end
# (tests/soak/keep_libraries_loaded.cpp) so that the driver's blocks are seen as its own; what
# the driver itself loses is suppressed by library in scripts/lsan-suppressions.txt.
#
#   scripts/leak-check.sh [BUILD_DIR]      (default build-asan, built with -DALOFT_SANITIZE=ON)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-asan}

work=$(mktemp -d /tmp/aloft-leak-check-XXXXXX)
trap 'rm -rf "$work"' EXIT

"$build/tests/soak/aloft-soak" --print-script --seed 1 --runs 2 --width 480 --height 320 \
  >"$work/script.txt" 2>"$work/runs.txt"
last_frame=$(awk '{ print $NF }' "$work/runs.txt")

# The sanitizer runtime must come first among the preloaded libraries.
asan_runtime=$(ldd "$build/aloft" | awk '/libasan/ { print $3 }')
keep_loaded="$build/tests/soak/libaloft_keep_libraries_loaded.so"

status=0
LD_PRELOAD="$asan_runtime $keep_loaded" ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:exitcode=23 \
  LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=1" \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  timeout 600 "$build/aloft" --headless --size 480x320 --fixed-step 0.01 \
  --prefs "$work/prefs.json" --script "$work/script.txt" --frames "$last_frame" \
  >"$work/out.txt" 2>"$work/err.txt" || status=$?
cat "$work/err.txt" >&2

# Both runs must have been played to their landing: the seed gives a hard run, then an easy
# one, and each stores a best time in its mode.
if ! grep -q '"Hard"' "$work/prefs.json" 2>/dev/null || ! grep -q '"Easy"' "$work/prefs.json"; then
  echo "leak check: a run did not land (best times: $(cat "$work/prefs.json" 2>/dev/null))" >&2
  status=1
fi
if ((status != 0)); then
  echo "leak check: FAILED (exit status $status)" >&2
  exit 1
fi
echo "leak check: clean ($(cat "$work/runs.txt"); best times $(tr -d ' \n' <"$work/prefs.json"))"
