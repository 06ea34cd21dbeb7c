#!/usr/bin/env bash
# Every ship drawn by the real OpenGL renderer under Xvfb at weapon power 1
# and 5: its first attack, its second, and its special. The pictures are kept
# as test artifacts for a person to look at; the checks catch a ship or a
# weapon that draws nothing. Only the 30 frames before each picture are drawn:
# the translucent clear forgets older frames within a few dozen.
set -euo pipefail
BUILD=$(cd "${1:?usage: test_ship_portraits.sh BUILD_DIR}" && pwd)
source "$(dirname "$0")/lib.sh"

e2e_begin
export ALSOFT_DRIVERS=null
for ship in 1 2 3 4 5 6; do
  for power in 1 5; do
    timeout 120 "$BUILD/ovelune-scene-shots" --out "$WORK" --ship $ship --power $power --seed 7 --render 30 >>"$WORK/log.txt" \
      2>"$WORK/err.txt" || e2e_fail "ship $ship at power $power: $(cat "$WORK/err.txt")"
  done
done
cat "$WORK/log.txt"

above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
# Mean brightness of a region (geometry WxH+X+Y) of an image, 0 to 1.
region_brightness() {
  convert "$1" -crop "$2" +repage -colorspace Gray -format "%[fx:mean]" info:
}
water() { region_brightness "$1" 550x600+125+0; }
# Number of orange pixels (the shield's rings) in a square round the ship.
orange_pixels() {  # image x y
  convert "$1" -crop "140x140+$(($2 - 70))+$(($3 - 70))" +repage \
    -fx "(r > 0.8 && g > 0.3 && g < 0.75 && b < 0.35) ? 1 : 0" -format "%[fx:int(mean * 140 * 140)]" info:
}
ship_at() {  # file -> "x y" of the ship when the picture was taken
  grep "^$1 " "$WORK/log.txt" | sed -E 's/.* ship=([0-9]+),([0-9]+).*/\1 \2/'
}

for ship in 1 2 3 4 5 6; do
  for power in 1 5; do
    stem="ship$ship-power$power"
    for kind in guns second special; do
      png="$WORK/$stem-$kind.png"
      [[ -s "$png" ]] || e2e_fail "$stem-$kind.png was not written"
      [[ $(identify -format "%wx%h" "$png") == "800x600" ]] || e2e_fail "$stem-$kind.png is not 800x600"
      grep -q "^$stem-$kind.png .*lives=3 powerlevel=$power " "$WORK/log.txt" ||
        e2e_fail "$stem-$kind.png: the ship lost a life or its power"
      cp "$png" "$ART/$stem-$kind.png"
    done
    # The ship's glow and core stand out of the water.
    read -r x y <<<"$(ship_at "$stem-guns.png")"
    level=$(region_brightness "$WORK/$stem-guns.png" "20x20+$((x - 10))+$((y - 10))")
    above "$level" 0.3 || e2e_fail "$stem: the ship is hardly visible ($level)"
  done
  # More shots at full power.
  above "$(water "$WORK/ship$ship-power5-guns.png")" "$(water "$WORK/ship$ship-power1-guns.png")" ||
    e2e_fail "ship $ship: power 5 does not show more fire than power 1"
done

# The specials light up the water: missiles, beams, the fire, the trails.
for ship in 1 2 4 5; do
  for power in 1 5; do
    stem="ship$ship-power$power"
    above "$(water "$WORK/$stem-special.png")" "$(water "$WORK/$stem-guns.png")" ||
      e2e_fail "$stem: the special shows nothing"
  done
done
# Ship three's shield: orange rings round the ship.
for power in 1 5; do
  stem="ship3-power$power"
  read -r x y <<<"$(ship_at "$stem-special.png")"
  rings=$(orange_pixels "$WORK/$stem-special.png" "$x" "$y")
  read -r x y <<<"$(ship_at "$stem-guns.png")"
  plain=$(orange_pixels "$WORK/$stem-guns.png" "$x" "$y")
  above "$rings" $((plain + 100)) || e2e_fail "$stem: no shield rings ($rings orange pixels against $plain)"
done
echo "PASS: ship portraits in $ART"
