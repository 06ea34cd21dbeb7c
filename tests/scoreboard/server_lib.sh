# Helpers for the scoreboard server tests: start a server on a loopback port
# of its own, talk HTTP/1.0 to it with bash alone, stop it by its pid.

BOARD_PIDS=()
board_cleanup() {
  local pid
  for pid in "${BOARD_PIDS[@]}"; do
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# start_board LOG DB [options...]: sets BOARD_PID and BOARD_PORT.
start_board() {
  local log=$1 db=$2
  shift 2
  "$BUILD/ovelune-scoreboard" --listen 127.0.0.1:0 --db "$db" "$@" >"$log" 2>&1 &
  BOARD_PID=$!
  BOARD_PIDS+=("$BOARD_PID")
  BOARD_PORT=""
  for _ in $(seq 1 100); do
    BOARD_PORT=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$log" 2>/dev/null || true)
    [[ -n "$BOARD_PORT" ]] && return 0
    kill -0 "$BOARD_PID" 2>/dev/null || break
    sleep 0.1
  done
  fail "the scoreboard did not start: $(cat "$log")"
}

# http_get PORT TARGET: prints the whole reply (headers and body).
http_get() {
  local reply
  exec 3<>"/dev/tcp/127.0.0.1/$1" || return 1
  printf 'GET %s HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n' "$2" >&3
  reply=$(timeout 5 cat <&3) || true
  exec 3<&-
  printf '%s' "$reply"
}

# The body of a reply (after the first empty line).
http_body() {
  http_get "$@" | tr -d '\r' | sed '1,/^$/d'
}

http_status() {
  http_get "$@" | head -n1 | cut -d' ' -f2
}

submit() {  # PORT SHIP NAME SCORE
  http_status "$1" "/members/pellmore/uws$2.php?password=vorta7&name=$3&score=$4"
}

# upload PORT SHIP NAME SCORE FILE: POSTs the replay file as the game does;
# prints the status.
upload() {
  curl -s -o /dev/null -w '%{http_code}' --max-time 10 -H 'Content-Type: application/octet-stream' \
    --data-binary "@$5" "http://127.0.0.1:$1/replays?ship=$2&name=$3&score=$4"
}

# wait_listed PORT SHIP COUNT SECONDS: until the ship's list has COUNT entries.
wait_listed() {
  local list entries _
  for _ in $(seq 1 $(($4 * 10))); do
    list=$(http_body "$1" "/members/pellmore/uws$2.php")
    entries=$({ grep -o '^1\.\|<br>' <<<"$list" || true; } | wc -l)
    ((entries >= $3)) && return 0
    sleep 0.1
  done
  fail "ship $2's list has $entries of $3 entries after $4 s: $list"
}
