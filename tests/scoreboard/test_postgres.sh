#!/usr/bin/env bash
# The scoreboard on PostgreSQL: a throwaway cluster in a temporary directory
# (Unix socket only, no TCP), two server processes on its one database,
# submissions through both, and the same lists read through either; replays
# uploaded through both are verified from the one queue, each exactly once.
set -euo pipefail
BUILD=$(cd "${1:?usage: test_postgres.sh BUILD_DIR}" && pwd)
GOLDEN=$(cd "$(dirname "$0")/../replays" && pwd)/ship1-crab-beaten.ovr
source "$(dirname "$0")/server_lib.sh"

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n1)
[[ -x "$bin/initdb" ]] || fail "no PostgreSQL server binaries (scripts/install-deps.sh installs them)"

dir=$(mktemp -d)
chmod 755 "$dir"
# PostgreSQL refuses to run as root: the cluster belongs to nobody then.
as_owner=()
if [[ $(id -u) -eq 0 ]]; then
  as_owner=(runuser -u nobody --)
  chown nobody "$dir"
fi
cluster_up=0
cleanup() {
  board_cleanup
  if ((cluster_up)); then
    # pg_ctl stops the postmaster by the pid in its pid file; should it
    # fail, that pid is signalled directly.
    if ! "${as_owner[@]}" "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 &&
      [[ -f "$dir/data/postmaster.pid" ]]; then
      kill -TERM "$(head -n1 "$dir/data/postmaster.pid")" 2>/dev/null || true
    fi
  fi
  rm -rf "$dir"
}
trap cleanup EXIT

"${as_owner[@]}" "$bin/initdb" -D "$dir/data" -U board -A trust --no-sync >"$dir/initdb.log" 2>&1 ||
  fail "initdb: $(tail -n5 "$dir/initdb.log")"
mkdir -p "$dir/sock"
[[ ${#as_owner[@]} -eq 0 ]] || chown nobody "$dir/sock"
cluster_up=1
"${as_owner[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/pg.log" -w -t 30 \
  -o "-c listen_addresses='' -k $dir/sock -c fsync=off" start >/dev/null ||
  fail "pg_ctl start: $(tail -n5 "$dir/pg.log")"

uri="postgresql://board@/postgres?host=$dir/sock"
# Both start at once: the schema is created by whichever gets there first.
start_board "$dir/a.log" "$uri" --submit-limit 0 --read-limit 0 --listed all
port_a=$BOARD_PORT
pid_a=$BOARD_PID
start_board "$dir/b.log" "$uri" --submit-limit 0 --read-limit 0 --listed all
port_b=$BOARD_PORT
pid_b=$BOARD_PID

for i in $(seq 1 25); do
  [[ $(submit "$port_a" 2 "a$i" $((i * 10))) == 200 ]] || fail "submission a$i through server A"
  [[ $(submit "$port_b" 2 "b$i" $((i * 10 + 5))) == 200 ]] || fail "submission b$i through server B"
done
# One name through both: its best counts once, wherever it was sent.
[[ $(submit "$port_a" 2 both 1000) == 200 && $(submit "$port_b" 2 both 999) == 200 ]] || fail "the shared name"
[[ $(submit "$port_b" 2 "x%27%3B--" 1) == 200 ]] || fail "a name with SQL in it"
[[ $(http_status "$port_a" "/members/pellmore/uws2.php?password=wrong&name=z&score=1") == 403 ]] || fail "a wrong password"

list_a=$(http_body "$port_a" /members/pellmore/uws2.php)
list_b=$(http_body "$port_b" /members/pellmore/uws2.php)
[[ "$list_a" == "$list_b" ]] || fail "the two servers list differently:\n$list_a\n$list_b"
[[ "$list_a" == "1. [1000][both]<br>2. [255][b25]<br>3. [250][a25]<br>"* ]] || fail "ranking: $list_a"
entries=$(grep -o '<br>' <<<"$list_a" | wc -l)
((entries == 39)) || fail "expected 40 entries, found $((entries + 1))"
[[ -z "$(http_body "$port_b" /members/pellmore/uws1.php)" ]] || fail "ship 1 should have no list"
stored=$(psql "$uri" -Atc "SELECT count(*) FROM submissions")
((stored == 53)) || fail "53 submissions were acknowledged, $stored stored"

# Runs uploaded through both servers share one queue in the database: every
# one is verified, and by exactly one check.
for i in $(seq 1 8); do
  port=$port_a
  ((i % 2 == 0)) && port=$port_b
  [[ $(upload "$port" 1 "r$i" 8918178 "$GOLDEN") == 202 ]] || fail "upload r$i"
done
for _ in $(seq 1 600); do
  [[ $(psql "$uri" -Atc "SELECT count(*) FROM runs WHERE state = 'verified'") == 8 ]] && break
  sleep 0.1
done
checks=$(psql "$uri" -Atc "SELECT count(*) || ' ' || sum(checks) FROM runs WHERE state = 'verified'")
[[ $checks == "8 8" ]] || fail "every run verified once: verified runs and checks are $checks"

# kill -9 of one server in the middle of a burst: every submission it
# acknowledged is in the database, and the other server lists it.
burst=()
for i in $(seq 1 30); do
  (submit "$port_a" 5 "k$i" $((1000 + i)) >"$dir/ack.$i" 2>/dev/null || true) &
  burst+=($!)
done
sleep 0.05
kill -KILL "$pid_a"
wait "$pid_a" 2>/dev/null || true
BOARD_PIDS=("$pid_b")
wait "${burst[@]}" 2>/dev/null || true
list5=$(http_body "$port_b" /members/pellmore/uws5.php)
acked=0
for i in $(seq 1 30); do
  [[ "$(cat "$dir/ack.$i")" == 200 ]] || continue
  acked=$((acked + 1))
  [[ "$list5" == *"[$((1000 + i))][k$i]"* ]] || fail "acknowledged submission k$i is missing after kill -9: $list5"
done

kill -TERM "${BOARD_PIDS[@]}"
for pid in "${BOARD_PIDS[@]}"; do
  wait "$pid" || fail "a server did not stop cleanly"
done
BOARD_PIDS=()
echo "PASS: two servers on one PostgreSQL database agree on the lists and verify eight runs once each; $acked acknowledged submissions kept through kill -9"
