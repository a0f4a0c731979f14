#!/usr/bin/env bash
# Kill and restart: quarnd keeps games in a store and seats for players who
# drop; 16 computer players with --reconnect sit at four tables. A supervisor
# loop kills quarnd with SIGKILL at random moments and starts it again at
# once on the same port, folder and game file. It checks that every table
# plays on after each restart (no bot stuck), that every game a bot saw end
# was zero-sum, that no game is stored twice, and that every game a bot saw
# end is stored (the one being stored as a kill came may be stored without
# its end having reached the bots: at most one more per table and kill).
#
# usage: chaos.sh BIN_DIR SECONDS
set -u -o pipefail
BIN=$(cd "${1:?usage: chaos.sh BIN_DIR SECONDS}" && pwd)
SECONDS_WANTED=${2:?usage: chaos.sh BIN_DIR SECONDS}
STUCK_AFTER=30  # seconds a table may go without finishing a game
WORK=$(mktemp -d "${TMPDIR:-/tmp}/quarn-chaos.XXXXXX")
DB=$WORK/games.db
SERVER=
PORT=0
BOTS=()
fail=0

stop_all() {
  [[ -n $SERVER ]] && kill -9 "$SERVER" 2>/dev/null
  for bot in "${BOTS[@]}"; do kill "$bot" 2>/dev/null; done
  wait 2>/dev/null
}
trap 'stop_all; rm -rf "$WORK"' EXIT

complain() {
  echo "chaos: $*"
  fail=1
}

query() { sqlite3 -readonly "$DB" "$1"; }

# The newest stored game of each table, "0" for none: "id1 id2 id3 id4".
newest_games() {
  local line=""
  for table in 1 2 3 4; do
    line+="$(query "SELECT coalesce(max(id), 0) FROM games WHERE table_number = $table" \
      2>/dev/null || echo 0) "
  done
  echo "$line"
}

# Starts quarnd on PORT (0: any free one, then kept in PORT).
start_server() {
  local out=$WORK/quarnd.$1.out
  "$BIN/quarnd" --port "$PORT" --bind 127.0.0.1 --tables 4 --keep-seats --no-delay --bid \
    --dir "$WORK" --db "$DB" >"$out" 2>&1 &
  SERVER=$!
  for _ in $(seq 100); do
    if grep -q 'listening on port' "$out"; then
      PORT=$(sed -n 's/.*listening on port \([0-9]*\).*/\1/p' "$out" | head -1)
      return 0
    fi
    sleep 0.1
  done
  echo "chaos: quarnd did not start: $(cat "$out")" >&2
  return 1
}

# Waits until every table has finished a game newer than those in $1; prints
# the seconds it took, or fails after STUCK_AFTER.
wait_all_tables_play() {
  local before=($1) start=$EPOCHREALTIME
  while true; do
    local now=($(newest_games)) moved=0
    for i in 0 1 2 3; do ((now[i] > before[i])) && moved=$((moved + 1)); done
    if ((moved == 4)); then
      awk -v a="$EPOCHREALTIME" -v b="$start" 'BEGIN { printf "%.2f", a - b }'
      return 0
    fi
    if awk -v a="$EPOCHREALTIME" -v b="$start" -v c="$STUCK_AFTER" 'BEGIN { exit !(a - b > c) }'; then
      echo "tables moved: $moved of 4 (newest before ${before[*]}, now ${now[*]})"
      return 1
    fi
    sleep 0.2
  done
}

start_server 0 || exit 1
for table in 1 2 3 4; do
  for seat in 0 1 2 3; do
    "$BIN/quarn-bot" --port "$PORT" --table "$table" --seat "$seat" --name "t${table}s${seat}" \
      --level basic --think 0 --reconnect --narrate >"$WORK/bot.$table.$seat.out" 2>&1 &
    BOTS+=($!)
  done
done

kills=0
recovery=()
deadline=$((SECONDS + SECONDS_WANTED))
if ! took=$(wait_all_tables_play "0 0 0 0"); then complain "no table began: $took"; fi
while ((fail == 0 && SECONDS < deadline)); do
  sleep "0.$((RANDOM % 10))$((RANDOM % 10))"
  kill -9 "$SERVER"
  wait "$SERVER" 2>/dev/null
  kills=$((kills + 1))
  before=$(newest_games)
  start_server "$kills" || exit 1
  if took=$(wait_all_tables_play "$before"); then
    recovery+=("$took")
  else
    complain "after kill $kills a table was stuck: $took"
  fi
done
kill -TERM "$SERVER"
wait "$SERVER" 2>/dev/null
SERVER=
for bot in "${BOTS[@]}"; do kill "$bot" 2>/dev/null; done
wait 2>/dev/null
BOTS=()

unbalanced=$(query "SELECT count(*) FROM (SELECT game_id FROM seats GROUP BY game_id
                    HAVING sum(score_change) != 0)")
((unbalanced == 0)) || complain "$unbalanced stored games are not zero-sum"
twice=$(query "SELECT count(*) - count(DISTINCT table_number || ':' || finished_at || ':' ||
                hex(cards) || hex(moves)) FROM games")
((twice == 0)) || complain "$twice games stored twice"
played=0
lost=0
for table in 1 2 3 4; do
  stored=$(query "SELECT count(*) FROM games WHERE table_number = $table")
  seen=0
  for seat in 0 1 2 3; do
    out=$WORK/bot.$table.$seat.out
    ended=$(grep -c '^赢家：' "$out")
    ((ended > seen)) && seen=$ended
    # The totals of a game's end are each login's running score: zero-sum
    # when every game was.
    if grep '^得分：' "$out" | sed 's/[^共]*共 \(-\{0,1\}[0-9]*\)）/\1 /g' |
      awk '{ if ($1 + $2 + $3 + $4 != 0) bad = 1 } END { exit bad }'; then :; else
      complain "bot t${table}s${seat} saw a game end that was not zero-sum"
    fi
  done
  if ((stored < seen)); then
    complain "table $table: bots saw $seen games end, $stored stored"
    lost=$((lost + seen - stored))
  fi
  ((stored <= seen + kills)) || complain "table $table: $stored stored, only $seen seen end"
  played=$((played + stored))
done
slowest=$(printf '%s\n' "${recovery[@]:-0}" | sort -g | tail -1)
mean=$(printf '%s\n' "${recovery[@]:-0}" | awk '{ s += $1 } END { printf "%.2f", s / NR }')
echo "chaos: $kills kills and restarts, $played games stored, $lost lost"
if ((fail)); then
  echo "chaos: FAILED (files kept in $WORK.kept)"
  cp -r "$WORK" "$WORK.kept"
else
  echo "chaos: every table finished a game again after each restart: mean $mean s, slowest $slowest s"
fi
exit $fail
