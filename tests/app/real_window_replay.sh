#!/bin/sh
# A run played in a real window (a virtual X server, input through the X server, the real clock)
# and recorded, then replayed: the session verifies to the best time it stored, the kept best run
# verifies to its claim, and the session verified ends on the same picture. The window carries
# the game's icon and a minimum size. A game asked for a window larger than the screen fits it on
# the screen, and quit with Ctrl+Q writes its recording too.
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
xprop -id "$window" _NET_WM_ICON | grep -q 'Icon (128 x 128)' || fail "the window has no icon"
xprop -id "$window" WM_NORMAL_HINTS | grep -q 'minimum size' || fail "no minimum window size"

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
"$game" --verify "$work/session.replay" --screenshot "$work/replay.png" >"$work/session.out" \
  2>/dev/null ||
  fail "the session does not verify: $(cat "$work/session.out")"
grep -q "^3000 frames played; hard $claim" "$work/session.out" ||
  fail "session: $(cat "$work/session.out"), stored $claim"
cmp -s "$work/window.png" "$work/replay.png" ||
  fail "the replay's last frame differs from the window's: $work/window.png $work/replay.png"

# Ctrl+Q ends the game; the recording is written. The window asked for is larger than the screen.
"$game" --size 4000x3000 --prefs "$work/preferences.json" --record "$work/quit.replay" \
  2>/dev/null &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Aloft$' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")"
eval "$(xdotool getdisplaygeometry --shell | sed 's/^/SCREEN_/')"
[ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le "$SCREEN_WIDTH" ] &&
  [ $((Y + HEIGHT)) -le "$SCREEN_HEIGHT" ] ||
  fail "a window of ${WIDTH}x$HEIGHT at $X,$Y is not on the ${SCREEN_WIDTH}x$SCREEN_HEIGHT screen"
xdotool windowfocus --sync "$window" key ctrl+q
wait "$pid" || fail "Ctrl+Q: the game failed"
"$game" --verify "$work/quit.replay" >/dev/null 2>&1 || fail "Ctrl+Q: no whole recording"
