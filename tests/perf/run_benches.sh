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

# Whole simulated runs, update and draw to nowhere: frames per second and
# the multiple of real time (60 frames a second).
sim_fps() {
  "$BUILD/ovelune-sim" --ship 1 "$@" --bench | grep -o '"frames_per_second":[0-9.]*' | cut -d: -f2
}
fire=$(sim_fps --bot fire --frames 3000)
auto=$(sim_fps --bot autopilot --until-end)
awk -v f="$fire" -v a="$auto" 'BEGIN {
  printf "sim_fire_3000_frames_per_s: %.0f\nsim_fire_3000_times_real_time: %.0f\n", f, f / 60
  printf "sim_autopilot_run_frames_per_s: %.0f\nsim_autopilot_run_times_real_time: %.0f\n", a, a / 60
}'

# The scoreboard server under a bounded load on loopback.
"$(dirname "$0")/scoreboard_load.sh" "$BUILD" 50 10
