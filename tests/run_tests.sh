#!/usr/bin/env bash
# Runs every CTest test of a build once. Only the end-to-end tests (label
# e2e: the real game under Xvfb, against the clock of a shared machine) get
# up to two more tries: each retry is printed with the test's name, and the
# retries are counted at the end. Any other test that fails fails the run at
# once; a flaky unit, scenario or golden test is a bug to find, not to retry.
# Usage: run_tests.sh BUILD_DIR [JOBS]
set -uo pipefail
cd "${1:?usage: run_tests.sh BUILD_DIR [JOBS]}" || exit 2
jobs=${2:-$(nproc)}
tries=3
failed_log=Testing/Temporary/LastTestsFailed.log

rm -f "$failed_log"
if ctest --output-on-failure --timeout 300 -j "$jobs"; then
  echo "run_tests: 0 end-to-end retries"
  exit 0
fi
[[ -s $failed_log ]] || { echo "run_tests: ctest failed before any test did"; exit 1; }
mapfile -t failed < <(cut -d: -f2- "$failed_log")
mapfile -t e2e < <(ctest -N -L e2e | sed -nE 's/^ *Test +#[0-9]+: +//p')

others=()
for name in "${failed[@]}"; do
  [[ " ${e2e[*]} " == *" $name "* ]] || others+=("$name")
done
if ((${#others[@]} > 0)); then
  echo "run_tests: failed, not retried: ${others[*]}"
  exit 1
fi

retries=0
retried=()
still=()
for name in "${failed[@]}"; do
  passed=0
  retried+=("$name")
  for ((try = 2; try <= tries; try++)); do
    echo "RETRY: $name (try $try of $tries)"
    retries=$((retries + 1))
    if ctest --output-on-failure --timeout 300 -R "^${name}\$"; then
      passed=1
      break
    fi
  done
  ((passed)) || still+=("$name")
done
echo "run_tests: $retries end-to-end retries (${retried[*]})${still[*]:+; failed every try: ${still[*]}}"
((${#still[@]} == 0))
