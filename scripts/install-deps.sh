#!/usr/bin/env bash
# Installs everything huiwenfang needs to build, run and test on Debian.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libsdl2-dev libfreetype-dev libfontconfig-dev
  fonts-arphic-uming fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev
  xvfb xdotool imagemagick x11-utils xclip openbox
  xdg-utils
  clang libclang-rt-dev clang-format
  desktop-file-utils python3
  libcairo2-dev zlib1g-dev librsvg2-bin poppler-utils
)

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps.sh: run as root (it calls apt-get)" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends "${packages[@]}"
