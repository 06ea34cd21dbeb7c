#!/usr/bin/env bash
# The title menu's setup, achievements and ship selection, driven with real
# key presses under Xvfb and checked in the database while the game runs:
# sound off is stored at once; seven redefined keys are stored and the ship
# panel's controls then name them; the switch to a window is stored and the
# next start opens an 800x600 window; a close request (SIGTERM) in the middle
# of a key redefinition leaves the old keys stored. Screenshots of the ship
# selection with its demonstration, the achievements and the setup screen.
set -euo pipefail
BUILD=$(cd "${1:?usage: test_frontend_setup.sh BUILD_DIR}" && pwd)
source "$(dirname "$0")/lib.sh"

e2e_begin 1024x768

setting_is() {
  [[ "$(setting "$1")" == "$2" ]]
}
setting() {
  sqlite3 VE4R.dtb "SELECT $1 FROM setupData"
}
keys_stored() {
  sqlite3 -separator ' ' VE4R.dtb "SELECT upkey, downkey, leftkey, rightkey, fire1key, fire2key, fire3key FROM setupData"
}
# Width in screen pixels of the bright text of the ship panel's attack-1 line
# (logical 550,196 to 800,218), taken from the darkest of three shots so that
# shots and missiles flying past do not count.
attack1_line_width() {
  local out=$1 x0 y0 x1 y1
  for n in 1 2 3; do
    screenshot "$WORK/panel$n.png"
    sleep 0.25
  done
  convert "$WORK/panel1.png" "$WORK/panel2.png" "$WORK/panel3.png" -evaluate-sequence min "$out"
  read -r x0 y0 < <(window_point "$WIN" 550 196)
  read -r x1 y1 < <(window_point "$WIN" 800 218)
  convert "$out" -crop "$((x1 - x0))x$((y1 - y0))+$x0+$y0" +repage -colorspace Gray -threshold 70% \
    -format "%@" info: | sed -E 's/^([0-9]+)x.*/\1/'
}

cd "$WORK"
launch_to_title

# Ship selection with the default keys: "Z: shoot left".
press Return
sleep 1.5
screenshot "$ART/frontend-ship-select.png"
before=$(attack1_line_width "$ART/frontend-panel-default-keys.png")
press Left  # the "back" stop
press Return

# Achievements.
select_item 3
press Return
sleep 1
screenshot "$ART/frontend-achievements.png"
press Return

# Setup: sound off, stored at once.
select_item 4
press Return
sleep 0.5
screenshot "$ART/frontend-setup.png"
select_item 2
press_until Return setting_is sound 0
screenshot "$ART/frontend-setup-sfx-off.png"

# Seven keys: W S A D Space B N, read while the game waits inside one frame.
select_item 3
press Return
in_screen keys || e2e_fail "no key redefinition: $(menu_state)"
sleep 0.5
screenshot "$ART/frontend-keys-prompt.png"
for key in w s a d space b n; do tap "$key"; done
# "settings saved" shows for 120 frames before the setup screen is back.
within 20 in_screen setup || e2e_fail "the key redefinition did not end: $(menu_state)"
[[ "$(keys_stored)" == "87 83 65 68 32 66 78" ]] || e2e_fail "keys stored: $(keys_stored)"

# The panel now names the space bar for attack 1: a longer line than "Z".
select_item 6  # back
press Return
press Return  # Play
sleep 1.5
after=$(attack1_line_width "$ART/frontend-panel-new-keys.png")
((after > before + 20)) || e2e_fail "attack 1 line $before px wide with Z, $after px with Space"
press Left
press Return

# Switch to a window: stored, and the window is 800x600 at once.
select_item 4
press Return
select_item 5
press_until Return setting_is screendepth 0
sleep 1
WIN=$(find_window_by_pid "$PID" 10) || e2e_fail "no window after the switch"
read -r width height < <(xwininfo -id "$WIN" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
[[ "$width x $height" == "800 x 600" ]] || e2e_fail "window after the switch is $width x $height"
screenshot "$ART/frontend-windowed.png"
select_item 6  # back
press Return
select_item 5 Up  # quit
tap Return
expect_clean_exit "$PID"

# The next start opens the window; a SIGTERM during a key redefinition
# leaves the keys as they were.
launch_game
read -r width height < <(xwininfo -id "$WIN" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
[[ "$width x $height" == "800 x 600" ]] || e2e_fail "the next start opened $width x $height"
wait_for_title "$WIN" "$PID" shot.png 40 || e2e_fail "the title menu never appeared on the second start"
xdotool windowfocus "$WIN" 2>/dev/null || true
sleep 0.5
select_item 4
press Return
select_item 3
press Return
in_screen keys || e2e_fail "no key redefinition: $(menu_state)"
sleep 0.5
tap Up
tap Down
kill -TERM "$PID"
expect_clean_exit "$PID"
[[ "$(keys_stored)" == "87 83 65 68 32 66 78" ]] || e2e_fail "keys after SIGTERM mid-sequence: $(keys_stored)"
echo "PASS: sfx off, seven keys ($before -> $after px), window mode and its next start, SIGTERM keeps the keys"
