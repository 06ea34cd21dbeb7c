#!/usr/bin/env bash
# The web board in a real browser: the real server with a few scores (a name
# full of markup, a Latin-1 name, a run verified by its replay), the page in
# headless Chromium at desktop and phone widths, the markup shown as text and
# never as elements, the replay link and the JSON. The screenshots are kept in
# the build's test-artifacts to be looked at.
set -euo pipefail
BUILD=$(cd "${1:?usage: test_web_board.sh BUILD_DIR}" && pwd)
source "$(dirname "$0")/server_lib.sh"
if ! command -v chromium >/dev/null; then
  [[ ${CI:-} != true ]] || fail "chromium is missing: scripts/install-deps.sh installs it"
  echo "SKIP: no chromium (scripts/install-deps.sh installs it)"
  exit 77
fi
ART=${OVELUNE_ARTIFACTS:-$BUILD/test-artifacts}
mkdir -p "$ART"
dir=$(mktemp -d)
BROWSERS=()
# Each browser runs under timeout, which leads a process group of its own:
# the group's id ends it with its helper processes. Its crash handlers leave
# the group; they are known by their crash database in this test's home.
cleanup() {
  local id
  for id in "${BROWSERS[@]}"; do kill -KILL -- "-$id" 2>/dev/null || true; done
  for id in $(grep -lsF -- "--database=$dir/" /proc/[0-9]*/cmdline | cut -d/ -f3); do
    kill -KILL "$id" 2>/dev/null || true
  done
  board_cleanup
  rm -rf "$dir"
}
trap cleanup EXIT

# browse OUT CHROMIUM_ARGS...: the board's page in headless Chromium.
browse() {
  local out=$1
  shift
  HOME="$dir" timeout -k 5 60 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync --hide-scrollbars \
    --user-data-dir="$(mktemp -d -p "$dir")" "$@" "http://127.0.0.1:$BOARD_PORT/" >"$out" 2>>"$dir/chromium.log" &
  local group=$!
  BROWSERS+=("$group")
  wait "$group" || fail "chromium $*: $(tail -n 5 "$dir/chromium.log")"
  kill -KILL -- "-$group" 2>/dev/null || true
}

start_board "$dir/log" "$dir/board.db" --listed all
name='<i>a&b"c</i>'
for entry in "1 %3Ci%3Ea%26b%22c%3C%2Fi%3E 123456" "1 Z%F6e 5000000" "3 Ann 77" "2 quitter 98"; do
  read -r ship sent score <<<"$entry"
  [[ $(submit "$BOARD_PORT" "$ship" "$sent" "$score") == 200 ]] || fail "submission $entry refused"
done
# A run that ended by quitting at 98 points: verified, it gets its replay link.
replay="$(dirname "$0")/../replays/ship2-quit.ovr"
[[ $(http_post "$BOARD_PORT" "/replays?ship=2&name=quitter&score=98" "$replay" | head -n1) == *" 202 "* ]] ||
  fail "the replay upload was not accepted"
for _ in $(seq 1 300); do
  [[ $(http_body "$BOARD_PORT" /api/ships/2) == *'"replay": "/replays/1.ovr"'* ]] && break
  sleep 0.1
done

browse "$dir/page.html" --dump-dom
dom=$(cat "$dir/page.html")
[[ $(grep -o '<section class="ship"' <<<"$dom" | wc -l) == 6 ]] || fail "not six lists: $dom"
grep -qF '<td class="name">&lt;i&gt;a&amp;b"c&lt;/i&gt;</td>' <<<"$dom" || fail "the name is not shown as text: $dom"
! grep -q '<i>' <<<"$dom" || fail "the name became markup: $dom"
# Digits grouped by narrow no-break spaces (U+202F).
grep -qF $'<td class="name">Z\xc3\xb6e</td><td class="score">5\xe2\x80\xaf000\xe2\x80\xaf000</td>' <<<"$dom" ||
  fail "the Latin-1 name or the score: $dom"
grep -qF 'href="/replays/1.ovr"' <<<"$dom" || fail "no replay link for the verified run: $dom"
grep -qF 'href="/api/"' <<<"$dom" || fail "no link to the JSON"
cmp -s <(http_get "$BOARD_PORT" /replays/1.ovr | tail -c "$(stat -c %s "$replay")") "$replay" ||
  fail "the replay link does not serve the run"
browse /dev/null --screenshot="$ART/web-board-desktop.png" --window-size=1280,900
browse /dev/null --screenshot="$ART/web-board-phone.png" --window-size=390,844

headers=$(http_get "$BOARD_PORT" / | tr -d '\r' | sed -n '1,/^$/p')
grep -q "^Content-Security-Policy: default-src 'none'; style-src 'self';" <<<"$headers" || fail "CSP: $headers"
list=$(http_body "$BOARD_PORT" /api/ships/1)
grep -qF "\"name\": \"${name//\"/\\\"}\"" <<<"$list" || fail "the name in the JSON: $list"
[[ $(http_body "$BOARD_PORT" /api/ | grep -c '"list": "/api/ships/') == 6 ]] || fail "the JSON index"
[[ $(http_status "$BOARD_PORT" /api/ships/7) == 404 ]] || fail "a seventh ship"
echo "PASS: the web board in Chromium (screenshots in $ART), escaped names, replay link, JSON"
