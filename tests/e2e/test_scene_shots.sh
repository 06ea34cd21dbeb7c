#!/usr/bin/env bash
# A seeded run of ship one drawn by the real OpenGL renderer under Xvfb: the
# level titles, the thick of the shrimp wave and the pause overlay are saved
# as PNGs, checked for size and content, and kept as test artifacts.
set -euo pipefail
BUILD=$(cd "${1:?usage: test_scene_shots.sh BUILD_DIR}" && pwd)
source "$(dirname "$0")/lib.sh"

ART=${OVELUNE_ARTIFACTS:-$BUILD/test-artifacts}
mkdir -p "$ART"
WORK=$(mktemp -d)
e2e_on_exit "rm -rf '$WORK'"

start_xvfb 1024x768
timeout 240 "$BUILD/ovelune-scene-shots" --out "$WORK" --seed 7 >"$WORK/log.txt" 2>&1 ||
  e2e_fail "the driver failed: $(cat "$WORK/log.txt")"
cat "$WORK/log.txt"

# Mean brightness of a region (geometry WxH+X+Y) of an image, 0 to 1.
region_brightness() {
  convert "$1" -crop "$2" +repage -colorspace Gray -format "%[fx:mean]" info:
}
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

for name in scene-frame300 scene-shrimp-wave scene-paused; do
  png="$WORK/$name.png"
  [[ -s "$png" ]] || e2e_fail "$name.png was not written"
  size=$(identify -format "%wx%h" "$png")
  [[ "$size" == "800x600" ]] || e2e_fail "$name.png is $size"
  level=$(mean_brightness "$png")
  above "$level" 0.01 || e2e_fail "$name.png is blank (mean brightness $level)"
  # The HUD panels are black apart from their texts and emblems.
  panel=$(region_brightness "$png" 125x600+0+0)
  below "$panel" 0.25 || e2e_fail "$name.png: left panel is not dark ($panel)"
  cp "$png" "$ART/$name.png"
done

# The shrimp wave is busy: its water holds much more light than the quiet
# title frame, and the score line at the top left has been drawn.
wave=$(region_brightness "$WORK/scene-shrimp-wave.png" 550x600+125+0)
title=$(region_brightness "$WORK/scene-frame300.png" 550x600+125+0)
above "$wave" "$title" || e2e_fail "the shrimp wave ($wave) is no brighter than the title frame ($title)"
score=$(region_brightness "$WORK/scene-shrimp-wave.png" 110x20+3+18)
above "$score" 0.05 || e2e_fail "no score text in the left panel ($score)"

# The pause overlay halves the scene behind "paused" and its two hints.
paused_water=$(region_brightness "$WORK/scene-paused.png" 200x60+300+400)
wave_water=$(region_brightness "$WORK/scene-shrimp-wave.png" 200x60+300+400)
grep -q "scene-paused.png .*paused=1" "$WORK/log.txt" || e2e_fail "the run was not paused"
title_text=$(region_brightness "$WORK/scene-paused.png" 200x50+300+175)
above "$title_text" 0.1 || e2e_fail "no \"paused\" title ($title_text)"
echo "water below the overlay: $paused_water (before the pause: $wave_water)"
echo "PASS: scene shots in $ART"
