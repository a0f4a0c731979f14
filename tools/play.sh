#!/usr/bin/env bash
# A table on this machine: quarnd, three computer players and the Quarn window
# for the person at the keyboard. Quitting the window stops them all.
# Without a display four computer players play one game instead, and the
# first of them tells it in the terminal, one line per event; the server's
# run log and the players' own logs stay in the run folder.
#
# usage: tools/play.sh [BIN_DIR]    (default build/bin)
set -u

BIN=$(cd "${1:-build/bin}" 2>/dev/null && pwd) || { echo "play.sh: no folder ${1:-build/bin}" >&2; exit 1; }
for program in quarnd quarn-bot; do
  [[ -x "$BIN/$program" ]] || { echo "play.sh: $BIN/$program is missing; build first" >&2; exit 1; }
done
RUN=$(mktemp -d "${TMPDIR:-/tmp}/quarn-play.XXXXXX")
PIDS=()

# SIGTERM lets quarnd save its Log and Hero files; whatever has not ended
# five seconds later is killed.
stop_all() {
  local pid
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  for _ in $(seq 50); do
    local alive=0
    for pid in "${PIDS[@]}"; do kill -0 "$pid" 2>/dev/null && alive=1; done
    ((alive)) || break
    sleep 0.1
  done
  for pid in "${PIDS[@]}"; do kill -9 "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
  PIDS=()
}
trap stop_all EXIT
trap 'exit 130' INT TERM

# The browser page too, where it was built: port 8080, or any free one.
WEB=()
[[ -f "$BIN/web/index.html" ]] && WEB=(--web "${QUARN_WEB_PORT:-8080}")

# Starts quarnd on port $1 (0: any free port) and waits until it listens;
# sets PORT (and WEB_PORT with the page). Fails when the server gave up.
start_server() {
  local out="$RUN/quarnd-$1.out" port=""
  "$BIN/quarnd" --port "$1" --dir "$RUN" "${WEB[@]}" "${@:2}" >"$out" 2>&1 &
  local pid=$!
  for _ in $(seq 100); do
    port=$(sed -n 's/^listening on port \([0-9]*\)$/\1/p' "$out" | head -n 1)
    if [[ -n "$port" ]]; then
      PIDS+=("$pid")
      ln -sf "$out" "$RUN/quarnd.out"
      PORT=$port
      WEB_PORT=$(sed -n 's/^web port \([0-9]*\)$/\1/p' "$out" | head -n 1)
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  return 1
}

# The game's own port when it is free, else any free port. A player who loses
# the connection keeps the seat, and every bid or play has 30 seconds. Every
# finished game is kept in games.db in the run folder.
serve() {
  local options=(--keep-seats --turn-time 30 --db "$RUN/games.db" "$@")
  start_server 1073 "${options[@]}" || start_server 0 "${options[@]}" ||
    { WEB=(--web 0); start_server 0 "${options[@]}"; }
}

# Where a browser on this machine or the network finds the page.
announce_page() {
  [[ -n "${WEB_PORT:-}" ]] || return 0
  local address
  address=$(hostname -I 2>/dev/null | awk '{print $1}')
  echo "The page: http://127.0.0.1:$WEB_PORT/ (from a phone on this network: http://${address:-<this machine>}:$WEB_PORT/)"
}

start_bot() {  # seat, name, extra options...
  "$BIN/quarn-bot" --port "$PORT" --seat "$1" --name "$2" "${@:3}" >>"$RUN/bots.out" 2>&1 &
  PIDS+=("$!")
}

if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  [[ -x "$BIN/Quarn" ]] || { echo "play.sh: $BIN/Quarn is missing; build first" >&2; exit 1; }
  serve || { echo "play.sh: quarnd could not start; see $RUN" >&2; exit 1; }
  echo "Server on port $PORT; files in $RUN"
  announce_page
  start_bot 1 "电脑北" --think 800
  start_bot 2 "电脑西" --think 800
  start_bot 3 "电脑南" --think 800
  "$BIN/Quarn" --server "127.0.0.1:$PORT" --name "玩家"
  exit 0
fi

echo "No display: four computer players play one game."
serve --bid || { echo "play.sh: quarnd could not start; see $RUN" >&2; exit 1; }
announce_page
BOTS=()
for seat in 0 1 2 3; do
  if ((seat == 0)); then
    "$BIN/quarn-bot" --port "$PORT" --seat 0 --games 1 --think 50 --narrate 2>>"$RUN/bots.out" &
  else
    "$BIN/quarn-bot" --port "$PORT" --seat "$seat" --games 1 --think 50 >>"$RUN/bots.out" 2>&1 &
  fi
  BOTS+=("$!")
done
status=0
for pid in "${BOTS[@]}"; do wait "$pid" || status=1; done
stop_all  # quarnd saves its Log and Hero files when it is stopped
echo "(the server's run log, hero board and the players' logs are in $RUN)"
exit "$status"
