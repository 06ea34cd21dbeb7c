#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for SECONDS each, starting from its
# seed corpus in the tree (new finds go to a scratch copy, not the tree).
# Usage: run_fuzzers.sh BUILD_DIR SECONDS
set -euo pipefail
build=$(cd "$1" && pwd)
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$build/fuzz-work
mkdir -p "$work"
status=0
for target in best-list http-reply input-script settings-row scoreboard-request replay-file; do
  corpus=$work/$target
  mkdir -p "$corpus"
  cp -n "$here/corpus/$target"/* "$corpus"/ 2>/dev/null || true
  max_len=4096
  if [[ $target == replay-file ]]; then
    # Whole recorded runs: the golden replays are the seeds.
    cp -n "$here/../replays"/*.ovr "$corpus"/
    max_len=131072
  fi
  echo "fuzz-$target: ${seconds}s"
  # One job; a finding leaves its input in $work and fails the run.
  if ! (cd "$work" && "$build/fuzz-$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=$max_len -print_final_stats=0 "$corpus" >"$work/$target.log" 2>&1); then
    echo "fuzz-$target: FAILED, see $work/$target.log"
    tail -40 "$work/$target.log"
    status=1
  else
    grep -E '^#[0-9]+.*DONE' "$work/$target.log" | tail -1 || true
  fi
done
exit $status
