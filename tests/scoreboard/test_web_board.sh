#!/usr/bin/env bash
# The web board in headless Chromium: six lists, a name full of markup shown
# as text and never as an element, the JSON, and screenshots at desktop and
# phone widths in the build's test-artifacts.
set -euo pipefail
BUILD=$(cd "${1:?usage: test_web_board.sh BUILD_DIR}" && pwd)
source "$(dirname "$0")/server_lib.sh"
if ! command -v chromium >/dev/null; then  # scripts/install-deps.sh installs it
  [[ ${CI:-} != true ]] || fail "no chromium"
  echo "SKIP: no chromium" && exit 77
fi
ART=${OVELUNE_ARTIFACTS:-$BUILD/test-artifacts}
mkdir -p "$ART"
dir=$(mktemp -d)
BROWSERS=()
# Each browser runs under timeout, which leads a process group of its own and
# ends it with its helpers; its crash handlers, known by their database in
# this test's home, leave the group.
cleanup() {
  local id
  for id in "${BROWSERS[@]}"; do kill -KILL -- "-$id" 2>/dev/null || true; done
  grep -ls -- "--database=$dir/[.]config" /proc/[0-9]*/cmdline | cut -d/ -f3 | xargs -r kill -KILL 2>/dev/null || true
  board_cleanup
  rm -rf "$dir"
}
trap cleanup EXIT

# browse OUT CHROMIUM_ARGS...: the board's page in headless Chromium.
browse() {
  HOME="$dir" timeout -k 5 60 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync --hide-scrollbars \
    --user-data-dir="$(mktemp -d -p "$dir")" "${@:2}" "http://127.0.0.1:$BOARD_PORT/" >"$1" 2>>"$dir/chromium.log" &
  BROWSERS+=("$!")
  wait "$!" || fail "chromium ${*:2}: $(tail -n 5 "$dir/chromium.log")"
}

start_board "$dir/log" "$dir/board.db" --listed all
for entry in "1 %3Ci%3Ea%26b%22c%3C%2Fi%3E 123456" "1 Z%F6e 5000000" "3 Ann 77"; do
  [[ $(submit "$BOARD_PORT" $entry) == 200 ]] || fail "submission $entry refused"  # SHIP NAME SCORE
done

browse "$dir/dom.html" --dump-dom
[[ $(grep -o '<section class="ship"' "$dir/dom.html" | wc -l) == 6 ]] || fail "not six lists: $(cat "$dir/dom.html")"
grep -qF '<td class="name">&lt;i&gt;a&amp;b"c&lt;/i&gt;</td>' "$dir/dom.html" || fail "the name is not shown as text"
! grep -q '<i>' "$dir/dom.html" || fail "the name became markup"
grep -qF 'href="/api/"' "$dir/dom.html" || fail "no link to the JSON"
browse /dev/null --screenshot="$ART/web-board-desktop.png" --window-size=1280,900
browse /dev/null --screenshot="$ART/web-board-phone.png" --window-size=390,844

list=$(http_body "$BOARD_PORT" /api/ships/1)
grep -qF '"name": "<i>a&b\"c</i>"' <<<"$list" || fail "the name in the JSON: $list"
echo "PASS: the web board in Chromium (screenshots in $ART), names shown as text, JSON"
