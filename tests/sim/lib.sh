# The common start of the simulator tests, sourced with the build folder as
# the script's first argument: BUILD, SIM, a private folder WORK removed at
# exit, and fail.
set -euo pipefail
BUILD=$(cd "${1:?usage: $(basename "$0") BUILD_DIR}" && pwd)
SIM="$BUILD/ovelune-sim"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
