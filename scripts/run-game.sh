#!/usr/bin/env bash
# `make run`: plays the game from the build directory given. When the score
# server the game will use is the bundled local default and nothing answers
# there yet, the bundled scoreboard is started on that loopback address for
# the length of the game (its database beside the game's) and stopped after.
set -euo pipefail
BUILD=${1:?usage: run-game.sh BUILD_DIR}

default=$(sed -n 's/^OVELUNE_SCORE_SERVER:STRING=//p' "$BUILD/CMakeCache.txt")
server=${OVELUNE_SCORE_SERVER:-$default}
host=${server%:*}
port=${server##*:}
[[ "$server" == *:* ]] || port=80

answers() {
  (exec 3<>"/dev/tcp/$host/$port") 2>/dev/null
}

board_pid=""
stop_board() {
  if [[ -n "$board_pid" ]]; then
    kill -TERM "$board_pid" 2>/dev/null || true
    wait "$board_pid" 2>/dev/null || true
  fi
}
trap stop_board EXIT
trap "exit 143" TERM INT

if [[ "$server" == "$default" && ( "$host" == 127.* || "$host" == localhost ) ]] && ! answers; then
  "$BUILD/ovelune-scoreboard" --listen "$host:$port" --db scoreboard.db >scoreboard.log 2>&1 &
  board_pid=$!
  for _ in $(seq 1 50); do
    answers && break
    kill -0 "$board_pid" 2>/dev/null || { echo "run: the scoreboard did not start (scoreboard.log)" >&2; board_pid=""; break; }
    sleep 0.1
  done
fi

status=0
"$BUILD/ovelune" || status=$?
exit "$status"
