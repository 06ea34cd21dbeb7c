#!/usr/bin/env bash
# `make run` and the bundled scoreboard: with the local default configured
# and nothing answering there, the game is started with a scoreboard on that
# loopback address, which stops when the game ends; when a server already
# answers there, none is started.
set -euo pipefail
BUILD=$(cd "${1:?usage: test_run_scoreboard.sh BUILD_DIR}" && pwd)
source "$(dirname "$0")/lib.sh"
RUN_GAME=$(cd "$(dirname "$0")/../.." && pwd)/scripts/run-game.sh

e2e_begin
cd "$WORK"

# A free loopback port: a scoreboard asked for any port reports one, then goes.
"$BUILD/ovelune-scoreboard" --listen 127.0.0.1:0 --db probe.db >probe.log &
probe=$!
e2e_on_exit "stop_process $probe"
for _ in $(seq 1 50); do
  port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' probe.log 2>/dev/null || true)
  [[ -n "$port" ]] && break
  sleep 0.1
done
stop_process "$probe"
[[ -n "$port" ]] || e2e_fail "no free port found"

# A build whose configured default is that port: the real binaries, a cache
# naming the port.
mkdir fakebuild
ln -s "$BUILD/ovelune" "$BUILD/ovelune-scoreboard" fakebuild/
echo "OVELUNE_SCORE_SERVER:STRING=127.0.0.1:$port" >fakebuild/CMakeCache.txt
unset OVELUNE_SCORE_SERVER

answers() { (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; }

"$RUN_GAME" fakebuild >run.out 2>&1 &
runner=$!
e2e_on_exit "stop_process $runner"
game=""
for _ in $(seq 1 100); do
  game=$(pgrep -P "$runner" -x ovelune || true)
  [[ -n "$game" ]] && break
  sleep 0.1
done
[[ -n "$game" ]] || e2e_fail "the game did not start: $(cat run.out)"
e2e_on_exit "stop_process $game"
WIN=$(find_window_by_pid "$game" 30) || e2e_fail "no game window"
answers || e2e_fail "no scoreboard answers on 127.0.0.1:$port while the game runs"
grep -q "listening on 127.0.0.1:$port" scoreboard.log || e2e_fail "scoreboard.log: $(cat scoreboard.log)"
[[ -f scoreboard.db ]] || e2e_fail "the scoreboard's database is not beside the game's"

stop_process "$game" 10  # the player closes the game
for _ in $(seq 1 50); do
  kill -0 "$runner" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$runner" 2>/dev/null && e2e_fail "make run did not end with the game"
answers && e2e_fail "the scoreboard still answers after the game ended"
grep -q '^stopped$' scoreboard.log || e2e_fail "the scoreboard did not stop cleanly: $(cat scoreboard.log)"

# A server already there: the game uses it and nothing else is started.
rm scoreboard.log
"$BUILD/ovelune-scoreboard" --listen "127.0.0.1:$port" --db own.db >own.log &
own=$!
e2e_on_exit "stop_process $own"
for _ in $(seq 1 50); do answers && break; sleep 0.1; done
"$RUN_GAME" fakebuild >run2.out 2>&1 &
runner=$!
e2e_on_exit "stop_process $runner"
for _ in $(seq 1 100); do
  game=$(pgrep -P "$runner" -x ovelune || true)
  [[ -n "$game" ]] && break
  sleep 0.1
done
[[ -n "$game" ]] || e2e_fail "the game did not start the second time: $(cat run2.out)"
e2e_on_exit "stop_process $game"
find_window_by_pid "$game" 30 >/dev/null || e2e_fail "no game window the second time"
[[ ! -e scoreboard.log ]] || e2e_fail "a second scoreboard was started"
stop_process "$game" 10
answers || e2e_fail "the server that was already there was stopped"
echo "PASS: make run starts the bundled scoreboard on loopback when none answers and stops it with the game"
