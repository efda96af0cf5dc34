#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need; only what is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config curl
  qt6-base-dev qt6-base-private-dev qt6-image-formats-plugins libgl-dev
  libcurl4-openssl-dev libcpp-httplib-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-wqy-microhei
  xvfb xauth xdotool imagemagick
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
