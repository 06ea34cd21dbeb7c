#!/usr/bin/env bash
# The real game's resident memory stays under 200 MB over the start-up, the
# title menu and the first minute of a run of ship one: the music streams
# rather than lying decoded, and loaded images leave their pixels to the
# renderer. The peak of a whole run (tests/perf/peak_rss.sh) is reached in
# its first minute; the rest of the run adds well under a megabyte.
set -euo pipefail
BUILD=$(cd "${1:?usage: test_peak_memory.sh BUILD_DIR}" && pwd)
LIMIT_MB=${OVELUNE_PEAK_RSS_LIMIT_MB:-200}
out=$("$(dirname "$0")/../perf/peak_rss.sh" "$BUILD" 60 --first) || {
  echo "$out"
  echo "FAIL: the game could not be driven through a minute of play" >&2
  exit 1
}
echo "$out"
peak=$(sed -n 's/^game_peak_rss_mb: //p' <<<"$out")
[[ -n "$peak" ]] || { echo "FAIL: no peak reported" >&2; exit 1; }
awk -v p="$peak" -v l="$LIMIT_MB" 'BEGIN { exit !(p <= l) }' || {
  echo "FAIL: peak resident memory $peak MB is above $LIMIT_MB MB" >&2
  exit 1
}
