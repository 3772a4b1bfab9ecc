#!/bin/sh
# The game's X11 window carries the desktop id as its class and instance name, so the desktop
# matches it to its menu entry; a class the user sets wins. Runs under its own virtual X server.
# Usage: check_window_class.sh GAME APP_ID WORK_DIR
set -eu
game=$1 app_id=$2 work=$3
mkdir -p "$work"

# Starts the game (it ends by itself after 30 s at most) and waits for a window of class $1.
window_has_class() {
  "$game" --frames 3000 --prefs "$work/preferences.json" >/dev/null 2>&1 &
  pid=$!
  found=0
  timeout 20 xdotool search --sync --class "^$1\$" >/dev/null || found=1
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  return $found
}

pattern=$(printf '%s' "$app_id" | sed 's/\./\\./g')
window_has_class "$pattern" || { echo "no window of class $app_id" >&2; exit 1; }
SDL_VIDEO_X11_WMCLASS=aloft-user-choice
export SDL_VIDEO_X11_WMCLASS
window_has_class aloft-user-choice || { echo "the class the user set was not kept" >&2; exit 1; }
