#!/usr/bin/env bash
# The Debian packages on a fresh Debian 12: installed with apt into a new root
# made by debootstrap (so what gets installed is what the packages declare),
# the desktop entry and AppStream metadata validated, the game started from
# its desktop entry as a normal user under Xvfb (title, ship choice, a short
# run) keeping its files in that user's ~/.local/share/ovelune, the score
# server started as its unit starts it (options from /etc/default, a user
# of its own, its own loopback) verifying an uploaded run and listing it, the
# unit's hardening rated, and a purge leaving no file of ours.
#
# usage: test_packages.sh DEB_DIR   (as root; `make test-deb`)
# The debootstrapped root is cached as a tarball in $OVELUNE_PACKAGING_CACHE
# (/var/cache/ovelune-packaging), with the packages apt downloads into it.
set -euo pipefail
DEBS=$(cd "${1:?usage: test_packages.sh DEB_DIR}" && pwd)
HERE=$(cd "$(dirname "$0")" && pwd)

if [[ -z "${OVELUNE_PACKAGING_NS:-}" ]]; then
  [[ $(id -u) -eq 0 ]] || { echo "FAIL: the packaging test needs root (debootstrap, chroot)" >&2; exit 1; }
  # Mounts made for the root vanish with this process, however it ends.
  OVELUNE_PACKAGING_NS=1 exec unshare --mount --propagation private "$0" "$@"
fi

BUILD=$DEBS
source "$HERE/../e2e/lib.sh"
source "$HERE/../scoreboard/server_lib.sh"
fail() { e2e_fail "$@"; }
ART=${OVELUNE_ARTIFACTS:-$DEBS/test-artifacts}
mkdir -p "$ART"
CACHE=${OVELUNE_PACKAGING_CACHE:-/var/cache/ovelune-packaging}
SUITE=bookworm
started=$SECONDS

game_deb=$(ls "$DEBS"/ovelune_*_amd64.deb)
board_deb=$(ls "$DEBS"/ovelune-scoreboard_*_amd64.deb)
version=$(dpkg-deb -f "$game_deb" Version)

# ------------------------------------------------------------ a fresh root
# The Debian mirror this machine's apt uses, for debootstrap and the root.
sources() {
  apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' 'Created-By: Packages' |
    awk -v s="$SUITE" '$2 == s || index($2, s "-") == 1' | sort -u
}
mirror=$(sources | awk -v s="$SUITE" '$2 == s { print $1; exit }')
[[ -n "$mirror" ]] || fail "apt knows no mirror of Debian $SUITE"

mkdir -p "$CACHE/archives/partial"
tarball="$CACHE/$SUITE-minbase.tar"
cached=yes
if [[ ! -s "$tarball" ]]; then
  cached=no
  boot=$(mktemp -d "$CACHE/debootstrap.XXXXXX")
  debootstrap --variant=minbase "$SUITE" "$boot/root" "$mirror" >"$boot/log" 2>&1 ||
    fail "debootstrap: $(tail -n 5 "$boot/log")"
  tar -C "$boot/root" -cf "$boot/root.tar" .
  mv "$boot/root.tar" "$tarball"
  rm -rf --one-file-system "$boot"
fi
bootstrapped=$SECONDS

WORK=$(mktemp -d /var/tmp/ovelune-packaging.XXXXXX)
ROOT=$WORK/root
remove_root() {
  umount --recursive "$ROOT/proc" "$ROOT/var/cache/apt/archives" 2>/dev/null || true
  rm -rf --one-file-system "$WORK"
}
e2e_on_exit remove_root
mkdir "$ROOT"
tar -C "$ROOT" -xf "$tarball"
cp /etc/resolv.conf "$ROOT/etc/resolv.conf"
sources | awk '{ print "deb " $1 " " $2 " " $3 }' >"$ROOT/etc/apt/sources.list"
mount -t proc proc "$ROOT/proc"
mount --bind "$CACHE/archives" "$ROOT/var/cache/apt/archives"

ROOT_ENV=(env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive)
in_root() {
  chroot "$ROOT" "${ROOT_ENV[@]}" "$@"
}
# For apt: runs of this test at the same time share the downloads folder,
# whose lock apt does not wait for, so they take turns.
locked_in_root() {
  flock "$CACHE/archives.lock" chroot "$ROOT" "${ROOT_ENV[@]}" "$@"
}

mkdir "$ROOT/tmp/debs"
cp "$game_deb" "$board_deb" "$ROOT/tmp/debs/"
locked_in_root apt-get update -q >"$WORK/apt.log" 2>&1 || fail "apt-get update: $(tail -n 5 "$WORK/apt.log")"
locked_in_root sh -c 'cd /tmp/debs && apt-get install -y -q ./ovelune_*.deb ./ovelune-scoreboard_*.deb' \
  >>"$WORK/apt.log" 2>&1 || fail "apt-get install: $(tail -n 20 "$WORK/apt.log")"
rm -r "$ROOT/tmp/debs"
installed=$SECONDS

[[ "$(in_root /usr/games/ovelune --version)" == "ovelune $version" ]] || fail "ovelune --version"
[[ "$(in_root /usr/sbin/ovelune-scoreboard --version)" == "ovelune-scoreboard $version" ]] ||
  fail "ovelune-scoreboard --version"

# ------------------------------------------------------------ desktop files
desktop="$ROOT/usr/share/applications/ovelune.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$ROOT"/usr/share/metainfo/*.metainfo.xml || fail "appstreamcli validate"
for size in 16 22 24 32 48 64 128 256 512; do
  icon="$ROOT/usr/share/icons/hicolor/${size}x$size/apps/ovelune.png"
  [[ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" == "${size}x$size" ]] || fail "icon $icon"
done

# ------------------------------------------------------------ the game
# A player's first start from the desktop entry: in the home folder, as a
# launcher starts it, with no XDG variables set.
in_root useradd --create-home --shell /bin/bash player
player=$(in_root id -u player)
command=$(sed -n 's/^Exec=//p' "$desktop" | sed 's/ %[fFuUick]//g')
start_xvfb 800x600
cd "$WORK"
# The game's run would be sent to the default score server: nothing there.
chroot --userspec="$player:$player" "$ROOT" env -i HOME=/home/player USER=player LOGNAME=player \
  PATH=/usr/local/bin:/usr/bin:/bin:/usr/games DISPLAY="$DISPLAY" OVELUNE_MENU_TRACE=1 \
  OVELUNE_SCORE_SERVER=127.0.0.1:1 sh -c 'cd "$HOME" && exec '"$command" >stdout.txt 2>stderr.txt &
PID=$!
e2e_on_exit "stop_process $PID"
WIN=$(find_window_by_pid "$PID" 30) || fail "the installed game opened no window: $(cat stdout.txt stderr.txt)"
wait_for_title "$WIN" "$PID" shot.png 60 || fail "the installed game never showed its title"
xdotool windowfocus "$WIN" 2>/dev/null || true
sleep 0.5
screenshot "$ART/package-title.png"
press Return
sleep 1
screenshot "$ART/package-ships.png"
tap Return
xdotool keydown z keydown x
sleep 18  # the first waves are on screen by then
screenshot "$ART/package-play.png"
xdotool keyup z keyup x
tap Escape
tap q 0.3
sleep 0.5
tap Return  # the name entry
wait_for_title "$WIN" "$PID" shot.png 30 || fail "the title did not come back after the run"
stop_process "$PID"
wait "$PID" 2>/dev/null || true

data="$ROOT/home/player/.local/share/ovelune"
[[ "$(stat -c "%a %u" "$data")" == "700 $player" ]] || fail "data folder: $(stat -c "%a %u" "$data" 2>&1)"
tables=$(sqlite3 "$data/VE4R.dtb" "SELECT group_concat(name) FROM sqlite_master WHERE type='table'")
[[ "$tables" == *scores* && "$tables" == *setupData* ]] || fail "the player's database holds: $tables"
[[ "$(sqlite3 "$data/VE4R.dtb" "SELECT count(*) FROM scores")" == 1 ]] || fail "the run's score is not in the database"
compgen -G "$data/replays/*.ovr" >/dev/null || fail "the run's replay is not in $data/replays"
# Libraries keep their caches in hidden folders; the game's own files, the
# database and replays, must not land in the folder it was started in.
stray=$(ls "$ROOT/home/player")
[[ -z "$stray" ]] || fail "the game left files in the home folder: $stray"
played=$SECONDS

# ------------------------------------------------------------ the score server
# The unit checked by the system's own tools, which a real system has: they
# come after the game's run, so they cannot stand in for a missing dependency.
locked_in_root apt-get install -y -q --no-install-recommends systemd >>"$WORK/apt.log" 2>&1 || fail "apt-get install systemd"
in_root systemd-analyze verify --man=no ovelune-scoreboard.service >"$WORK/verify.log" 2>&1 ||
  fail "systemd-analyze verify: $(cat "$WORK/verify.log")"
in_root systemd-analyze security --offline=true --threshold=20 ovelune-scoreboard.service >"$WORK/security.log" 2>&1 ||
  fail "the unit's exposure: $(tail -n 3 "$WORK/security.log")"
rating=$(grep -o 'Overall exposure level.*' "$WORK/security.log")
unit="$ROOT/lib/systemd/system/ovelune-scoreboard.service"

# Started as systemd starts it: the options of /etc/default expanded into
# ExecStart, an unprivileged user owning only the state directory, which is
# the working directory; a network namespace gives it a loopback of its own.
options=$(set -a && source "$ROOT/etc/default/ovelune-scoreboard" && printf '%s' "$OVELUNE_SCOREBOARD_OPTIONS")
exec_start=$(sed -n 's/^ExecStart=//p' "$unit")
eval "command=(${exec_start//\$OVELUNE_SCOREBOARD_OPTIONS/$options})"
# systemd keeps a dynamic user's state under /var/lib/private, which only the
# service's own mounts open to it; here the folder is opened instead.
mkdir -p "$ROOT/var/lib/private/ovelune-scoreboard"
chmod 0755 "$ROOT/var/lib/private"
chown 65534:65534 "$ROOT/var/lib/private/ovelune-scoreboard"
ln -s private/ovelune-scoreboard "$ROOT/var/lib/ovelune-scoreboard"
unshare --net sh -c 'ip link set lo up && exec "$@"' sh \
  chroot --userspec=65534:65534 "$ROOT" env -i -C /var/lib/ovelune-scoreboard "${command[@]}" >board.log 2>&1 &
BOARD=$!
e2e_on_exit "stop_process $BOARD"
board() {  # runs a server_lib.sh call on the server's loopback
  nsenter --net="/proc/$BOARD/ns/net" bash -c "source '$HERE/../scoreboard/server_lib.sh'; $*"
}
for _ in $(seq 1 50); do
  grep -q '^listening on 127.0.0.1:4780$' board.log && break
  kill -0 "$BOARD" 2>/dev/null || fail "the installed score server did not start: $(cat board.log)"
  sleep 0.1
done
# A run with its replay, which the server plays through before it lists it.
replay="$HERE/../replays/ship2-quit.ovr"
[[ "$(board upload 4780 2 Player 98 "$replay")" == 202 ]] || fail "the score server refused a run: $(cat board.log)"
board wait_listed 4780 2 1 30 >"$WORK/listed.log" 2>&1 || fail "$(cat "$WORK/listed.log") $(cat board.log)"
[[ "$(board http_body 4780 /members/pellmore/uws2.php)" == *"[98][Player]"* ]] ||
  fail "the score server's list lacks the verified run: $(board http_body 4780 /members/pellmore/uws2.php)"
stop_process "$BOARD"
[[ -s "$ROOT/var/lib/private/ovelune-scoreboard/scoreboard.db" ]] || fail "no database in the state directory"

# ------------------------------------------------------------ purge
ours=$(in_root dpkg -L ovelune ovelune-scoreboard | while read -r f; do [[ -d "$ROOT$f" ]] || echo "$f"; done)
locked_in_root apt-get purge -y -q ovelune ovelune-scoreboard >>"$WORK/apt.log" 2>&1 || fail "apt-get purge"
umount "$ROOT/var/cache/apt/archives"
left=$(while read -r f; do [[ -e "$ROOT$f" || -L "$ROOT$f" ]] && echo "$f"; done <<<"$ours"
  find "$ROOT" -xdev \( -path "$ROOT/home" -o -path "$ROOT/proc" \) -prune -o -iname '*ovelune*' -print)
[[ -z "$left" ]] || fail "left after purge: $left"

echo "packaging: root $([[ $cached == yes ]] && echo from cache || echo debootstrapped) in $((bootstrapped - started)) s," \
  "install $((installed - bootstrapped)) s, game $((played - installed)) s, all $((SECONDS - started)) s; $rating"
echo "PASS: packages $version installed on a fresh $SUITE, game and score server tried, purged clean"
