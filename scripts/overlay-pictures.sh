#!/usr/bin/env bash
# Draws the README's pictures of what the view shows over the game: the first start's hint, the
# pause screen with the volume note, a replay playing and a replay ended; each in the default
# window and in full screen on a 1600x900 screen. The game runs in a virtual X server that has no
# window manager, so this script moves the full-screen window over the screen as one would.
# Usage: scripts/overlay-pictures.sh [BUILD_DIR]   (needs xvfb-run, xdotool and ImageMagick 6)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = --inside ]; then
  game=$2 work=$3 mode=$4
  start() {
    "$game" "$@" 2>>"$work/game.err" &
    pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Aloft$' | head -n 1)
    xdotool windowfocus --sync "$window"
    if [ "$mode" = full ]; then xdotool windowmove "$window" 0 0 windowsize "$window" 1600 900; fi
  }
  shoot() {
    if [ "$mode" = full ]; then
      import -window root -resize 50% -depth 8 "$work/$1-full.png"
    else
      import -window "$window" -depth 8 "$work/$1.png"
    fi
  }
  quit() { xdotool key ctrl+q; wait "$pid"; }
  fullscreen=()
  if [ "$mode" = full ]; then fullscreen=(--fullscreen); fi

  rm -f "$work/prefs.json"*
  start --prefs "$work/prefs.json" "${fullscreen[@]}"
  sleep 8
  shoot first-start
  xdotool key ctrl+p
  sleep 0.5
  xdotool key ctrl+minus
  sleep 0.3
  shoot pause-screen
  quit

  start --replay "$work/best-hard.replay" "${fullscreen[@]}"
  sleep 2
  shoot replay
  sleep 40  # the run lasts 5.75 s, drawn slower by a software renderer in full screen
  shoot replay-ended
  quit
  exit 0
fi

build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A best run to watch: the HARD panel clicked, a run started, flown up for four seconds, turned
# down and landed; kept beside the preference file.
cat >"$work/script.txt" <<'SCRIPT'
700 mouse-move 480 104
700 mouse-down left
701 mouse-up left
760 key-down Space
761 key-up Space
1160 key-down Right
1196 key-up Right
SCRIPT
"$build/aloft" --headless --fixed-step 0.01 --frames 1600 --script "$work/script.txt" \
  --prefs "$work/best.json" 2>/dev/null
[ -e "$work/best-hard.replay" ] || { echo "the run was not kept" >&2; exit 1; }
for mode in window full; do
  xvfb-run -a -s "-screen 0 1600x900x24" "$0" --inside "$build/aloft" "$work" "$mode"
done
for picture in first-start pause-screen replay replay-ended; do
  for file in "$picture" "$picture-full"; do
    /usr/bin/convert "$work/$file.png" -define png:exclude-chunks=date,time "docs/$file.png"
  done
done
