#!/bin/bash
# Installs the Debian packages Duskmatch needs to build, test and run (clang
# and its fuzzer runtime for the fuzz harnesses, bench/run_fuzz.sh).
# As root it installs what is missing; otherwise it prints the command to run.
set -e
packages="build-essential cmake pkg-config git libgtest-dev libgmock-dev
  zlib1g-dev libpng-dev libvorbis-dev libogg-dev libarchive-dev
  libsdl2-dev libpango1.0-dev libcairo2-dev libfontconfig-dev fonts-lato fonts-noto-color-emoji fonts-vlgothic
  xvfb xauth xdotool python3 icoutils imagemagick
  clang libclang-rt-dev"
missing=""
for p in $packages; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
if [ -z "$missing" ]; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "Duskmatch needs these Debian packages:$missing"
  echo "Install them with:"
  echo "  sudo apt-get update && sudo apt-get install -y$missing"
  exit 1
fi
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends $missing
