#!/usr/bin/env bash
# Peak resident memory of the real game over a whole run of ship one, driven
# under Xvfb: title, Play, ship one, both attack buttons held while the ship
# sways left and right, until the run is over (its score row is written).
# Prints `game_peak_rss_mb` (the kernel's high-water mark, VmHWM) and
# `game_run_seconds`. With --first, plays only the first MAX_SECONDS of the
# run and reports the peak up to then.
# Usage: peak_rss.sh BUILD_DIR [MAX_SECONDS [--first]]
set -euo pipefail
BUILD=$(cd "${1:?usage: peak_rss.sh BUILD_DIR [MAX_SECONDS [--first]]}" && pwd)
MAX=${2:-1800}  # a loaded machine plays the 314 s run in up to 15 minutes
FIRST=${3:-}
source "$(dirname "$0")/../e2e/lib.sh"

e2e_begin
cd "$WORK"
export ALSOFT_DRIVERS=null
export OVELUNE_SCORE_SERVER=127.0.0.1:1  # no scoreboard: nothing waits on the network
export OVELUNE_MENU_TRACE=1  # the menu's screen on standard error
launch_game
# The high-water mark so far, also when the run fails.
report_hwm() {
  local hwm
  hwm=$(awk '/^VmHWM:/ { print $2 }' "/proc/$PID/status" 2>/dev/null) || return 0
  [[ -n "$hwm" ]] && echo "game_peak_rss_mb: $(awk -v k="$hwm" 'BEGIN { printf "%.1f", k / 1024 }')"
}
e2e_on_exit "[[ -n \"\${REPORTED:-}\" ]] || report_hwm"
wait_for_title "$WIN" "$PID" shot.png 60 || e2e_fail "the title menu never appeared"
xdotool windowfocus "$WIN" 2>/dev/null || true
press_until Return in_screen play
tap Return  # ship one
started=$SECONDS
xdotool keydown z keydown x
side=Left
rows() { sqlite3 VE4R.dtb "SELECT count(*) FROM scores" 2>/dev/null || echo 0; }
while [[ "$(rows)" == "0" ]] && ((SECONDS - started < MAX)); do
  kill -0 "$PID" 2>/dev/null || e2e_fail "the game ended during the run"
  xdotool keydown "$side"
  sleep 1.5
  xdotool keyup "$side"
  [[ $side == Left ]] && side=Right || side=Left
done
xdotool keyup z keyup x
[[ "$(rows)" != "0" || $FIRST == --first ]] || e2e_fail "the run did not end within $MAX s"
report_hwm
REPORTED=1
echo "game_run_seconds: $((SECONDS - started))"
