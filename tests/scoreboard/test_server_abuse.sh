#!/usr/bin/env bash
# The scoreboard against hostile clients: one that sends a byte a second
# while others are served, a 1 MB request line (refused, the server lives on),
# a flood beyond the rate limits (refused, memory flat), and kill -9 during a
# burst of submissions on SQLite (every acknowledged one kept).
set -euo pipefail
BUILD=$(cd "${1:?usage: test_server_abuse.sh BUILD_DIR}" && pwd)
source "$(dirname "$0")/server_lib.sh"
dir=$(mktemp -d)
slow_pid=""
trap 'kill "$slow_pid" 2>/dev/null || true; board_cleanup; rm -rf "$dir"' EXIT

rss_kb() { sed -n 's/^VmRSS:[[:space:]]*\([0-9]*\).*/\1/p' "/proc/$1/status"; }

start_board "$dir/log" "$dir/board.db" --listed all

# A byte a second, for longer than the others wait.
(
  exec 4<>"/dev/tcp/127.0.0.1/$BOARD_PORT"
  for c in G E T ' ' / m e m b; do
    printf '%s' "$c" >&4 2>/dev/null || exit 0
    sleep 1
  done
) &
slow_pid=$!
sleep 1
start=$(date +%s%N)
[[ $(http_status "$BOARD_PORT" /members/pellmore/sPhallus.php) == 200 ]] || fail "the probe was not served beside a slow client"
ms=$((($(date +%s%N) - start) / 1000000))
((ms < 2000)) || fail "the probe took ${ms} ms beside a slow client"

# A request line of 1 MB.
long=$(head -c 1048576 /dev/zero | tr '\0' 'a')
status=$(http_status "$BOARD_PORT" "/members/pellmore/uws1.php?$long" || true)
[[ "$status" != 200 ]] || fail "a 1 MB request line was served"
[[ $(http_status "$BOARD_PORT" /members/pellmore/sPhallus.php) =~ ^(200|429)$ ]] || fail "the server did not answer after a 1 MB request line"

# A flood of reads and submissions from one address.
before=$(rss_kb "$BOARD_PID")
refused=0
for i in $(seq 1 300); do
  [[ $(http_status "$BOARD_PORT" /members/pellmore/uws2.php) == 429 ]] && refused=$((refused + 1))
  [[ $(submit "$BOARD_PORT" 2 "flood$i" "$i") == 429 ]] && refused=$((refused + 1))
done
after=$(rss_kb "$BOARD_PID")
((refused > 400)) || fail "only $refused of 600 flooding requests were refused"
((after - before < 8192)) || fail "memory grew from ${before} kB to ${after} kB under the flood"
# kill -9 in the middle of a burst of submissions: every acknowledged one is
# there after a restart.
board_cleanup
BOARD_PIDS=()
start_board "$dir/log2" "$dir/burst.db" --submit-limit 1000000 --listed all
for i in $(seq 1 30); do
  (submit "$BOARD_PORT" 4 "k$i" "$((1000 + i))" >"$dir/ack.$i" 2>/dev/null || true) &
done
sleep 0.05
kill -KILL "$BOARD_PID"
wait 2>/dev/null || true
start_board "$dir/log3" "$dir/burst.db" --listed all
list=$(http_body "$BOARD_PORT" /members/pellmore/uws4.php)
acked=0
for i in $(seq 1 30); do
  [[ "$(cat "$dir/ack.$i")" == 200 ]] || continue
  acked=$((acked + 1))
  [[ "$list" == *"[$((1000 + i))][k$i]"* ]] || fail "acknowledged submission k$i is missing after kill -9: $list"
done
echo "PASS: slow client (${ms} ms for another), 1 MB line refused ($status), flood refused ($refused of 600, RSS ${before} -> ${after} kB), $acked acknowledged submissions kept through kill -9"
