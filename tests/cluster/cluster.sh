#!/usr/bin/env bash
# Two quarnd behind HAProxy on one PostgreSQL (tools/cluster), 16 computer
# players at two tables of each process, all through the router:
#  1. 40 games: the shared standings are the sum of the games of both
#     processes, and every game a bot saw end is stored;
#  2. PostgreSQL stopped and started while games run: the games go on, and
#     what ended meanwhile is written once it is back;
#  3. process 2 killed with SIGKILL: process 1's tables play on; started
#     again, its tables take logins and play again;
#  4. a login sent straight to process 1, bypassing the router: closed, as it
#     lacks the PROXY header the router sends (--proxy-protocol); a login
#     naming another process's table is refused in tests/server's tables test.
# Process 2's tables are in process 1's lobby and in the router's, and leave
# process 1's once process 2 is killed; started again, process 2 lists both.
# At the end no game a bot saw end is missing, and none is stored twice.
#
# usage: cluster.sh BIN_DIR SOURCE_DIR; exit 77 (skipped) without PostgreSQL
# or HAProxy.
set -u -o pipefail
BIN=$(cd "${1:?usage: cluster.sh BIN_DIR SOURCE_DIR}" && pwd)
SRC=$(cd "${2:?usage: cluster.sh BIN_DIR SOURCE_DIR}" && pwd)
if ! command -v haproxy >/dev/null || ! ls /usr/lib/postgresql/*/bin/pg_ctl >/dev/null 2>&1; then
  echo "cluster: SKIPPED: needs Debian's haproxy and postgresql"
  exit 77
fi
WORK=$(mktemp -d "${TMPDIR:-/tmp}/quarn-cluster.XXXXXX")
chmod 755 "$WORK"
BOTS=()
fail=0
export QUARN_BIN=$BIN CLUSTER_TABLES=4 CLUSTER_ARGS="--no-delay --log quiet"
export CLUSTER_PORT=$((20000 + RANDOM % 20000))
export CLUSTER_BASE_PORT=$((CLUSTER_PORT + 10))
BOT_TABLES=(1 2 5 6)  # two of process 1 (tables 1-4), two of process 2 (5-8)

stop_all() {
  for bot in "${BOTS[@]}"; do kill "$bot" 2>/dev/null; done
  wait 2>/dev/null
  "$SRC/tools/cluster" stop "$WORK" >/dev/null 2>&1
}
trap 'stop_all; rm -rf "$WORK"' EXIT

complain() {
  echo "cluster: $*"
  fail=1
}

query() { psql "$URI" -X -A -t -q -c "$1"; }

stored_at() { query "SELECT count(*) FROM games WHERE table_number IN ($1)"; }

# The tables in the lobby answer at port $1, from table 1 on; straight at a
# process, a PROXY header as the router's comes first.
lobby_at() {
  exec 3<>"/dev/tcp/127.0.0.1/$1" || return 1
  (($1 != CLUSTER_PORT)) && printf 'PROXY TCP4 127.0.0.1 127.0.0.1 1 1\r\n' >&3
  printf '%b' '\xCE\xF1\xCE\xF1\xCE\xF1\xCE\xF1\x51\x4E\x12\x03\x01\x00\x00\x00\xAB\xAB\x02\x90' \
    '\x00\x00\x00\x30\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00' \
    '\xF1\xCE\xF1\xCE\xF1\xCE\xF1\xCE' >&3
  timeout 1 cat <&3 | "$BIN/quarn-dump" | sed -n 's/.* table=\([0-9]*\) kind=table.*/\1/p'
  exec 3>&-
}

# Waits up to ten answers until the lobby at port $1 lists the tables $2.
await_lobby() {
  local seen first=
  for answer in $(seq 10); do
    seen=$(lobby_at "$1" | tr '\n' ' ')
    [[ $seen == "$2" ]] && break
    first=${first:-$seen}
  done
  [[ -n $first ]] && echo "cluster: lobby at $1 first listed '$first', after $answer answers '$seen'"
  [[ $seen == "$2" ]]
}

# Waits up to $3 seconds until the tables $1 hold more than $2 stored games.
await_games() {
  local deadline=$((SECONDS + $3))
  while ((SECONDS < deadline)); do
    (($(stored_at "$1" 2>/dev/null || echo 0) > $2)) && return 0
    sleep 0.2
  done
  return 1
}

"$SRC/tools/cluster" start "$WORK" 2 >"$WORK/start.out" 2>&1 || {
  cat "$WORK/start.out"
  exit 1
}
URI=$(source "$WORK/cluster.env" && echo "$URI")
for table in "${BOT_TABLES[@]}"; do
  for seat in 0 1 2 3; do
    "$BIN/quarn-bot" --port "$CLUSTER_PORT" --table "$table" --seat "$seat" \
      --name "t${table}s${seat}" --level basic --think 0 --reconnect --narrate \
      >"$WORK/bot.$table.$seat.out" 2>&1 &
    BOTS+=($!)
  done
done

# 1. Forty games, some at each process, the standings their sum.
await_games "1,2,5,6" 39 40 || complain "40 games were not played: $(stored_at "1,2,5,6") stored"
for tables in "1,2" "5,6"; do
  (($(stored_at "$tables") > 0)) || complain "no game stored at tables $tables"
done
mismatch=$(query "SELECT count(*) FROM standings s FULL JOIN (SELECT name, count(*) AS games,
                  sum(score_change) AS points FROM seats GROUP BY name) g USING (name)
                  WHERE s.games IS DISTINCT FROM g.games OR s.points IS DISTINCT FROM g.points")
((mismatch == 0)) || complain "$mismatch standings differ from the sum of the stored games"
for port in $((CLUSTER_BASE_PORT + 1)) "$CLUSTER_PORT"; do
  await_lobby "$port" "1 2 5 6 " || complain "lobby at $port: $(lobby_at "$port" | tr '\n' ' ')"
done
wrong_table=$(query "SELECT count(*) FROM games WHERE table_number NOT IN (1, 2, 5, 6)")
((wrong_table == 0)) || complain "$wrong_table games at tables no bot asked for"

# 2. The database away for two seconds: the games go on and are written later.
"$SRC/tools/scratch_postgres.sh" stop "$WORK/pg"
sleep 2
"$SRC/tools/scratch_postgres.sh" start "$WORK/pg" >/dev/null
# Each process writes what it held before any later game.
for tables in "1,2" "5,6"; do
  await_games "$tables" "$(stored_at "$tables")" 20 ||
    complain "no games written at tables $tables after the database came back"
done
for i in 1 2; do
  for _ in $(seq 50); do
    grep -q "held games written late" "$WORK/q$i/out.log" && break
    sleep 0.2
  done
  grep -q "held games written late" "$WORK/q$i/out.log" ||
    complain "process $i held no game while the database was away: $(tail -3 "$WORK/q$i/out.log")"
done

# 3. Process 2 killed: process 1 plays on; started again, its tables do too.
kill -9 "$(cat "$WORK/q2.pid")"
sleep 1.5  # the router's check takes it out
killed_at=$(stored_at "5,6")
await_games "1,2" "$(stored_at "1,2")" 20 || complain "process 1 stopped playing when 2 was killed"
for _ in $(seq 15); do [[ $(lobby_at $((CLUSTER_BASE_PORT + 1))) != *5* ]] && break; done
[[ $(lobby_at $((CLUSTER_BASE_PORT + 1))) != *5* ]] || complain "killed process 2's tables stay in the lobby"
"$SRC/tools/cluster" restart "$WORK" 2 || complain "process 2 did not start again"
await_games "5,6" $((killed_at + 1)) 30 || complain "process 2's tables did not play again"
# Process 1 published on after the database came back; process 2 anew.
# The lobby is shared once a second, and a bot may still be coming back: wait.
await_lobby $((CLUSTER_BASE_PORT + 2)) "1 2 5 6 " ||
  complain "lobby at process 2 after its restart: $(lobby_at $((CLUSTER_BASE_PORT + 2)) | tr '\n' ' ')"

# 4. Straight at process 1, a login without the router's PROXY header is closed.
timeout 10 "$BIN/quarn-bot" --port $((CLUSTER_BASE_PORT + 1)) --table 5 --name crafted \
  >"$WORK/crafted.out" 2>&1
grep -q "不是有效的PROXY头" "$WORK/q1/out.log" ||
  complain "a login straight at process 1 was not closed: $(tail -2 "$WORK/crafted.out")"

for bot in "${BOTS[@]}"; do kill "$bot" 2>/dev/null; done
wait 2>/dev/null
BOTS=()
sleep 1  # the last game ends reach the database

twice=$(query "SELECT count(*) - count(DISTINCT (table_number, finished_at, cards)) FROM games")
((twice == 0)) || complain "$twice games stored twice"
unbalanced=$(query "SELECT count(*) FROM (SELECT game_id FROM seats GROUP BY game_id
                    HAVING sum(score_change) != 0) z")
((unbalanced == 0)) || complain "$unbalanced stored games are not zero-sum"
total=0
for table in "${BOT_TABLES[@]}"; do
  stored=$(stored_at "$table")
  seen=0
  for seat in 0 1 2 3; do
    ended=$(grep -c '^赢家：' "$WORK/bot.$table.$seat.out")
    ((ended > seen)) && seen=$ended
  done
  ((stored >= seen)) || complain "table $table: bots saw $seen games end, $stored stored"
  total=$((total + stored))
done
echo "cluster: $total games stored at tables ${BOT_TABLES[*]}, $(stored_at "1,2") by process 1"
if ((fail)); then
  cp -r "$WORK" "$WORK.kept"
  echo "cluster: FAILED (files kept in $WORK.kept)"
fi
exit $fail
