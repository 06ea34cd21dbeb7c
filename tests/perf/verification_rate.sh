#!/usr/bin/env bash
# Whole runs verified per second by a fresh server: RUNS uploads of the
# golden ship-one run (the whole level, 14520 frames), checked by as many
# worker processes as the machine has cores, timed from the first upload to
# the last verdict.
set -euo pipefail
BUILD=$(cd "${1:?usage: verification_rate.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-24}
GOLDEN=$(cd "$(dirname "$0")/../replays" && pwd)/ship1-crab-beaten.ovr
source "$(dirname "$0")/../scoreboard/server_lib.sh"

dir=$(mktemp -d)
trap 'board_cleanup; rm -rf "$dir"' EXIT
start_board "$dir/log" "$dir/board.db" --submit-limit 0 --verifiers "$(nproc)"
start=$(date +%s.%N)
for i in $(seq 1 "$runs"); do
  [[ $(upload "$BOARD_PORT" 1 "r$i" 8918178 "$GOLDEN") == 202 ]] || fail "upload r$i"
done
wait_listed "$BOARD_PORT" 1 "$runs" 300
end=$(date +%s.%N)
awk -v n="$runs" -v s="$start" -v e="$end" -v w="$(nproc)" \
  'BEGIN { printf "scoreboard_verified_runs_per_second: %.1f\nscoreboard_verifier_processes: %d\n", n / (e - s), w }'
