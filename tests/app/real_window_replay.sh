#!/bin/sh
# A run played in a real window (a virtual X server, input through the X server, the real clock)
# and recorded, then replayed: the session verifies to the best time it stored, the kept best run
# verifies to its claim, and the session replayed headless ends on the same picture. A game quit
# with Ctrl+Q writes its recording too.
# Usage (under xvfb-run): real_window_replay.sh GAME WORK_DIR
set -eu
game=$1 work=$2
rm -rf "$work"
mkdir -p "$work"
fail() { echo "$*" >&2; exit 1; }

"$game" --size 480x320 --frames 3000 --prefs "$work/preferences.json" \
  --record "$work/session.replay" --screenshot "$work/window.png" 2>"$work/game.err" &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Aloft$' | head -n 1)
[ -n "$window" ] || fail "no game window"
xdotool windowfocus --sync "$window"

# Until a best run is kept: a click on HARD (ignored until the splash screens are over), a key to
# start the run, a turn to the left held for about 36 frames.
rounds=0
while [ ! -e "$work/best-hard.replay" ]; do
  kill -0 "$pid" 2>/dev/null || fail "the game ended before a run was kept: $(cat "$work/game.err")"
  rounds=$((rounds + 1))
  [ "$rounds" -le 100 ] || fail "no best run kept after $rounds rounds"
  xdotool mousemove --window "$window" 240 52 click 1
  xdotool key space
  xdotool keydown Left
  sleep 0.36
  xdotool keyup Left
  sleep 0.5
done
wait "$pid" || fail "the game failed: $(cat "$work/game.err")"

claim=$(sed -n 's/^claim Hard //p' "$work/best-hard.replay")
[ -n "$claim" ] || fail "the kept run claims no time"
"$game" --verify "$work/best-hard.replay" >"$work/best.out" 2>/dev/null ||
  fail "the kept run does not verify: $(cat "$work/best.out")"
grep -qx "hard $claim verified" "$work/best.out" || fail "kept run: $(cat "$work/best.out")"
"$game" --verify "$work/session.replay" >"$work/session.out" 2>/dev/null ||
  fail "the session does not verify: $(cat "$work/session.out")"
grep -q "^3000 frames played; hard $claim" "$work/session.out" ||
  fail "session: $(cat "$work/session.out"), stored $claim"
"$game" --headless --replay "$work/session.replay" --screenshot "$work/replay.png" 2>/dev/null
cmp -s "$work/window.png" "$work/replay.png" ||
  fail "the replay's last frame differs from the window's: $work/window.png $work/replay.png"

# Ctrl+Q ends the game; the recording is written.
"$game" --size 480x320 --prefs "$work/preferences.json" --record "$work/quit.replay" \
  2>/dev/null &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Aloft$' | head -n 1)
xdotool windowfocus --sync "$window" key ctrl+q
wait "$pid" || fail "Ctrl+Q: the game failed"
"$game" --verify "$work/quit.replay" >/dev/null 2>&1 || fail "Ctrl+Q: no whole recording"
