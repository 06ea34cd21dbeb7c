#!/usr/bin/env bash
# Every measurement of `make bench`, printed as `name: value` lines (plain
# numbers, the unit in the name) so scripts can read them. Ratios only mean
# something between figures of the same run. The renderer and start-up
# figures need a display: a private Xvfb is started unless one answers.
set -euo pipefail
BUILD=$(cd "${1:?usage: run_benches.sh BUILD_DIR}" && pwd)
source "$(dirname "$0")/../e2e/lib.sh"

if [[ -z "${DISPLAY:-}" ]] || ! xdpyinfo >/dev/null 2>&1; then
  start_xvfb 1024x768
fi
export ALSOFT_DRIVERS=null  # no sound card needed or probed

# Hot paths (Google Benchmark): CPU time per operation in nanoseconds.
"$BUILD/ovelune-bench" --benchmark_min_time=0.2 --benchmark_format=csv 2>/dev/null |
  awk -F, 'NR > 1 && $5 != "" {
    gsub(/"/, "", $1); scale = ($5 == "us") ? 1e3 : ($5 == "ms") ? 1e6 : 1
    printf "%s_ns: %.1f\n", $1, $4 * scale
  }'

"$BUILD/ovelune-render-bench" 2>/dev/null
"$BUILD/ovelune-startup-bench" --runs 5

# Whole simulated runs, update and draw to nowhere: frames per second of
# processor time and the multiple of real time (60 frames a second), for the
# fire bot's first 3000 frames and for every ship's whole autopilot run. The
# autopilot's run is recorded, then its replay is timed: the pilot's own
# thinking between frames stays out of the figure, and the processor clock is
# read once around all the frames instead of twice for each. The best of
# five replays is taken, the one least disturbed by anything else running.
sim_fps() {
  "$BUILD/ovelune-sim" "$@" --bench | grep -o '"cpu_frames_per_second":[0-9.]*' | cut -d: -f2
}
fire=$(sim_fps --ship 1 --bot fire --frames 3000)
awk -v f="$fire" 'BEGIN { printf "sim_fire_3000_frames_per_s: %.0f\nsim_fire_3000_times_real_time: %.0f\n", f, f / 60 }'
runs=$(mktemp -d)
e2e_on_exit "rm -rf '$runs'"
for ship in 1 2 3 4 5 6; do
  "$BUILD/ovelune-sim" --ship "$ship" --seed 1 --bot autopilot --until-end --record "$runs/ship$ship.ovr" >/dev/null
  auto=$(for i in 1 2 3 4 5; do sim_fps --replay "$runs/ship$ship.ovr"; done | sort -g | tail -1)
  awk -v s="$ship" -v a="$auto" 'BEGIN {
    printf "sim_ship%d_run_frames_per_s: %.0f\nsim_ship%d_run_times_real_time: %.0f\n", s, a, s, a / 60
  }'
done

# The scoreboard server under a bounded load on loopback, and how many whole
# runs it verifies a second.
"$(dirname "$0")/scoreboard_load.sh" "$BUILD" 50 10
"$(dirname "$0")/verification_rate.sh" "$BUILD"

# Peak memory of the real game over a whole run (minutes; BENCH_SKIP_RSS=1
# leaves it out).
[[ "${BENCH_SKIP_RSS:-0}" == 1 ]] || "$(dirname "$0")/peak_rss.sh" "$BUILD"
