#!/usr/bin/env bash
# Installs what building, running and testing Tessellon needs (Debian packages).
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev qt6-image-formats-plugins
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qt6-charts-dev qt6-svg-dev
  python3 python3-dbf python3-dbfread libdbd-xbase-perl sqlite3
  libzip-dev libisal-dev tellico-data libxml2-utils
  xvfb xauth xdotool fonts-liberation poppler-utils
  dbus-daemon at-spi2-core python3-pyatspi
  dpkg-dev file desktop-file-utils appstream
)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
