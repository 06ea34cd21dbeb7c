#!/usr/bin/env bash
# The scoreboard under load on loopback: a fresh server (no rate limits) on a
# port of its own, 50 clients for 10 seconds, then a clean stop and a count
# of the stored submissions against those acknowledged.
set -euo pipefail
BUILD=$(cd "${1:?usage: scoreboard_load.sh BUILD_DIR [CLIENTS SECONDS]}" && pwd)
clients=${2:-50}
seconds=${3:-10}

dir=$(mktemp -d)
board_pid=""
cleanup() {
  if [[ -n "$board_pid" ]]; then
    kill -TERM "$board_pid" 2>/dev/null || true
    wait "$board_pid" 2>/dev/null || true
  fi
  rm -rf "$dir"
}
trap cleanup EXIT

"$BUILD/ovelune-scoreboard" --listen 127.0.0.1:0 --db "$dir/board.db" --submit-limit 0 --read-limit 0 --listed all \
  --threads 16 >"$dir/log" 2>&1 &
board_pid=$!
port=""
for _ in $(seq 1 50); do
  port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$dir/log")
  [[ -n "$port" ]] && break
  sleep 0.1
done
[[ -n "$port" ]] || { echo "scoreboard_load: the server did not start: $(cat "$dir/log")" >&2; exit 1; }

status=0
"$BUILD/ovelune-scoreboard-load" --port "$port" --clients "$clients" --seconds "$seconds" >"$dir/figures" || status=$?
cat "$dir/figures"
kill -TERM "$board_pid"
wait "$board_pid" || { echo "scoreboard_load: the server did not stop cleanly" >&2; status=1; }
board_pid=""

acknowledged=$(sed -n 's/^scoreboard_load_submissions_acknowledged: //p' "$dir/figures")
stored=$(sqlite3 "$dir/board.db" "SELECT count(*) FROM submissions")
echo "scoreboard_load_submissions_lost: $((acknowledged - stored))"
((stored >= acknowledged)) || status=1
exit "$status"
