#!/usr/bin/env bash
# `make deb`: builds the Debian packages of the game and the score server
# into BUILD_DIR/deb with dpkg-buildpackage, then checks them with lintian.
#
# The package is built from a copy of the tree in BUILD_DIR/deb, so the
# checkout stays clean and the packages land beside the copy. Its
# debian/changelog is written there from the one version in CMakeLists.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:?usage: build-deb.sh BUILD_DIR}
JOBS=${JOBS:-$(nproc)}

version=$(sed -n 's/^project(Ovelune VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
date=$(sed -n 's/^set(OVELUNE_RELEASE_DATE "\(.*\)")$/\1/p' CMakeLists.txt)
[[ -n "$version" && -n "$date" ]] || { echo "build-deb: no version or release date in CMakeLists.txt" >&2; exit 1; }
maintainer=$(sed -n 's/^Maintainer: //p' debian/control)

out="$BUILD/deb"
stage="$out/ovelune-$version"
rm -rf "$out"
mkdir -p "$stage"
# The files git knows or would add, as they are now in the work tree; a tree
# without git (an unpacked release) is copied whole but for its builds.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [[ -e "$f" ]] && printf '%s\0' "$f"; done |
    tar --null -T - -cf - | tar -xf - -C "$stage"
else
  tar --exclude=./build --exclude='./build-*' --exclude="./${BUILD#./}" -cf - . | tar -xf - -C "$stage"
fi

cat >"$stage/debian/changelog" <<CHANGES
ovelune ($version) unstable; urgency=medium

  * Release $version.

 -- $maintainer  $(date -R -u -d "$date 12:00")
CHANGES

(cd "$stage" && dpkg-buildpackage --build=binary --no-sign -j"$JOBS")

# Errors and warnings fail the build; the few warnings that are expected are
# overridden in debian/*.lintian-overrides, each with its reason.
lintian --fail-on error,warning --display-info "$out"/ovelune_"$version"_*.changes
ls "$out"/*.deb
