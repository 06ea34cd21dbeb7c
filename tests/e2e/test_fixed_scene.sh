#!/usr/bin/env bash
# One fixed picture drawn by the real OpenGL renderer under Xvfb: single
# pixels are checked against the blend equations, the rotation and its pivot,
# the mirroring scale, the line width and the text, and the picture is kept
# as a test artifact.
set -euo pipefail
BUILD=$(cd "${1:?usage: test_fixed_scene.sh BUILD_DIR}" && pwd)
source "$(dirname "$0")/lib.sh"

e2e_begin
export ALSOFT_DRIVERS=null
png="$WORK/fixed-scene.png"
timeout 60 "$BUILD/ovelune-fixed-scene" --out "$png" >"$WORK/log.txt" 2>"$WORK/err.txt" ||
  e2e_fail "the driver failed: $(cat "$WORK/log.txt" "$WORK/err.txt")"
[[ -s "$png" ]] || e2e_fail "no picture was written"
cp "$png" "$ART/fixed-scene.png"
[[ "$(identify -format "%wx%h" "$png")" == "800x600" ]] || e2e_fail "the picture is not 800x600"

# The glow sprite's alpha (0..255) at texel I J, as the driver read it.
ga() {
  local a
  a=$(awk -v i="$1" -v j="$2" '$1 == "glow-alpha" && $2 == i && $3 == j { print $4 }' "$WORK/log.txt")
  [[ -n "$a" ]] || e2e_fail "no glow alpha for texel $1 $2"
  echo "$a"
}
# expect WHAT X Y R G B: each channel (an awk expression, clamped to 0..255)
# within 8 of the pixel.
expect() {
  local what=$1 x=$2 y=$3 got want
  got=$(pixel_rgb "$png" "$x" "$y")
  want=$(awk "function c(v) { v = int(v + 0.5); return v < 0 ? 0 : (v > 255 ? 255 : v) }
    BEGIN { print c($4) \",\" c($5) \",\" c($6) }")
  awk -v g="$got" -v w="$want" 'BEGIN { split(g, a, ","); split(w, b, ",");
    for (i = 1; i <= 3; i++) { d = a[i] - b[i]; if (d > 8 || d < -8) exit 1 } }' ||
    e2e_fail "$what at ($x,$y): got $got, expected $want"
}
bg="10 10 30"

expect "background" 20 560 $bg
# Alpha blend: a red glow at alpha 127/255 over solid blue.
expect "blue square" 45 45 0 0 255
a="$(ga 32 32) / 255 * 127 / 255"
expect "red glow alpha-blended over blue" 90 90 "255 * $a" 0 "255 * (1 - $a)"
# Light blend: each glow adds colour x its alpha to what is there.
expect "red glow centre, lit by green and blue" 232 72 "10 + $(ga 32 32)" "10 + $(ga 8 32)" "30 + $(ga 20 11)"
expect "overlap of the three glows" 244 79 "10 + $(ga 44 39)" "10 + $(ga 20 39)" "30 + $(ga 32 18)"
# The bar turned 45 degrees clockwise about its middle (400,200): its right
# half 30 pixels down-right along the turned axis, its left half up-left.
expect "yellow end of the turned bar" 421 221 255 255 0
expect "magenta end of the turned bar" 379 179 255 0 255
expect "where a counter-clockwise turn would put the bar" 421 179 $bg
expect "where a counter-clockwise turn would put the bar" 379 221 $bg
expect "where the unturned bar would be" 430 200 $bg
# Mirrored about x = 640: red left half now on the right; unmirrored at 740.
expect "mirrored image, left" 610 120 0 255 0
expect "mirrored image, right" 670 120 255 0 0
expect "plain image, left" 710 120 255 0 0
expect "plain image, right" 770 120 0 255 0
# The six-pixel line along row 330, from x 60 to 740.
for x in 100 400 700; do expect "line" "$x" 330 0 255 255; done
expect "line, two rows above" 400 328 0 255 255
expect "line, two rows below" 400 332 0 255 255
expect "above the line" 400 325 $bg
expect "below the line" 400 335 $bg
expect "past the line's end" 750 330 $bg

# White text in its box: a share of the box bright, nothing bright below it.
read -r tx ty tw th < <(awk '$1 == "text" { print $2, $3, $4, $5 }' "$WORK/log.txt")
bright_share() {  # geometry: share of pixels brighter than 0.8
  convert "$png" -crop "$1" +repage -colorspace Gray -fx "u > 0.8 ? 1 : 0" -format "%[fx:mean]" info:
}
share=$(bright_share "${tw}x${th}+${tx}+${ty}")
awk -v s="$share" 'BEGIN { exit !(s > 0.05 && s < 0.6) }' || e2e_fail "text box bright share $share"
max=$(region_max_brightness "$png" "$tx" "$ty" "$tw" "$th")
awk -v m="$max" 'BEGIN { exit !(m > 0.95) }' || e2e_fail "no white text pixels (brightest $max)"
below=$(bright_share "${tw}x${th}+${tx}+$((ty + th + 10))")
awk -v s="$below" 'BEGIN { exit !(s == 0) }' || e2e_fail "bright pixels below the text: $below"

echo "PASS: fixed scene ($ART/fixed-scene.png)"
