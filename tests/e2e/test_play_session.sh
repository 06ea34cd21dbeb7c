#!/usr/bin/env bash
# A player's first session, driven with real key presses under Xvfb: logo,
# title, Play, confirm ship one, a few seconds of play with fire held, pause
# with Escape, quit the run with Q, confirm the name entry, back on the
# title, quit the program. The
# database then holds the run's score row and its play time.
set -euo pipefail
BUILD=$(cd "${1:?usage: test_play_session.sh BUILD_DIR}" && pwd)
source "$(dirname "$0")/lib.sh"

e2e_begin

cd "$WORK"
export OVELUNE_SCORE_SERVER=127.0.0.1:1  # no scoreboard: the submission fails at once
launch_to_title
screenshot "$ART/play-title.png"

press Return  # Play
sleep 0.5
screenshot "$ART/play-ship-select.png"
tap Return  # ship one
started=$SECONDS

# Play: both attack buttons held shoot straight up.
xdotool keydown z keydown x
sleep 5
screenshot "$ART/play-running.png"
sleep 3
xdotool keyup z keyup x
tap Escape
sleep 0.5
screenshot "$ART/play-paused.png"
tap q 0.3
played=$((SECONDS - started))
sleep 0.5
tap Return  # the name entry: the stored name, empty, is sent as Mr_Perfect

wait_for_title "$WIN" "$PID" shot.png 20 || e2e_fail "the title did not come back after the run"
screenshot "$ART/play-title-after.png"

select_item 5 Up  # "quit" is above "Play" when the selection wraps
tap Return
expect_clean_exit "$PID" 10 "the program after quit"

rows=$(sqlite3 VE4R.dtb "SELECT count(*) FROM scores")
[[ "$rows" == "1" ]] || e2e_fail "expected one score row, found $rows"
read -r score level ship < <(sqlite3 -separator ' ' VE4R.dtb "SELECT score, level, perfect FROM scores")
[[ "$level" == "1" && "$ship" == "1" ]] || e2e_fail "score row level $level ship $ship"
[[ "$score" =~ ^[0-9]+$ ]] || e2e_fail "score '$score'"
read -r hours minutes seconds < <(sqlite3 -separator ' ' VE4R.dtb "SELECT hours, minutes, seconds FROM setupData")
total=$((hours * 3600 + minutes * 60 + seconds))
# The run's clock counts frames: on a slow software renderer it lags the wall
# clock, but the run must have added some time and never more than it lasted.
((total >= 1 && total <= played + 2)) || e2e_fail "play time $total s for a run of about $played s"
echo "PASS: title, a run with ship one (score $score, $total s), back to the title, quit"
