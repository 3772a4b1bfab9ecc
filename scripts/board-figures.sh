#!/usr/bin/env bash
# The board's figures for docs/PERFORMANCE.md, on SQLite and on PostgreSQL: a board seeded with
# 100,000 verified runs, one verifying thread (one core), RUNS real runs submitted at once while
# 4 clients read board pages for 10 s. Prints, per database: verified submissions per second,
# board reads per second with their p50 and p99 latency, and the server's peak memory.
# Usage: scripts/board-figures.sh [BUILD_DIR] [RUNS]   (run as root or as a user with initdb)
set -euo pipefail
build=$(realpath "${1:-build}") runs=${2:-20}
work=$(mktemp -d /tmp/aloft-board-figures-XXXXXX) && chmod 755 "$work" && cd "$work"
pids=()
trap 'for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done; rm -rf "$work"' EXIT

printf '620 mouse-move 120 26\n620 mouse-down left\n621 mouse-up left\n700 key-down Space
705 key-up Space\n720 key-down Left\n756 key-up Left\n' >run.script
"$build/aloft" --headless --fixed-step 0.01 --frames 800 --size 240x160 --script run.script \
  --prefs "$work/preferences.json" 2>/dev/null
seed_sql() {  # $1: the series of 1..100000 in the database's words
  echo "INSERT INTO players SELECT 'seed' || i, 'Seed ' || i, 'x', 0 FROM $1;
INSERT INTO runs (id, digest, player_key, mode, claim_cs, submitted, state, time_cs, decided)
  SELECT i, 'seed' || i, 'seed' || i, CASE WHEN i % 2 = 0 THEN 'hard' ELSE 'easy' END,
         100 + i % 6000, 0, 'verified', 100 + i % 6000, 0 FROM $1;
INSERT INTO replays SELECT i, '$(sed "s/'/''/g" best-hard.replay)' FROM $1;
INSERT INTO best SELECT mode, player_key, id, time_cs FROM runs;"
}
start() {
  "$build/aloft-board" --listen 127.0.0.1:0 --database "$1" --workers 1 2>server.log &
  pids+=($!) && server=$!
  until port=$(sed -n 's/.*listening on 127.0.0.1:\([0-9]*\),.*/\1/p' server.log) && [[ -n $port ]]; do
    sleep 0.1
  done
}
measure() {
  local ids=() token=$(od -An -tx1 -N24 /dev/urandom | tr -d ' \n') began=$SECONDS
  for i in $(seq "$runs"); do
    awk -v k="$i" '/^1 length 0.01 [0-9]+$/{$4+=k} /^end /{$2+=k} {print}' best-hard.replay >v.replay
    ids+=($(curl -s -F replay=@v.replay -F name=Bench -F token="$token" \
      "http://127.0.0.1:$port/api/runs" | sed -n 's/.*"id":\([0-9]*\).*/\1/p'))
  done
  local start=$(date +%s.%N)
  "$build/bench/board_reads" 127.0.0.1 "$port" 10 4
  for id in "${ids[@]}"; do
    until curl -s "http://127.0.0.1:$port/api/runs/$id" | grep -q '"state":"verified"'; do sleep 0.2; done
  done
  echo "$runs runs verified in $(echo "$(date +%s.%N) - $start" | bc) s on one verifying thread"
  echo "peak memory: $(sed -n 's/VmHWM:[^0-9]*//p' "/proc/$server/status")"
  kill -TERM "$server" && wait "$server" || true
}

echo "== SQLite"
start "$work/board.sqlite" && kill -TERM "$server" && wait "$server" || true
seed_sql "(WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) SELECT i FROM n)" |
  sqlite3 board.sqlite
start "$work/board.sqlite" && measure

echo "== PostgreSQL"
pgbin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -1)
owner=() && ((EUID == 0)) && owner=(setpriv --reuid=nobody --regid=nogroup --clear-groups) && chown nobody "$work"
"${owner[@]}" "$pgbin/initdb" -D "$work/pg" -U board --auth=trust >/dev/null
port=$((20000 + RANDOM % 40000))
"${owner[@]}" "$pgbin/pg_ctl" -D "$work/pg" -l "$work/pg.log" -w -o "-p $port -k $work -c listen_addresses=127.0.0.1" start >/dev/null
trap '"${owner[@]}" "$pgbin/pg_ctl" -D "$work/pg" -m immediate stop >/dev/null; for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done; rm -rf "$work"' EXIT
database="postgresql://board@127.0.0.1:$port/postgres"
start "$database" && kill -TERM "$server" && wait "$server" || true
{ seed_sql "generate_series(1, 100000) AS s(i)"; echo "SELECT setval('runs_id_seq', 100000);"; } |
  "$pgbin/psql" -q "$database" >/dev/null
start "$database" && measure
