#!/usr/bin/env bash
# aloft-board as players meet it: real servers on loopback, runs recorded by the real game and
# sent with `aloft --submit` or curl. Usage: board_test.sh ALOFT ALOFT_BOARD WORK sqlite|postgres
#   sqlite:   a kept best run listed at its time and rank; hostile submissions refused with their
#             reason and never listed; the same replay is the same run; runs sent faster than
#             they are verified refused past the waiting limits; a clean stop on SIGTERM.
#   browser:  the pages in headless Chromium: the board in order, a run's page, at a phone's width
#             and a desktop's not blank and no horizontal scroll, a hostile name shown as text.
#   postgres: a cluster made with initdb as an unprivileged user; two servers share it, one is
#             killed with -9 while runs are in flight: no accepted run is lost, none verified twice,
#             none listed unverified. With ALOFT_HEAVY_TESTS=1 (./test.sh --all): 50 in flight,
#             then 200 runs from 20 concurrent clients, all verified, server memory bounded.
set -euo pipefail
aloft=$1 board=$2 work=$3 part=$4
heavy=${ALOFT_HEAVY_TESTS:-0}
# CPU seconds a verification may use (four times that on the wall clock): short, so that a killed
# server's leases run out soon; longer under the heavy load, where verifiers wait for a core.
limit=$((heavy ? 30 : 5))
rm -rf "$work" && mkdir -p "$work" && cd "$work"
pids=()
cleanup() { for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done; }
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# start_board NAME DATABASE [OPTION...]: a server on a free port; sets url_NAME and pid_NAME.
start_board() {
  "$board" --listen 127.0.0.1:0 --database "$2" --workers 2 --time-limit "$limit" "${@:3}" ${ALOFT_BOARD_OPTIONS:-} 2>"$1.log" &
  pids+=($!) && printf -v "pid_$1" %s $!
  for _ in $(seq 100); do
    local port=$(sed -n 's/.*listening on 127.0.0.1:\([0-9]*\),.*/\1/p' "$1.log")
    [[ -n $port ]] && printf -v "url_$1" %s "http://127.0.0.1:$port" && return
    sleep 0.1
  done
  fail "$1 did not start: $(cat "$1.log")"
}
# record DIR FRAME: a hard best run kept in DIR, its left turn ended at FRAME.
record() {
  mkdir -p "$1"
  printf '620 mouse-move 120 26\n620 mouse-down left\n621 mouse-up left\n700 key-down Space
705 key-up Space\n720 key-down Left\n%s key-up Left\n' "$2" >"$1/run.script"
  "$aloft" --headless --fixed-step 0.01 --frames 900 --size 240x160 --script "$1/run.script" \
    --prefs "$PWD/$1/preferences.json" 2>/dev/null
}
# variant N: Ann's run with N frames more on the stats screen after it: another run, same time.
variant() { awk -v k="$1" '/^1 length 0.01 [0-9]+$/{$4+=k} /^end /{$2+=k} {print}' ann/best-hard.replay; }
token() { od -An -tx1 -N24 /dev/urandom | tr -d ' \n'; }
# post URL FILE NAME TOKEN: prints the run's id, or nothing when refused.
post() {
  curl -s -m 30 -F "replay=@$2" -F "name=$3" -F "token=$4" "$1/api/runs" | sed -n 's/.*"id":\([0-9]*\).*/\1/p'
  echo
}
state() { curl -s -m 10 "$1/api/runs/$2" | sed -n 's/.*"state":"\([a-z]*\)".*/\1/p'; }
# wait_verified URL IDS...: every run verified within the time allowed.
wait_verified() {
  local url=$1 deadline=$((SECONDS + ${#@} * 6 + 60)); shift
  for id in "$@"; do
    until [[ $(state "$url" "$id") == verified ]]; do
      ((SECONDS < deadline)) || fail "run $id is $(state "$url" "$id")"
      sleep 0.5
    done
  done
}
declare -A tokens=()
# send_together URL FIRST NAME...: each NAME, with one token per name for the whole test, posts
# its own variant of Ann's run (FIRST, FIRST+1, ...), all at once; leaves sent/N.{code,head,body}.
send_together() {
  local url=$1 n=$2 sending=() && shift 2 && mkdir -p sent
  for name in "$@"; do
    [[ -n ${tokens[$name]:-} ]] || tokens[$name]=$(token)
    variant "$n" >"sent/$n.replay"
    curl -s -m 30 -D "sent/$n.head" -o "sent/$n.body" -w '%{http_code}' -F "replay=@sent/$n.replay" \
      -F "name=$name" -F "token=${tokens[$name]}" "$url/api/runs" >"sent/$n.code" &
    sending+=($!) && n=$((n + 1))
  done
  wait "${sending[@]}"
}
# refusals STATUS SECONDS TEXT FILE...: each answer of the sent FILEs (sent/N.code) with STATUS
# says TEXT and to retry after SECONDS.
refusals() {
  local status=$1 seconds=$2 text=$3 && shift 3
  for code in $(grep -l "^$status\$" "$@"); do
    grep -qF "$text" "${code%.code}.body" && grep -qi "^retry-after: $seconds" "${code%.code}.head" ||
      fail "$(cat "${code%.code}".{head,body})"
  done
}
submit() { "$aloft" --prefs "$PWD/$1/preferences.json" --submit "$2" --name "$3" ${4:+--server "$4"} 2>&1; }

# chrome ARGS...: a headless Chromium with a fresh profile, nothing fetched but what it is given.
chrome() {
  local profile && profile=$(mktemp -d)
  timeout 60 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$profile" "$@" 2>/dev/null || true
  rm -rf "$profile"
}
# probe URL WIDTH: the page laid out in a frame WIDTH wide (a window is never narrower than 500),
# its pictures fetched from the server: "widths <frame> <page>; bold <b elements>; pictures
# <loaded and drawn>/<img elements>; rows <rank|name|time of the first table>..."
probe() {
  local html && html=$(curl -s "$1" | sed "s|<head>|<head><base href=\"${1%/*}/\">|; s/&/\\&amp;/g; s/\"/\\&quot;/g")
  printf '<iframe width="%s" height="800" srcdoc="%s"></iframe><script>onload=()=>{const d=
frames[0].document,i=[...d.images];document.body.append(`widths ${frames[0].innerWidth} ${d.
documentElement.scrollWidth}; bold ${d.querySelectorAll("b").length}; pictures ${i.filter(p=>
p.complete&&p.naturalWidth>0&&p.getBoundingClientRect().width>0).length}/${i.length}; rows`,...[
...d.querySelectorAll("table")[0].tBodies[0].rows].map(r=>" "+[...r.cells].slice(0,3).map(c=>c.
textContent).join("|")))}</script>' "$2" "$html" >probe.html
  chrome --window-size=1400,900 --virtual-time-budget=5000 --dump-dom "file://$PWD/probe.html" |
    sed -n 's/.*<\/script>\(widths.*\)<\/body>.*/\1/p'
}

record ann 756
if [[ $part == browser ]]; then
  record bob 745
  start_board one board.sqlite
  hostile=$'<b>x</b> "Q\' \xe2\x80\x8f'
  variant 2 >mark.replay && mkdir -p eve linked
  # Bob's preferences through a link of his own: his kept run is beside the file it points at.
  ln -s ../bob/preferences.json linked/preferences.json
  for run in "ann hard Ann" "linked hard Bob" "eve mark.replay $hostile"; do
    read -r player file name <<<"$run"
    out=$(submit "$player" "$file" "$name" "$url_one") || fail "$name's run: $out"
  done
  shown=$'&lt;b&gt;x&lt;/b&gt; "Q\' \xe2\x80\x8f'  # as text: escaped once more by --dump-dom
  for width in 390 1280; do
    for page in / /runs/3; do
      shot=$PWD/shot-$width${page//\//-}.png  # the README's pictures: shot-390-.png, shot-1280-.png
      chrome --window-size="$width,$((width < 500 ? 844 : 800))" --screenshot="$shot" "$url_one$page"
      [[ $(convert "$shot" -format '%[fx:standard_deviation > 0.01]' info:) == 1 ]] || fail "$page blank at $width"
      read -r _ frame wide _ bold _ pictures rows <<<"$(probe "$url_one$page" "$width")"
      [[ $frame == "$width" && ${wide%;} -le $width && $bold == 0\; ]] || fail "$page at $width: $frame $wide $bold"
      # The run's page: its height, its track from above and its chart, all drawn.
      [[ $pictures == "$([[ $page == / ]] && echo 0/0 || echo 3/3);" ]] || fail "$page at $width: pictures $pictures"
      [[ $page == / && $rows == "rows 1|Bob|00:00.81 2|Ann|00:00.67 3|$shown|00:00.67" ||
         $page != / && $rows == "rows Player|$shown Mode|hard Time|00:00.67 Sent|"*" State|verified, rank 3" ]] ||
        fail "$page at $width: $rows"
    done
  done
  dom=$(chrome --dump-dom "$url_one/runs/3")  # the same, fetched by the browser itself
  [[ $dom == *"<title>Run 3 of $shown</title>"* && $dom != *"<b>"* ]] || fail "the run's page: $dom"
  echo "browser: every case passed"
  exit 0
fi
if [[ $part == sqlite ]]; then
  record bob 745
  start_board one board.sqlite
  out=$(submit ann hard Ann "$url_one") || fail "Ann's run: $out"
  [[ $out == "hard 00:00.67 verified: rank 1 on $url_one" ]] || fail "$out"
  out=$(submit bob hard "  Bob   B " "$url_one") || fail "Bob's run: $out"
  [[ $out == *"00:00.81 verified: rank 1"* ]] || fail "$out"
  # Each: exit status, what the client says, the player, name and replay.
  sed 's/^claim Hard .*/claim Hard 00:09.99/' ann/best-hard.replay >claim.replay
  sed 's/^136 key-up Left/120 key-up Left/' ann/best-hard.replay >frame.replay
  sed 's/^resources .*/resources 0123456789abcdef/' ann/best-hard.replay >resources.replay
  sed 's/^aloft-replay 1/aloft-replay 2/' ann/best-hard.replay >format.replay
  sed 's/^1 length 0.01/1 length 0.0005/' ann/best-hard.replay >fast.replay
  head -c 3000 /dev/urandom >garbage.replay
  head -c 3000000 /dev/zero | tr '\0' '#' >big.replay
  variant 1 >eve.replay
  mkdir -p eve
  while IFS='|' read -r status said player name file; do
    [[ $name == CTL ]] && name=$'Ev\x01e'
    [[ $name == LONG ]] && name=$(head -c 10240 /dev/zero | tr '\0' 'e')
    out=$(submit "$player" "$file" "$name" "$url_one") && got=0 || got=$?
    [[ $got == "$status" && $out == *"$said"* ]] || fail "$file as $name: $got $out"
  done <<'CASES'
1|00:00.67 reached, not verified: the replay claims 00:09.99|ann|Ann|claim.replay
1|hard 00:00.67 rejected: hard|ann|Ann|frame.replay
1|made for another version: line 4: the replay was recorded with other resource files|ann|Ann|resources.replay
1|refused by the board: made for another version: replay format 2|ann|Ann|format.replay
1|refused by the board: implausible frames: 146 shorter than 1 ms|ann|Ann|fast.replay
1|refused by the board: not a replay|ann|Ann|garbage.replay
2|over 2 MiB|ann|Ann|big.replay
1|the name holds a control character|eve|CTL|eve.replay
1|the name is longer than 24 characters|eve|LONG|eve.replay
1|the name "ANN" belongs to another player|eve|ANN|eve.replay
1|this replay was sent before by another player (run 1)|eve|Eve|ann/best-hard.replay
CASES
  [[ $(curl -s -o /dev/null -w '%{http_code}' -F replay=@big.replay -F name=Zed \
        -F token="$(token)" "$url_one/api/runs") == 413 ]] || fail "a body over the limit is taken"
  page=$(curl -s "$url_one/api/boards/hard")
  [[ $page == *'"entries":2,'*'"name":"Bob B","rank":1,"run":2,"time":"00:00.81"'*'"name":"Ann","rank":2,"run":1,"time":"00:00.67"'* ]] ||
    fail "the board: $page"
  [[ $(curl -s "$url_one/api/boards/easy") == *'"entries":0,'* ]] || fail "the easy board is not empty"
  # The same replay again is the same run, and the board gives it back as sent.
  tok=$(cat ann/board-token)
  [[ $(post "$url_one" ann/best-hard.replay Ann "$tok") == 1 && $(post "$url_one" ann/best-hard.replay Ann "$tok") == 1 ]] ||
    fail "the same replay made another run"
  curl -s "$url_one/runs/1.replay" | cmp - ann/best-hard.replay || fail "the replay came back changed"
  [[ $(curl -s "$url_one/health") == *'"status":"ok"'* ]] || fail "no health"
  "$aloft" --prefs "$PWD/ann/preferences.json" --board hard | grep -q "  1  00:00.81  .*  Bob B" ||
    fail "--board with the kept server"
  # The pages: both boards in order, a hostile name shown as text, a run's page, an ETag.
  variant 2 >mark.replay
  out=$(submit eve mark.replay "<i>\"Q'</i>" "$url_one") || fail "a marked-up name: $out"
  home=$(curl -s "$url_one/")
  [[ $home == *'Bob B'*'Ann'*'&lt;i&gt;&quot;Q&#39;&lt;/i&gt;'* && $home != *'<i>"Q'* ]] ||
    fail "the home page: $home"
  [[ $(curl -s "$url_one/runs/2") == *'<title>Run 2 of Bob B</title>'*'verified, rank 1'* ]] ||
    fail "the run's page"
  # A run's pictures, kept from its verification; the player's best times drawn.
  [[ $(curl -s "$url_one/runs/1/height.svg") == "<svg "*"<polyline "*"</svg>" &&
     $(curl -s "$url_one/runs/1") == *'alt="Height over time. '*'highest 7.0 at 0.4 seconds'* &&
     $(curl -s "$url_one/runs/1/charts.svg") == *"<svg"*"trunk0_48</text>"*">67×</text>"* &&
     $(curl -s "$url_one/players/Ann") == *"<svg "*"Now hard 00:00.67."* ]] || fail "the pictures"
  for address in / /runs/1/track.svg; do
    etag=$(curl -sI "$url_one$address" | sed -n 's/^etag: \(.*\)\r$/\1/Ip')
    [[ $(curl -s -o /dev/null -w '%{http_code}' -H "If-None-Match: $etag" "$url_one$address") == 304 ]] ||
      fail "$address unchanged sent again"
  done
  [[ $(curl -s -o /dev/null -w '%{http_code}' "$url_one/runs/4/track.svg") == 404 ]] ||
    fail "a rejected run's picture"
  # Runs sent faster than they are verified (each verdict waits for a game to start and for dot):
  # a player may have 4 waiting, the board --queue-limit; a refusal says when to send again.
  start_board busy busy.sqlite
  send_together "$url_busy" 20 Cap Cap Cap Cap Cap Cap
  accepted=($(sed -n 's/.*"id":\([0-9]*\).*/\1/p' sent/2?.body))
  refused=$(grep -l '^429$' sent/2?.code | wc -l)
  ((${#accepted[@]} + refused == 6 && refused >= 1)) || fail "Cap's six runs: $(cat sent/2?.code)"
  refusals 429 30 '"Cap\" has 4 runs waiting to be verified' sent/2?.code
  wait_verified "$url_busy" "${accepted[@]}"
  send_together "$url_busy" 30 Cap
  [[ $(cat sent/30.code) == 202 ]] || fail "Cap's run once the others were verified: $(cat sent/30.body)"
  start_board full full.sqlite --queue-limit 2
  send_together "$url_full" 40 F1 F2 F3 F4 F5
  [[ $(cat sent/4?.code) == *503* ]] || fail "five players past a queue of 2: $(cat sent/4?.code)"
  refusals 503 60 '"the board has 2 runs waiting to be verified' sent/4?.code
  kill -TERM "$pid_one" && wait "$pid_one" || fail "the server did not stop cleanly"
  grep -q "stopped" one.log || fail "no stop logged"
  echo "sqlite board: every case passed"
  exit 0
fi

# PostgreSQL: a scratch cluster owned by an unprivileged user, on a free loopback port.
pg=$(mktemp -d /tmp/aloft-board-pg-XXXXXX) && chmod 755 "$pg"
trap 'cleanup; "${as_owner[@]}" "$pgbin/pg_ctl" -D "$pg/data" -m immediate stop >/dev/null 2>&1; rm -rf "$pg"' EXIT
pgbin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -1)
as_owner=()
if ((EUID == 0)); then
  as_owner=(setpriv --reuid=nobody --regid=nogroup --clear-groups) && chown nobody "$pg"
fi
"${as_owner[@]}" "$pgbin/initdb" -D "$pg/data" -U board --auth=trust >/dev/null
for _ in $(seq 50); do
  port=$((20000 + RANDOM % 40000))
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || break
done
"${as_owner[@]}" "$pgbin/pg_ctl" -D "$pg/data" -l "$pg/log" -w \
  -o "-p $port -k $pg -c listen_addresses=127.0.0.1" start >/dev/null
database="postgresql://board@127.0.0.1:$port/postgres"
start_board a "$database"
start_board b "$database"

# Runs sent to both servers by players of their own; server a is killed during the verifications.
inflight=$((heavy ? 50 : 8))
ids=()
for i in $(seq "$inflight"); do
  variant "$i" >"run$i.replay"
  url=$([[ $((i % 2)) == 0 ]] && echo "$url_a" || echo "$url_b")
  ids+=($(post "$url" "run$i.replay" "P$i" "$(token)"))
done
((${#ids[@]} == inflight)) || fail "only ${#ids[@]} of $inflight runs accepted"
sleep 2
kill -9 "$pid_a"
start_board c "$database"
wait_verified "$url_c" "${ids[@]}"
page=$(curl -s "$url_b/api/boards/hard?per_page=100")
[[ $page == *"\"entries\":$inflight,"* ]] || fail "the board after the kill: $page"
[[ $(curl -s "$url_b/players/P2") == *"<svg "*"Now hard 00:00.67."* &&
   $(curl -s "$url_b/runs/${ids[1]}") == *'<img src="/runs/'*'/charts.svg"'* ]] || fail "the pages on PostgreSQL"
twice=$(cat a.log b.log c.log | sed -n 's/.*run \([0-9]*\) \(verified\|rejected\).*/\1/p' | sort | uniq -d)
[[ -z $twice ]] || fail "runs verified twice: $twice"

if ((heavy)); then
  # 200 runs from 20 clients at once, half to each server.
  clients=()
  for client in $(seq 20); do
    (for i in $(seq 10); do
       n=$((1000 + client * 10 + i)) && variant "$n" >"load$n.replay"
       post "$([[ $((client % 2)) == 0 ]] && echo "$url_b" || echo "$url_c")" "load$n.replay" "L$n" "$(token)"
     done >"client$client.ids") &
    clients+=($!)
  done
  wait "${clients[@]}"
  load=($(cat client*.ids))
  ((${#load[@]} == 200)) || fail "only ${#load[@]} of 200 runs accepted"
  wait_verified "$url_b" "${load[@]}"
  for pid in "$pid_b" "$pid_c"; do
    peak=$(sed -n 's/VmHWM:[^0-9]*\([0-9]*\).*/\1/p' "/proc/$pid/status")
    ((peak < 256 * 1024)) || fail "a server grew to $peak kB"
  done
fi
echo "postgres board: every case passed"
