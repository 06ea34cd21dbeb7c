#!/usr/bin/env bash
# ovelune-sim: the same seed and input give byte-identical JSON and traces; a
# whole autopilot run with ship one beats the crab, whose state the trace
# carries while it lives, and a whole autopilot run finishes for every other
# ship; bad arguments are refused with a message.
source "$(dirname "$0")/lib.sh"

cat >"$WORK/input.txt" <<'SCRIPT'
# frames  keys
1 850 fire1 fire2
150 170 left      # drift left while firing
300 330 up
700 700 escape    # pause...
705 705 escape    # ...and resume
SCRIPT

run() { "$SIM" --ship 1 --seed "$1" --frames 900 --input "$WORK/input.txt" --trace "$WORK/trace$2.jsonl"; }
run 11 a >"$WORK/a.json"
run 11 b >"$WORK/b.json"
cmp -s "$WORK/a.json" "$WORK/b.json" || fail "two runs with one seed printed different JSON"
cmp -s "$WORK/tracea.jsonl" "$WORK/traceb.jsonl" || fail "two runs with one seed wrote different traces"
[[ $(wc -l <"$WORK/tracea.jsonl") -eq 900 ]] || fail "the trace should have one line per frame"
run 12 c >"$WORK/c.json"
cmp -s "$WORK/a.json" "$WORK/c.json" && fail "another seed gave the same run"
grep -q '"killcount":[1-9]' "$WORK/a.json" || fail "the scripted fire killed nothing: $(cat "$WORK/a.json")"

"$SIM" --ship 1 --seed 5 --bot autopilot --until-end >"$WORK/end.json"
grep -q '"ended":true' "$WORK/end.json" || fail "the autopilot run did not end: $(cat "$WORK/end.json")"
grep -q '"gamecompleted":1,"gamefailed":0' "$WORK/end.json" || fail "the autopilot did not beat the crab: $(cat "$WORK/end.json")"

"$SIM" --ship 1 --seed 5 --bot autopilot --frames 11460 --trace "$WORK/boss.jsonl" >/dev/null
grep -q '"boss"' <(sed -n 11099p "$WORK/boss.jsonl") && fail "a boss was traced before frame 11100"
sed -n 11100p "$WORK/boss.jsonl" | grep -q '"boss":{"x":400.30,"y":-197.00,"energy":1200.00,"claw1energy":300,"claw2energy":300,"attacktimer":0,"attackpattern":1,"attackphase":1,"moving":1,' ||
  fail "the crab's first frame: $(sed -n 11100p "$WORK/boss.jsonl")"
# It arrives on its 339th frame, then the pattern clock starts.
sed -n 11438p "$WORK/boss.jsonl" | grep -q '"moving":0,"pausetimer":62}' || fail "arrival: $(sed -n 11438p "$WORK/boss.jsonl")"
sed -n 11439p "$WORK/boss.jsonl" | grep -q '"attacktimer":1,' || fail "after the arrival: $(sed -n 11439p "$WORK/boss.jsonl")"

# Every ship replays byte for byte, and its special shows in the trace.
cat >"$WORK/special.txt" <<'SCRIPT'
1 400 fire1
200 230 fire3
300 320 fire2
SCRIPT
for ship in 2 3 4 5 6; do
  for copy in a b; do
    "$SIM" --ship $ship --seed 3 --frames 400 --input "$WORK/special.txt" --trace "$WORK/ship$ship$copy.jsonl" \
      >"$WORK/ship$ship$copy.json"
  done
  cmp -s "$WORK/ship${ship}a.json" "$WORK/ship${ship}b.json" || fail "ship $ship: two runs printed different JSON"
  cmp -s "$WORK/ship${ship}a.jsonl" "$WORK/ship${ship}b.jsonl" || fail "ship $ship: two runs wrote different traces"
  grep -q '"new_bullets":[1-9]' "$WORK/ship${ship}a.jsonl" || grep -q '"new_missiles":[1-9]' "$WORK/ship${ship}a.jsonl" ||
    fail "ship $ship fired nothing"
done
grep -q '"new_beams":2' "$WORK/ship2a.jsonl" || fail "ship two's special made no beams"
grep -q '"new_rings":1' "$WORK/ship3a.jsonl" || fail "ship three's special made no rings"
[[ $(grep -c '"new_fires":1' "$WORK/ship4a.jsonl") -eq 1 ]] || fail "ship four's special should make one fire"
grep -q '"rotation":90.0' "$WORK/ship4a.jsonl" || fail "ship four did not turn for its sideways shots"
grep -q '"new_missiles":[1-9]' "$WORK/ship5a.jsonl" || fail "ship five launched no missiles"

for ship in 2 3 4 5 6; do
  "$SIM" --ship $ship --seed 5 --bot autopilot --until-end >"$WORK/end$ship.json"
  grep -q '"ended":true' "$WORK/end$ship.json" || fail "ship $ship: the autopilot run did not end: $(cat "$WORK/end$ship.json")"
done

"$SIM" --ship 9 --seed 1 --frames 10 >/dev/null 2>"$WORK/err.txt" && fail "ship 9 was accepted"
grep -q "there is no ship 9" "$WORK/err.txt" || fail "unclear message: $(cat "$WORK/err.txt")"
"$SIM" --ship 1 --frames 10 --bot dance >/dev/null 2>&1 && fail "an unknown bot was accepted"
echo "PASS: deterministic runs of every ship, whole autopilot runs, argument checks"
