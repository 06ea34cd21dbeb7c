#!/usr/bin/env bash
# The window's close button (the window manager's WM_DELETE_WINDOW message)
# pressed while the real game blocks: during the logo, while "Loading online
# Scores..." waits on a server that never answers, and while "submitting
# score..." waits after a run and a name. Each time the game must be gone
# within 2 seconds with exit status 0 and no output, and leave a sound
# database with the settings row and the run booked. OpenAL is given no
# output device at all, so the whole of it, a run included, plays on the
# game's silent audio.
set -euo pipefail
BUILD=$(cd "${1:?usage: test_window_close.sh BUILD_DIR}" && pwd)
source "$(dirname "$0")/lib.sh"

e2e_begin
export ALSOFT_DRIVERS=no-such-driver

# The scoreboard, stopped: the kernel still accepts connections, nobody answers.
start_scoreboard "$WORK/board.log" "$WORK/board.db"
kill -STOP "$BOARD_PID"
export OVELUNE_SCORE_SERVER=127.0.0.1:$BOARD_PORT

start_at_title() {
  mkdir "$WORK/$1" && cd "$WORK/$1"
  launch_to_title 60 "$1"
}

# Sends the close request and checks how the game ends and what it leaves.
close_and_check() {
  local where=$1 runs=$2
  "$BUILD/ovelune-close-window" "$WIN" || e2e_fail "$where: the close request was not sent"
  local sent=$(date +%s%N) waited=0
  while kill -0 "$PID" 2>/dev/null; do
    ((waited++ < 20)) || e2e_fail "$where: the game still runs 2 s after the close request"
    sleep 0.1
  done
  local ms=$((($(date +%s%N) - sent) / 1000000))
  local status=0
  wait "$PID" || status=$?
  [[ $status -eq 0 ]] || e2e_fail "$where: exit status $status (stdout: $(cat stdout.txt))"
  [[ ! -s stdout.txt ]] || e2e_fail "$where: output '$(cat stdout.txt)'"
  [[ $(sqlite3 VE4R.dtb 'PRAGMA integrity_check') == ok ]] || e2e_fail "$where: the database is damaged"
  [[ $(sqlite3 VE4R.dtb 'SELECT count(*) FROM setupData') == 1 ]] || e2e_fail "$where: no settings row"
  [[ $(sqlite3 VE4R.dtb 'SELECT count(*) FROM scores') == "$runs" ]] || e2e_fail "$where: runs booked"
  echo "$where: the game ended ${ms} ms after the close request"
}

# During the logo: the first lit frame, before the menu's first frame.
mkdir "$WORK/logo" && cd "$WORK/logo"
launch_game
deadline=$((SECONDS + 30))
until awk -v b="$(screenshot shot.png && mean_brightness shot.png)" 'BEGIN { exit !(b > 0.01) }'; do
  ((SECONDS < deadline)) || e2e_fail "the logo never lit up"
  sleep 0.1
done
[[ -z "$(menu_state)" ]] || e2e_fail "the menu had started before the close request"
close_and_check "logo" 0

# "Loading online Scores...": Scores chosen, the fetch waiting on the server.
start_at_title scores
select_item 2
xdotool keydown Return
sleep 0.5
xdotool keyup Return
[[ "$(menu_state)" == "menu main item=2"* ]] || e2e_fail "the scores screen came without waiting ($(menu_state))"
close_and_check "loading online scores" 0

# "submitting score...": a short run quit from the pause screen, a name, Return.
start_at_title submit
press Return  # Play
tap Return  # ship one: the run starts
sleep 2
tap Escape
tap q 0.3
sleep 1
xdotool type --delay 100 "Ann"
xdotool keydown Return
sleep 0.5
xdotool keyup Return
close_and_check "submitting score" 1
echo "PASS: a close request during the logo, the scores fetch and the submission ends the game at once with status 0, progress saved; no audio device"
