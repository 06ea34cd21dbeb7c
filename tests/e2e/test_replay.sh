#!/usr/bin/env bash
# A run played with real key presses under Xvfb is recorded: its replay file
# appears in replays/ beside the database, the simulator plays it back to the
# score the database holds, and a damaged copy is refused with one line. The
# game's replay theatre plays a whole recorded level at eight times the speed
# to its end, saying it played the same, well within a minute.
set -euo pipefail
BUILD=$(cd "${1:?usage: test_replay.sh BUILD_DIR}" && pwd)
GOLDEN=$(cd "$(dirname "$0")/../replays" && pwd)
source "$(dirname "$0")/lib.sh"

e2e_begin

cd "$WORK"
export OVELUNE_SCORE_SERVER=127.0.0.1:1
launch_to_title
press Return  # Play
sleep 0.5
tap Return  # ship one

# Fire and weave long enough for the first starfish to come down (a software
# renderer on a busy machine may draw far fewer than 60 frames a second),
# with a pause in the middle, then quit from a second pause.
xdotool keydown z
sleep 8
xdotool keydown Left
sleep 0.4
xdotool keyup Left
tap Escape
sleep 0.5
tap Escape
xdotool keydown Right
sleep 0.4
xdotool keyup Right
sleep 10
xdotool keyup z
tap Escape
sleep 0.3
tap q 0.3
sleep 0.5
tap Return  # the name entry
wait_for_title "$WIN" "$PID" shot.png 20 || e2e_fail "the title did not come back after the run"
select_item 5 Up  # quit
tap Return
expect_clean_exit "$PID" 10 "the program after quit"

shopt -s nullglob
files=(replays/*.ovr)
[[ ${#files[@]} -eq 1 ]] || e2e_fail "expected one replay file, found ${#files[@]}: $(ls -la replays 2>&1)"
replay=${files[0]}
leftovers=(replays/*.tmp)
[[ ${#leftovers[@]} -eq 0 ]] || e2e_fail "a temporary file was left in replays/"
stored=$(sqlite3 VE4R.dtb "SELECT score FROM scores")

json=$("$BUILD/ovelune-sim" --replay "$replay") || e2e_fail "ovelune-sim --replay failed: $json"
replayed=$(grep -o '"score":[0-9-]*' <<<"$json" | head -n 1 | cut -d: -f2)
end=$(grep -o '"end":"[a-z]*"' <<<"$json" | cut -d'"' -f4)
[[ "$replayed" == "$stored" ]] || e2e_fail "the replay scored $replayed, the database holds $stored"
[[ "$end" == "quit" ]] || e2e_fail "the replayed run ended '$end', not quit"
# The run's play time, booked from its own frame clock, must come out the same.
read -r hours minutes seconds < <(sqlite3 -separator ' ' VE4R.dtb "SELECT hours, minutes, seconds FROM setupData")
mins=$(grep -o '"mins":[0-9]*' <<<"$json" | cut -d: -f2)
secs=$(grep -o '"secs":[0-9]*' <<<"$json" | cut -d: -f2)
((hours * 3600 + minutes * 60 + seconds == mins * 60 + secs)) ||
  e2e_fail "the database booked ${minutes}m ${seconds}s of play, the replay ${mins}m ${secs}s"
frames=$(grep -o '"frames":[0-9]*' <<<"$json" | cut -d: -f2)
gametimer=$(grep -o '"gametimer":[0-9]*' <<<"$json" | cut -d: -f2)
((gametimer < frames)) || e2e_fail "the pauses were not replayed (gametimer $gametimer of $frames frames)"

# Watching a whole level at eight times the speed: the theatre plays it to
# its end and stays there until Escape.
"$BUILD/ovelune" --replay "$GOLDEN/ship1-crab-beaten.ovr" --speed 8 >watch.txt 2>&1 &
WATCH=$!
e2e_on_exit "stop_process $WATCH"
WWIN=$(find_window_by_pid "$WATCH" 20) || e2e_fail "no window for the replay: $(cat watch.txt)"
started=$SECONDS
xdotool windowfocus "$WWIN" 2>/dev/null || true
sleep 3
screenshot "$ART/replay-theatre.png"
until grep -q "the replay is over" watch.txt; do
  ((SECONDS - started < 60)) || e2e_fail "the whole level at 8x had not ended after a minute: $(cat watch.txt)"
  kill -0 "$WATCH" 2>/dev/null || e2e_fail "the theatre ended by itself: $(cat watch.txt)"
  sleep 0.5
done
took=$((SECONDS - started))
grep -q "the replay is over: it played the same: completed, score 8918178" watch.txt ||
  e2e_fail "the theatre's verdict: $(cat watch.txt)"
tap Escape
expect_clean_exit "$WATCH" 5 "the theatre after Escape" watch.txt

# A damaged copy: one clear line, status 1, no window.
cp "$replay" damaged.ovr
printf '\x55' | dd of=damaged.ovr bs=1 seek=40 conv=notrunc status=none
status=0
"$BUILD/ovelune" --replay damaged.ovr >refused.txt 2>&1 || status=$?
[[ $status -eq 1 ]] || e2e_fail "a damaged replay gave status $status"
grep -q "^Ovelune: cannot watch damaged.ovr: .*damaged" refused.txt || e2e_fail "refusal said: $(cat refused.txt)"
status=0
"$BUILD/ovelune-sim" --replay damaged.ovr >/dev/null 2>sim.txt || status=$?
[[ $status -ne 0 ]] && grep -q damaged sim.txt || e2e_fail "the simulator on a damaged replay: status $status, $(cat sim.txt)"
# Arguments the game does not take: the usage line and status 2, no window.
for args in "--version 8" "x --speed 8" "--speed 3" "--speed" "--version"; do
  status=0
  # shellcheck disable=SC2086 # the words of $args are the arguments
  timeout 10 "$BUILD/ovelune" --replay "$replay" $args >usage.txt 2>&1 || status=$?
  [[ $status -eq 2 ]] && grep -q "^usage: ovelune" usage.txt || e2e_fail "--replay FILE $args: status $status, $(cat usage.txt)"
done
echo "PASS: a run recorded to $replay ($frames frames, gametimer $gametimer) replays to the stored score $stored and play time ${mins}m ${secs}s; a whole level at 8x ended in ${took}s"
