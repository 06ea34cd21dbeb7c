#!/usr/bin/env bash
# Long sessions. Under the sanitizer build (ASan + UBSan; the fuzz build's
# libraries are instrumented with both): whole autopilot runs of every ship on
# several seeds. Under the plain build: the menu for an hour of frames and
# twenty runs from it, with flat memory.
# Usage: run_soaks.sh PLAIN_BUILD SANITIZER_BUILD [short]
#   short: one sanitized run and a short menu session, for `make test`.
set -euo pipefail
plain=$1
sanitized=$2
mode=${3:-long}
# Any sanitizer report ends the process with a failure.
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0

if [ "$mode" = short ]; then
  ships="1"
  seeds="1"
  menu_frames=3600
  menu_runs=2
  sanitized_menu_frames=3600
else
  ships="1 2 3 4 5 6"
  seeds="1 2 3"
  menu_frames=216000
  menu_runs=20
  sanitized_menu_frames=36000
fi

for ship in $ships; do
  for seed in $seeds; do
    echo "soak: ship $ship, seed $seed, autopilot to the end under ASan + UBSan"
    "$sanitized/ovelune-sim" --ship "$ship" --seed "$seed" --bot autopilot --until-end >/dev/null
  done
done

echo "soak: the menu for $sanitized_menu_frames frames, then $menu_runs runs under ASan + UBSan"
# A small quarantine keeps ASan's own holding of freed memory out of the figures.
ASAN_OPTIONS=quarantine_size_mb=8:detect_leaks=1 "$sanitized/ovelune-menu-soak" "$sanitized_menu_frames" "$menu_runs" |
  sed 's/^/  /'
echo "soak: the menu for $menu_frames frames, then $menu_runs runs, memory"
"$plain/ovelune-menu-soak" "$menu_frames" "$menu_runs" | sed 's/^/  /'
