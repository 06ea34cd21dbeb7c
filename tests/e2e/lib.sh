# Helpers for the end-to-end tests: a private X server, windows by pid,
# screenshots and pixel reads. Source it; it installs an EXIT trap that stops
# everything it started.

E2E_XVFB_PID=""
E2E_XVFB_SIZE=""
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

# The common start of an end-to-end test ($BUILD must be set): the artefact
# folder $ART, a private working directory $WORK removed at exit, and a
# private X server of the given size (1024x768 by default).
e2e_begin() {
  ART=${OVELUNE_ARTIFACTS:-$BUILD/test-artifacts}
  mkdir -p "$ART"
  WORK=$(mktemp -d)
  e2e_on_exit "rm -rf '$WORK'"
  start_xvfb "${1:-1024x768}"
}

# Starts the game in the current directory (output in stdout.txt and
# stderr.txt) and sets PID and WIN. Should the game find no display although
# the X server answered, the server's state is reported and the start is
# tried once more on a fresh server: these tests are about the game, not
# about the host's X server. $E2E_LAUNCHER, when set, is a command that execs
# the game (keeping its pid), such as `unshare -n`.
launch_game() {
  local attempt
  for attempt in 1 2; do
    OVELUNE_MENU_TRACE=1 ${E2E_LAUNCHER:-} "$BUILD/ovelune" >stdout.txt 2>stderr.txt &
    PID=$!
    e2e_on_exit "stop_process $PID"
    WIN=$(find_window_by_pid "$PID" 20) && return 0
    grep -q "cannot open a window" stdout.txt || break
    echo "warning: try $attempt: $(cat stdout.txt)" >&2
    echo "warning: $DISPLAY says: $(xdpyinfo 2>&1 | head -n 4 | paste -sd ' ')" >&2
    restart_xvfb
  done
  e2e_fail "no window appeared; stdout: $(cat stdout.txt)"
}

# Starts the bundled scoreboard on a loopback port of its own (or on
# $BOARD_LISTEN_PORT when set), logging to $1 with its database $2 and any
# further server options; sets BOARD_PID and BOARD_PORT. It is ended at exit,
# also when a test left it stopped (SIGSTOP).
start_scoreboard() {
  local log=$1 db=$2
  shift 2
  "$BUILD/ovelune-scoreboard" --listen "127.0.0.1:${BOARD_LISTEN_PORT:-0}" --db "$db" "$@" >"$log" 2>&1 &
  BOARD_PID=$!
  e2e_on_exit "kill -CONT $BOARD_PID 2>/dev/null; stop_process $BOARD_PID"
  local _
  for _ in $(seq 1 50); do
    BOARD_PORT=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$log" 2>/dev/null || true)
    [[ -n "$BOARD_PORT" ]] && return 0
    sleep 0.1
  done
  e2e_fail "the scoreboard did not start: $(cat "$log")"
}

# Starts the game and waits until the title menu shows (up to $1 seconds,
# 40), then gives its window the keyboard; $2 names the start in a failure.
launch_to_title() {
  launch_game
  wait_for_title "$WIN" "$PID" shot.png "${1:-40}" || e2e_fail "the title menu never appeared${2:+ ($2)}"
  xdotool windowfocus "$WIN" 2>/dev/null || true
  sleep 0.5
}

# Starts Xvfb on a display number it picks itself (-displayfd never collides
# with another server) and exports DISPLAY. -noreset: by default the server
# resets when its last client leaves, and a client that connects during that
# reset (the game, right after the readiness probe) is turned away. -r: no
# key repeat, so a key held until its effect shows is one press. Arguments:
# screen size, e.g. 1024x768.
start_xvfb() {
  local size=${1:-1024x768}
  E2E_XVFB_SIZE=$size
  local fdfile
  fdfile=$(mktemp)
  e2e_on_exit "rm -f '$fdfile'"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset -r 3>"$fdfile" 2>/dev/null &
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

restart_xvfb() {
  kill "$E2E_XVFB_PID" 2>/dev/null || true
  wait "$E2E_XVFB_PID" 2>/dev/null || true
  start_xvfb "$E2E_XVFB_SIZE"
}

# Asks a process to end (SIGTERM), waits up to $2 seconds (5), then kills it.
# Run before the X server goes away: a client that loses its display may
# never get to its own exit.
stop_process() {
  local pid=$1 timeout=${2:-5} waited=0
  kill -TERM "$pid" 2>/dev/null || return 0
  while kill -0 "$pid" 2>/dev/null; do
    if ((waited++ >= timeout * 10)); then
      kill -KILL "$pid" 2>/dev/null || true
      break
    fi
    sleep 0.1
  done
  wait "$pid" 2>/dev/null || true
}

# Waits up to $2 seconds (10) for the process to end by itself and fails
# unless it ended with status 0; $3 names the step in a failure, $4 is the
# file holding its error output (stderr.txt).
expect_clean_exit() {
  local pid=$1 timeout=${2:-10} what=${3:-the program} errors=${4:-stderr.txt} waited=0 status=0
  while kill -0 "$pid" 2>/dev/null; do
    ((waited++ < timeout * 10)) || e2e_fail "$what did not end"
    sleep 0.1
  done
  wait "$pid" || status=$?
  [[ $status -eq 0 ]] || e2e_fail "$what ended with status $status: $(cat "$errors")"
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

# Prints the brightest grey level (0 to 1) inside a rectangle of an image.
region_max_brightness() {
  convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -colorspace Gray -format "%[fx:maxima]" info:
}

# Waits until the title menu shows: its white title text at the top left of
# the game's picture. Arguments: window id, pid, screenshot path, timeout (s).
# While waiting keeps the brightest frame seen in "$5" (optional).
wait_for_title() {
  local win=$1 pid=$2 shot=$3 timeout=${4:-40} keep=${5:-} best=0 level x0 y0 x1 y1
  local deadline=$((SECONDS + timeout))
  while true; do
    ((SECONDS < deadline)) || return 1
    kill -0 "$pid" 2>/dev/null || return 1
    screenshot "$shot"
    read -r x0 y0 < <(window_point "$win" 10 12)
    read -r x1 y1 < <(window_point "$win" 160 44)
    level=$(region_max_brightness "$shot" "$x0" "$y0" $((x1 - x0)) $((y1 - y0)))
    awk -v a="$level" 'BEGIN { exit !(a > 0.85) }' && return 0
    if [[ -n "$keep" ]]; then
      level=$(mean_brightness "$shot")
      if awk -v a="$level" -v b="$best" 'BEGIN { exit !(a > b) }'; then
        best=$level
        cp "$shot" "$keep"
      fi
    fi
    sleep 0.2
  done
}

# Presses a key in the game's window for $2 seconds (0.25 by default), then
# waits a moment: for keys whose effect the menu trace does not show (those
# of a run, the name entry, the key prompts). The game reads most keys as
# held at a frame, so a press must outlast the slowest frame of a loaded
# machine (a press and release between two frames is only a key hit).
tap() {
  xdotool keydown "$1"
  sleep "${2:-0.25}"
  xdotool keyup "$1"
  sleep 0.3
}

# The game started by launch_game reports each change of the menu's screen
# and selection on standard error (OVELUNE_MENU_TRACE): the menu keys below
# are pressed once each and held until that report (or another sign) shows
# their effect, however slow the frames. The private X server repeats no
# key, so a held key is one press.
menu_state() {
  grep '^menu ' stderr.txt | tail -n 1 || true
}
# Waits up to $1 seconds for the rest of the arguments, a command, to succeed.
within() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}
# Presses the key once and holds it until the command succeeds (20 s at most).
press_until() {
  local key=$1 taken=0
  shift
  xdotool keydown "$key"
  within 20 "$@" || taken=$?
  xdotool keyup "$key"
  ((taken == 0)) || e2e_fail "the game did not take $key ($(menu_state))"
}
state_is_not() {
  [[ "$(menu_state)" != "$1" ]]
}
# A press that changes the menu's screen or selection.
press() {
  press_until "$1" state_is_not "$(menu_state)"
}
# Moves the menu's cursor with the key (Down by default) to the numbered entry.
select_item() {
  local want=$1 key=${2:-Down}
  until [[ "$(menu_item)" == "$want" ]]; do press "$key"; done
}
menu_item() {
  menu_state | sed -nE 's/.* item=([0-9]+) .*/\1/p'
}
in_screen() {
  [[ "$(menu_state)" == "menu $1 "* ]]
}
