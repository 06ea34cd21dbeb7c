#!/usr/bin/env bash
# Verification by the real server on SQLite: runs uploaded, the server killed
# with -9 while it checks them, and a new server on the same database checks
# what was left, each run exactly once; a flood of uploads is answered 503
# once the queue is full, with the server's memory flat; an oversized body
# gets 413.
set -euo pipefail
BUILD=$(cd "${1:?usage: test_verification.sh BUILD_DIR}" && pwd)
GOLDEN=$(cd "$(dirname "$0")/../replays" && pwd)/ship1-crab-beaten.ovr
source "$(dirname "$0")/server_lib.sh"

dir=$(mktemp -d)
trap 'board_cleanup; rm -rf "$dir"' EXIT
db="$dir/board.db"
score=8918178

start_board "$dir/a.log" "$db" --submit-limit 0 --verifiers 1 --verify-timeout 2
for i in 1 2 3 4 5 6; do
  [[ $(upload "$BOARD_PORT" 1 "v$i" $score "$GOLDEN") == 202 ]] || fail "upload v$i"
done
# Killed while it works through the queue: a check is under way.
sleep 0.3
kill -KILL "$BOARD_PID"
wait "$BOARD_PID" 2>/dev/null || true
BOARD_PIDS=()
left=$(sqlite3 "$db" "SELECT count(*) FROM runs WHERE state <> 'verified'")
((left > 0)) || fail "the server finished every check before it was killed: nothing was left to take over"

start_board "$dir/b.log" "$db" --submit-limit 0 --verifiers 2 --verify-timeout 2
wait_listed "$BOARD_PORT" 1 6 60
checks=$(sqlite3 "$db" "SELECT count(*) || ' ' || sum(checks) FROM runs WHERE state = 'verified'")
[[ $checks == "6 6" ]] || fail "every run verified once: verified runs and checks are $checks"
kill -TERM "$BOARD_PID"
wait "$BOARD_PID" || fail "the server did not stop cleanly"
BOARD_PIDS=()

# A flood with nobody checking: the queue fills, then 503, memory flat.
start_board "$dir/c.log" "$dir/flood.db" --submit-limit 0 --verifiers 0 --max-queued 20
rss() { ps -o rss= -p "$BOARD_PID" | tr -d ' '; }
for i in $(seq 1 40); do upload "$BOARD_PORT" 1 "f$i" 1 "$GOLDEN" >/dev/null; done
before=$(rss)
statuses=""
for i in $(seq 1 300); do statuses+="$(upload "$BOARD_PORT" 1 "g$i" 1 "$GOLDEN") "; done
after=$(rss)
[[ $statuses =~ ^(503 )+$ ]] || fail "uploads beyond a full queue: $(tr ' ' '\n' <<<"$statuses" | sort | uniq -c | tr '\n' ' ')"
((after - before < 20000)) || fail "the server grew from ${before} to ${after} KiB under the flood"
head -c $((2 * 1024 * 1024)) /dev/zero >"$dir/big.ovr"
[[ $(upload "$BOARD_PORT" 1 big 1 "$dir/big.ovr") == 413 ]] || fail "an oversized body"
echo "PASS: six runs verified once each across a kill -9; a flood of 300 uploads got 503 with memory ${before} -> ${after} KiB; 2 MiB got 413"
