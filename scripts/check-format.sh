#!/usr/bin/env bash
# Fails, naming each file, when a C++ file of the tree is not as clang-format
# leaves it with the committed .clang-format. `scripts/check-format.sh --fix`
# formats them instead.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
command -v clang-format >/dev/null || { echo "check-format: clang-format is not installed (scripts/install-deps.sh)"; exit 1; }
mapfile -t files < <(git ls-files '*.cpp' '*.hpp' '*.h' '*.cc' 2>/dev/null || find src tests tools -name '*.[ch]pp')
if [[ ${1:-} == --fix ]]; then
  clang-format -i "${files[@]}"
  exit 0
fi
bad=0
for f in "${files[@]}"; do
  if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then
    echo "$f: not formatted (scripts/check-format.sh --fix)"
    bad=$((bad + 1))
  fi
done
if ((bad > 0)); then
  echo "check-format: $bad file(s) differ from .clang-format"
  exit 1
fi
echo "check-format: ${#files[@]} files formatted"
