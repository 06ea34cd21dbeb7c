#!/usr/bin/env bash
# Installs every Debian package the game needs to build, run and test.
# Idempotent: asks dpkg first and touches apt only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libx11-dev libepoxy-dev libgl-dev libgl1-mesa-dri
  libopenal-dev
  libpng-dev libjpeg-dev zlib1g-dev
  libfreetype-dev fonts-comfortaa
  libogg-dev libvorbis-dev
  libsqlite3-dev libsqlitecpp-dev
  libcpp-httplib-dev libpqxx-dev postgresql libmstch-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev clang-format
  clang libclang-rt-14-dev
  xvfb xauth x11-utils xdotool imagemagick sox sqlite3 curl chromium
  debhelper dpkg-dev lintian debootstrap desktop-file-utils appstream systemd
)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
