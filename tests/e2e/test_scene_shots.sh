#!/usr/bin/env bash
# A seeded run of ship one drawn by the real OpenGL renderer under Xvfb: the
# level titles, an early frame, the thick of the shrimp wave and the pause
# overlay, then the anemones, eels, seahorses, jellyfish and hermit shells of
# a second run, are saved as PNGs, checked for size and content, and kept as
# test artifacts for a person to look at.
set -euo pipefail
BUILD=$(cd "${1:?usage: test_scene_shots.sh BUILD_DIR}" && pwd)
source "$(dirname "$0")/lib.sh"

e2e_begin
# The run is played in full; only the 120 frames before each shot are drawn,
# which gives the same pictures (the translucent clear forgets older frames)
# in a fraction of the time a software renderer needs for all 3500.
export ALSOFT_DRIVERS=null
timeout 280 "$BUILD/ovelune-scene-shots" --out "$WORK" --seed 7 --render 120 >"$WORK/log.txt" 2>"$WORK/err.txt" ||
  e2e_fail "the driver failed: $(cat "$WORK/log.txt" "$WORK/err.txt")"
cat "$WORK/log.txt"

# Mean brightness of a region (geometry WxH+X+Y) of an image, 0 to 1.
region_brightness() {
  convert "$1" -crop "$2" +repage -colorspace Gray -format "%[fx:mean]" info:
}
# Number of strongly magenta pixels in the open water.
magenta_pixels() {
  convert "$1" -crop 550x600+125+0 +repage -fx "(r > 0.7 && b > 0.5 && g < 0.5) ? 1 : 0" \
    -format "%[fx:int(mean * 550 * 600)]" info:
}
# Number of bright pixels (grey above 0.6) in the open water.
bright_pixels() {
  convert "$1" -crop 550x600+125+0 +repage -colorspace Gray -fx "u > 0.6 ? 1 : 0" \
    -format "%[fx:int(mean * 550 * 600)]" info:
}
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
check_above() {  # what value bound
  above "$2" "$3" || e2e_fail "$1: $2 is not above $3"
}

CREATURES="scene-anemones scene-eels scene-seahorses scene-jellyfish scene-hermitshells"
for name in scene-titles scene-frame300 scene-shrimp-wave scene-paused $CREATURES; do
  png="$WORK/$name.png"
  [[ -s "$png" ]] || e2e_fail "$name.png was not written"
  size=$(identify -format "%wx%h" "$png")
  [[ "$size" == "800x600" ]] || e2e_fail "$name.png is $size"
  check_above "$name.png mean brightness" "$(mean_brightness "$png")" 0.02
  # The side panels are black where no HUD item is drawn.
  check_above "$name.png: black left panel" 0.01 "$(region_brightness "$png" 60x200+60+100)"
  check_above "$name.png: black right panel" 0.01 "$(region_brightness "$png" 110x300+685+200)"
  cp "$png" "$ART/$name.png"
done

wave="$WORK/scene-shrimp-wave.png"
check_above "score text" "$(region_brightness "$wave" 110x20+3+18)" 0.03
check_above "power text" "$(region_brightness "$wave" 70x20+678+78)" 0.03
check_above "lit energy bar" "$(region_brightness "$wave" 20x230+51+310)" 0.1
check_above "lives heart" "$(region_brightness "$wave" 20x20+30+565)" 0.1
check_above "magenta shrimp and shots of the wave against frame 300" \
  "$(magenta_pixels "$wave")" "$(magenta_pixels "$WORK/scene-frame300.png")"
grep -q "scene-shrimp-wave.png .*lives=3 powerlevel=3" "$WORK/log.txt" || e2e_fail "ship one lost a life or its power"

titles="$WORK/scene-titles.png"
check_above "\"Neon Ocean\" over the water" "$(region_brightness "$titles" 260x40+270+275)" \
  "$(awk -v w="$(region_brightness "$titles" 260x40+270+175)" 'BEGIN { print 2 * w }')"

paused="$WORK/scene-paused.png"
grep -q "scene-paused.png .*paused=1" "$WORK/log.txt" || e2e_fail "the run was not paused"
check_above "\"paused\" title" "$(region_brightness "$paused" 200x50+300+175)" 0.15
check_above "scene dimmed under the pause overlay" "$(region_brightness "$wave" 550x600+125+0)" \
  "$(region_brightness "$paused" 550x600+125+0)"
early=$(bright_pixels "$WORK/scene-frame300.png")
for name in $CREATURES; do
  check_above "$name.png: glowing creatures against frame 300" "$(bright_pixels "$WORK/$name.png")" "$early"
done
echo "PASS: scene shots in $ART"
