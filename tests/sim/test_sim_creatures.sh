#!/usr/bin/env bash
# ovelune-sim as a level preview: with an invulnerable ship and nobody at the
# controls a whole level runs to its end with every creature spawned and no
# enemy ever on a non-finite number (the simulator fails the run otherwise);
# the trace names the live classes and the texts of each frame.
source "$(dirname "$0")/lib.sh"

for seed in 1 2 3; do
  "$SIM" --ship 1 --seed "$seed" --invulnerable --bot none --until-end >"$WORK/end.json" 2>"$WORK/err.txt" ||
    fail "seed $seed: $(cat "$WORK/err.txt")"
  end=$(cat "$WORK/end.json")
  grep -q '"ended":true' <<<"$end" || fail "seed $seed: the level did not end: $end"
  grep -q '"lives":3' <<<"$end" || fail "seed $seed: the invulnerable ship lost a life: $end"
  # Nobody fights the crab: the boss clock runs out and the level is failed.
  grep -q '"gamefailed":1' <<<"$end" && grep -q '"bosstimer":0' <<<"$end" ||
    fail "seed $seed: an unfought crab should end in Level Failed with the boss clock at 0: $end"
  for class in starfish anenome shrimp eel seahorse jellyfish yellowfish hermitshell shrimp2 boss enemybullet; do
    grep -Eq "\"spawned\":\{[^}]*\"$class\":[1-9]" <<<"$end" || fail "seed $seed: no $class spawned: $end"
  done
  # Fixed rows of the level: six jellyfish, six shells, two seahorses, 19 eels.
  grep -q '"jellyfish":6,' <<<"$end" || fail "seed $seed: jellyfish count: $end"
  grep -q '"hermitshell":6,' <<<"$end" || fail "seed $seed: hermit shell count: $end"
  grep -q '"seahorse":2,' <<<"$end" || fail "seed $seed: seahorse count: $end"
  grep -q '"eel":19,' <<<"$end" || fail "seed $seed: eel count: $end"
done

"$SIM" --ship 1 --seed 1 --invulnerable --frames 1930 --trace "$WORK/trace.jsonl" >/dev/null
sed -n 60p "$WORK/trace.jsonl" | grep -q '"texts":\["Level 1"\]' || fail "frame 60 should create \"Level 1\""
sed -n 61p "$WORK/trace.jsonl" | grep -q '"texts":\[\]' || fail "frame 61 creates no text"
sed -n 1930p "$WORK/trace.jsonl" | grep -Eq '"enemies_by_class":\{"anenome":1,"starfish":[0-9]+\}' ||
  fail "frame 1930: $(sed -n 1930p "$WORK/trace.jsonl")"
echo "PASS: invulnerable level previews end with every creature spawned; per-class trace counts and texts"
