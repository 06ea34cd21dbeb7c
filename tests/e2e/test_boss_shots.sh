#!/usr/bin/env bash
# The giant crab drawn by the real OpenGL renderer under Xvfb in phase one,
# phase two and the frenzy: each picture is checked for size, for the lit
# crab in the upper water against the darker water below it, and kept as a
# test artifact for a person to look at.
set -euo pipefail
BUILD=$(cd "${1:?usage: test_boss_shots.sh BUILD_DIR}" && pwd)
source "$(dirname "$0")/lib.sh"

e2e_begin
export ALSOFT_DRIVERS=null
timeout 240 "$BUILD/ovelune-boss-shots" --out "$WORK" --seed 7 >"$WORK/log.txt" 2>"$WORK/err.txt" ||
  e2e_fail "the driver failed: $(cat "$WORK/log.txt" "$WORK/err.txt")"
cat "$WORK/log.txt"

region_brightness() {
  convert "$1" -crop "$2" +repage -colorspace Gray -format "%[fx:mean]" info:
}
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

for name in boss-phase1 boss-phase2 boss-frenzy; do
  png="$WORK/$name.png"
  [[ -s "$png" ]] || e2e_fail "$name.png was not written"
  size=$(identify -format "%wx%h" "$png")
  [[ "$size" == "800x600" ]] || e2e_fail "$name.png is $size"
  crab=$(region_brightness "$png" 300x200+250+20)
  above "$crab" 0.18 || e2e_fail "$name.png: the crab's region is dark ($crab)"
  cp "$png" "$ART/$name.png"
done

grep -q "boss-phase1.png .*phase=1 pattern=1 .*claws=[1-9]" "$WORK/log.txt" || e2e_fail "phase one was not shown"
grep -q "boss-phase2.png .*phase=2 .*claws=0,0" "$WORK/log.txt" || e2e_fail "phase two was not shown"
grep -q "boss-frenzy.png .*phase=2 pattern=4 " "$WORK/log.txt" || e2e_fail "the frenzy was not shown"
echo "PASS: crab shots in $ART"
