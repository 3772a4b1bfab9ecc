#!/usr/bin/env bash
# The verifier's figures: game seconds verified per second for a session of eight hard runs,
# process start to verdict for a best run, peak memory, and what the GL back end costs a frame
# (CPU of a headless replay on Mesa less that of the same replay verified, per frame).
#   bench/verify_timing.sh BINARY RESOURCE_DIR [RUNS] [OLDER_BINARY]
# Records its replays with BINARY (headless, fixed steps), then times each program RUNS times
# (default 10): wall time (min, median), CPU time (user + system, median) and peak RSS (max).
# With OLDER_BINARY (a build from before), the GL cost per frame is given for it too.
set -euo pipefail
binary=$(realpath "$1")
resources=$(realpath "$2")
runs=${3:-10}
older=${4:-}
work=$(mktemp -d /tmp/aloft-verify-timing-XXXXXX)
trap 'rm -rf "$work"' EXIT

# A hard run: HARD clicked after the splash, a key, a turn held until the flyer lands.
cat >"$work/best.script" <<'SCRIPT'
620 mouse-move 120 26
620 mouse-down left
621 mouse-up left
700 key-down Space
705 key-up Space
720 key-down Left
756 key-up Left
SCRIPT
# Eight hard runs of about 5 s each over 74 s, the stats screen between them.
for run in 0 1 2 3 4 5 6 7; do
  at=$((600 + run * 850))
  printf '%d mouse-move 120 26\n%d mouse-down left\n%d mouse-up left\n' $at $at $((at + 1))
  printf '%d key-down Space\n%d key-up Space\n' $((at + 80)) $((at + 85))
  printf '%d key-down Left\n%d key-up Left\n' $((at + 500)) $((at + 536))
done >"$work/eight.script"

record() {  # SCRIPT FRAMES DIR
  mkdir -p "$3"
  "$binary" --headless --fixed-step 0.01 --size 240x160 --resources "$resources" \
    --frames "$2" --script "$1" --prefs "$3/preferences.json" --record "$3/session.replay" \
    >/dev/null 2>&1
}
record "$work/best.script" 800 "$work/best"
record "$work/eight.script" 7400 "$work/eight"

# Runs a command RUNS times; prints "wall_min wall_median cpu_median rss_max_kb".
measure() {
  : >"$work/samples"
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" >/dev/null 2>&1 || true
    cat "$work/time" >>"$work/samples"
  done
  local middle=$(((runs + 1) / 2))
  local wall_min wall_median cpu_median rss
  wall_min=$(cut -d' ' -f1 "$work/samples" | sort -g | head -1)
  wall_median=$(cut -d' ' -f1 "$work/samples" | sort -g | sed -n "${middle}p")
  cpu_median=$(awk '{ printf "%.3f\n", $2 + $3 }' "$work/samples" | sort -g | sed -n "${middle}p")
  rss=$(cut -d' ' -f4 "$work/samples" | sort -g | tail -1)
  echo "$wall_min $wall_median $cpu_median $rss"
}

frames_of() { awk '/^end /{print $2}' "$1"; }
eight_frames=$(frames_of "$work/eight/session.replay")
game_seconds=$(awk -v f="$eight_frames" 'BEGIN { printf "%.2f", f * 0.01 }')

echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "verdicts: $("$binary" --resources "$resources" --verify "$work/best/best-hard.replay")" \
     "/ $("$binary" --resources "$resources" --verify "$work/eight/session.replay")"
read -r wmin wmed cpu rss < <(measure "$binary" --resources "$resources" \
  --verify "$work/eight/session.replay")
echo "eight hard runs ($game_seconds game s, $eight_frames frames): wall min $wmin s, median $wmed s," \
     "CPU median $cpu s; game s per wall s (min) $(awk -v g="$game_seconds" -v w="$wmin" \
     'BEGIN { printf "%.0f", g / w }'), per CPU s $(awk -v g="$game_seconds" -v c="$cpu" \
     'BEGIN { printf "%.0f", g / c }'); peak RSS $((rss / 1024)) MB"
read -r wmin wmed cpu rss < <(measure "$binary" --resources "$resources" \
  --verify "$work/best/best-hard.replay")
echo "best run, start to verdict: wall min $wmin s, median $wmed s, CPU median $cpu s;" \
     "peak RSS $((rss / 1024)) MB"
read -r wmin wmed cpu rss < <(measure "$binary" --version)
echo "the process alone (--version): wall min $wmin s, median $wmed s, CPU median $cpu s;" \
     "peak RSS $((rss / 1024)) MB"

gl_cost() {  # BINARY LABEL
  local session="$work/best/session.replay" frames
  frames=$(frames_of "$session")
  read -r _ _ drawn _ < <(measure "$1" --resources "$resources" --replay "$session" --headless \
    --fixed-step 0.01)
  read -r _ _ verified _ < <(measure "$binary" --resources "$resources" --verify "$session")
  echo "$2: GL back end per frame (headless replay CPU $drawn s less verified $verified s," \
       "$frames frames): $(awk -v d="$drawn" -v v="$verified" -v f="$frames" \
       'BEGIN { printf "%.0f", (d - v) / f * 1e6 }') us"
}
gl_cost "$binary" "this build"
if [[ -n "$older" ]]; then gl_cost "$(realpath "$older")" "older build"; fi
