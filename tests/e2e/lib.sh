# Helpers for the end-to-end tests: a private X server, windows by pid,
# screenshots and pixel reads. Source it; it installs an EXIT trap that stops
# everything it started.

E2E_XVFB_PID=""
E2E_CLEANUPS=()

e2e_fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Runs the given command at exit (in reverse order of registration).
e2e_on_exit() {
  E2E_CLEANUPS+=("$*")
}

e2e_cleanup() {
  local i
  for ((i = ${#E2E_CLEANUPS[@]} - 1; i >= 0; i--)); do
    eval "${E2E_CLEANUPS[$i]}" || true
  done
  if [[ -n "$E2E_XVFB_PID" ]]; then
    kill "$E2E_XVFB_PID" 2>/dev/null || true
    wait "$E2E_XVFB_PID" 2>/dev/null || true
  fi
}
trap e2e_cleanup EXIT

# Starts Xvfb on a display number it picks itself (-displayfd never collides
# with another server) and exports DISPLAY. Arguments: screen size, e.g. 1024x768.
start_xvfb() {
  local size=${1:-1024x768}
  local fdfile
  fdfile=$(mktemp)
  e2e_on_exit "rm -f '$fdfile'"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fdfile" 2>/dev/null &
  E2E_XVFB_PID=$!
  local tries=0
  while [[ ! -s "$fdfile" ]]; do
    kill -0 "$E2E_XVFB_PID" 2>/dev/null || e2e_fail "Xvfb did not start"
    ((++tries > 100)) && e2e_fail "Xvfb did not report a display"
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$fdfile" | tr -d '[:space:]')"
  tries=0
  until xdpyinfo >/dev/null 2>&1 || xwininfo -root >/dev/null 2>&1; do
    ((++tries > 100)) && e2e_fail "display $DISPLAY never answered"
    sleep 0.1
  done
}

# Prints the first window owned by the process; waits up to $2 seconds (10).
find_window_by_pid() {
  local pid=$1 timeout=${2:-10} waited=0 win=""
  while true; do
    win=$(xdotool search --pid "$pid" 2>/dev/null | head -n1 || true)
    [[ -n "$win" ]] && { echo "$win"; return 0; }
    kill -0 "$pid" 2>/dev/null || return 1
    ((waited++ >= timeout * 10)) && return 1
    sleep 0.1
  done
}

# Prints the screen position "x y" of a point given in logical 800x600
# coordinates of the game inside the window (letterboxed to 4:3).
window_point() {
  local win=$1 lx=$2 ly=$3 X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$win" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  local cw=$WIDTH ch=$HEIGHT
  if ((WIDTH * 3 > HEIGHT * 4)); then cw=$((HEIGHT * 4 / 3)); else ch=$((WIDTH * 3 / 4)); fi
  echo "$((X + (WIDTH - cw) / 2 + lx * cw / 800)) $((Y + (HEIGHT - ch) / 2 + ly * ch / 600))"
}

# Saves the whole screen as a PNG.
screenshot() {
  import -window root "$1"
}

# Prints the colour of one pixel of an image as "r,g,b".
pixel_rgb() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# Prints the mean brightness of an image, 0 to 1.
mean_brightness() {
  convert "$1" -colorspace Gray -format "%[fx:mean]" info:
}
