#!/usr/bin/env bash
# The scoreboard as a process on SQLite: one reply per connection, a clean
# stop on SIGTERM, and an acknowledged submission that survives kill -9.
set -euo pipefail
BUILD=$(cd "${1:?usage: test_server.sh BUILD_DIR}" && pwd)
source "$(dirname "$0")/server_lib.sh"
dir=$(mktemp -d)
trap 'board_cleanup; rm -rf "$dir"' EXIT

start_board "$dir/log" "$dir/board.db" --listed all
reply=$(http_get "$BOARD_PORT" /members/pellmore/sPhallus.php | tr -d '\r')
[[ "$reply" == *"Connection: close"* && "$reply" == *$'\n\nok' ]] || fail "probe reply: $reply"
[[ $(submit "$BOARD_PORT" 3 Ann 120) == 200 ]] || fail "submission refused"
[[ $(submit "$BOARD_PORT" 3 Ann 120x) == 400 ]] || fail "a malformed score was not refused"
kill -KILL "$BOARD_PID"
wait "$BOARD_PID" 2>/dev/null || true

start_board "$dir/log2" "$dir/board.db" --listed all
[[ "$(http_body "$BOARD_PORT" /members/pellmore/uws3.php)" == "1. [120][Ann]" ]] || fail "the submission did not survive kill -9"
kill -TERM "$BOARD_PID"
status=0
wait "$BOARD_PID" || status=$?
[[ $status -eq 0 ]] || fail "SIGTERM: exit status $status"
grep -q '^stopped$' "$dir/log2" || fail "no clean stop: $(cat "$dir/log2")"
grep -q 'password=\*&name=Ann' "$dir/log" || fail "the request log hides the password: $(cat "$dir/log")"
echo "PASS: one reply per connection, survives kill -9, stops cleanly on SIGTERM"
