#!/usr/bin/env bash
# The board's pages under load, for docs/PERFORMANCE.md: an SQLite board filled with RUNS verified
# runs through the board's store (bench/board_fill; 20,000 players, every 100th run with its
# flight pictures), the server started with one verifying thread, SUBMITS real runs submitted at
# once, and 4 clients reading pages back to back for SECONDS while those verify: the board (/),
# 50 run pages, 50 player pages and 50 flight pictures, each kind with its p50 and p99.
# Usage: bench/board_pages.sh [BUILD_DIR] [RUNS] [SUBMITS] [SECONDS]
set -euo pipefail
build=$(realpath "${1:-build}") runs=${2:-100000} submits=${3:-4} seconds=${4:-20}
work=$(mktemp -d /tmp/aloft-board-pages-XXXXXX) && chmod 755 "$work" && cd "$work"
server=
trap '[[ -n $server ]] && kill -9 "$server" 2>/dev/null; rm -rf "$work"' EXIT

printf '620 mouse-move 120 26\n620 mouse-down left\n621 mouse-up left\n700 key-down Space
705 key-up Space\n720 key-down Left\n756 key-up Left\n' >run.script
"$build/aloft" --headless --fixed-step 0.01 --frames 800 --size 240x160 --script run.script \
  --prefs "$work/preferences.json" 2>/dev/null
filled=$SECONDS
"$build/bench/board_fill" board.sqlite "$runs" 20000 2>/dev/null
echo "filled $runs runs through the store in $((SECONDS - filled)) s"

"$build/aloft-board" --listen 127.0.0.1:0 --database board.sqlite --workers 1 2>server.log &
server=$!
until port=$(sed -n 's/.*listening on 127.0.0.1:\([0-9]*\),.*/\1/p' server.log) && [[ -n $port ]]; do
  sleep 0.1
done
url=http://127.0.0.1:$port
token=$(od -An -tx1 -N24 /dev/urandom | tr -d ' \n')
for i in $(seq "$submits"); do  # each a distinct replay of the same run
  awk -v k="$i" '/^1 length 0.01 [0-9]+$/{$4+=k} /^end /{$2+=k} {print}' best-hard.replay >v.replay
  curl -s -F replay=@v.replay -F name=Bench -F token="$token" "$url/api/runs" >/dev/null
done
pages=()
for _ in $(seq 50); do
  pages+=(home=/ "run=/runs/$(((RANDOM * 32768 + RANDOM) % runs + 1))"
          "player=/players/Player%20$((RANDOM % (runs < 20000 ? runs : 20000)))"
          "picture=/runs/$(((RANDOM % (runs / 100)) * 100 + 100))/height.svg")
done
echo "while $(curl -s "$url/health" | sed -n 's/.*"waiting":\([0-9]*\).*/\1/p') submissions wait or verify:"
"$build/bench/board_reads" 127.0.0.1 "$port" "$seconds" 4 "${pages[@]}"
echo "then $(curl -s "$url/health" | sed -n 's/.*"waiting":\([0-9]*\).*/\1/p') still waiting;" \
  "verified during the reads: $(grep -c 'verified, 3 pictures' server.log)"
echo "server's peak memory: $(sed -n 's/VmHWM:[^0-9]*//p' "/proc/$server/status")"
kill -TERM "$server" && wait "$server" || true
server=
