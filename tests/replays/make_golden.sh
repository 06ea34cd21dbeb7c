#!/usr/bin/env bash
# Records every golden run of recipes.txt again with the simulator. Run it
# (`make golden`) when the game's behaviour changes on purpose, and say in
# the commit why it changed.
set -euo pipefail
BUILD=$(cd "${1:?usage: make_golden.sh BUILD}" && pwd)
cd "$(dirname "$0")"
rm -f ./*.ovr
exec > >(tee expected.txt)
while read -r name args; do
  [[ -z $name || $name == \#* ]] && continue
  # shellcheck disable=SC2086
  "$BUILD/ovelune-sim" $args --record "$name.ovr" >"$name.json.tmp"
  end=$(grep -o '"end":"[a-z]*"' "$name.json.tmp" | cut -d'"' -f4)
  score=$(grep -o '"score":[0-9-]*' "$name.json.tmp" | head -n 1 | cut -d: -f2)
  frames=$(grep -o '"frames":[0-9]*' "$name.json.tmp" | cut -d: -f2)
  rm -f "$name.json.tmp"
  printf '%-20s %-10s score %-10s frames %s\n' "$name" "$end" "$score" "$frames"
done <recipes.txt
