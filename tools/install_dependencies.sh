#!/usr/bin/env bash
# Installs the Debian packages that building and testing Morvane need, when any is missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev
  libgtest-dev libbenchmark-dev libboost-math-dev nlohmann-json3-dev
  poppler-utils xvfb xauth fonts-dejavu-core fonts-urw-base35
  dpkg-dev file appstream desktop-file-utils shared-mime-info libxml2-utils groff-base
  libsqlite3-dev postgresql libpq-dev
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
