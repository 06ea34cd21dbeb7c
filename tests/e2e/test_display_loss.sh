#!/usr/bin/env bash
# The display going away: the real game on a private X server, in the title
# menu, in the middle of a run, at the name entry and in the key
# redefinition, loses the server. Each time the game
# must be gone within 2 seconds with exit status 1 and one line saying what
# happened, and leave a sound database that holds the settings row.
set -euo pipefail
BUILD=$(cd "${1:?usage: test_display_loss.sh BUILD_DIR}" && pwd)
source "$(dirname "$0")/lib.sh"

e2e_begin

# Ends the X server and checks how the game ends.
lose_display_and_check() {
  local where=$1
  kill -TERM "$E2E_XVFB_PID"
  wait "$E2E_XVFB_PID" 2>/dev/null || true
  E2E_XVFB_PID=""
  local lost=$(date +%s%N) waited=0
  while kill -0 "$PID" 2>/dev/null; do
    ((waited++ < 20)) || e2e_fail "$where: the game still runs 2 s after the display went away"
    sleep 0.1
  done
  local ms=$((($(date +%s%N) - lost) / 1000000))
  local status=0
  wait "$PID" || status=$?
  [[ $status -eq 1 ]] || e2e_fail "$where: exit status $status (stdout: $(cat stdout.txt))"
  grep -qx 'Ovelune: the display was lost; the settings are saved' stdout.txt ||
    e2e_fail "$where: output '$(cat stdout.txt)'"
  [[ $(sqlite3 VE4R.dtb 'PRAGMA integrity_check') == ok ]] || e2e_fail "$where: the database is damaged"
  [[ $(sqlite3 VE4R.dtb 'SELECT count(*) FROM setupData') == 1 ]] || e2e_fail "$where: the settings row is gone"
  echo "$where: the game ended ${ms} ms after the display went away"
}

# In the title menu.
mkdir "$WORK/menu" && cd "$WORK/menu"
launch_to_title
lose_display_and_check "title menu"

# In a run, with fire held.
start_xvfb
mkdir "$WORK/run" && cd "$WORK/run"
launch_to_title
press Return  # Play
tap Return  # ship one
xdotool keydown z
sleep 2
lose_display_and_check "run"

# At the name entry after a run quit from the pause screen.
start_xvfb
mkdir "$WORK/name" && cd "$WORK/name"
launch_to_title
press Return  # Play
tap Return  # ship one
sleep 3
tap Escape
xdotool keydown q
sleep 0.3
xdotool keyup q
sleep 1
xdotool type --delay 100 "Ann"
lose_display_and_check "name entry"
[[ $(sqlite3 VE4R.dtb 'SELECT count(*) FROM scores') == 1 ]] || e2e_fail "name entry: the run was not booked"

# In the key redefinition (Setup, Keys), after two of the seven keys.
start_xvfb
mkdir "$WORK/keys" && cd "$WORK/keys"
launch_to_title
select_item 4  # Setup
press Return
select_item 3  # Keys
press Return
sleep 0.5
tap w
tap s
lose_display_and_check "key redefinition"
[[ "$(sqlite3 -separator ' ' VE4R.dtb 'SELECT upkey, downkey FROM setupData')" == "38 40" ]] ||
  e2e_fail "key redefinition: a half-done redefinition was stored"
