#!/bin/bash
# Installs the Debian packages Duskmatch needs, by what is to be done:
#   tools/setup.sh play    building the game and its packs, and playing it
#   tools/setup.sh check   the same and the test tools: GoogleTest, the
#                          virtual display, xdotool, x11-utils and twm for the
#                          real-window tests, ImageMagick and icoutils, the
#                          desktop-file and AppStream validators, clang and
#                          its fuzzer runtime for the fuzz harnesses
#                          (bench/run_fuzz.sh); the default
#   tools/setup.sh deb     the Debian package: debhelper, lintian and the
#                          build dependencies debian/control names
# As root it installs what is missing; otherwise it prints the command to run.
set -e
cd "$(dirname "${BASH_SOURCE[0]}")/.."
play="build-essential cmake pkg-config
  zlib1g-dev libpng-dev libvorbis-dev libogg-dev libarchive-dev
  libsdl2-dev libx11-dev libpango1.0-dev libcairo2-dev libfontconfig-dev fonts-lato fonts-noto-color-emoji fonts-vlgothic"
check="$play git libgtest-dev libgmock-dev
  xvfb xauth xdotool x11-utils twm python3 icoutils imagemagick
  desktop-file-utils appstream clang libclang-rt-dev"
deb="dpkg-dev debhelper lintian"
. tools/install_packages.sh
# The lists are split into words on purpose: one package name each.
# shellcheck disable=SC2086
case "${1:-check}" in
  play) install_missing_packages "Duskmatch" "" $play ;;
  check) install_missing_packages "Duskmatch's tests" "" $check ;;
  deb)
    install_missing_packages "The Debian package of Duskmatch" "" $deb
    # The build dependencies come from debian/control itself.
    if ! dpkg-checkbuilddeps > /dev/null 2>&1; then
      if [ "$(id -u)" -ne 0 ]; then
        echo "The Debian package of Duskmatch needs its build dependencies:"
        echo "  sudo apt-get build-dep -y $PWD"
        exit 1
      fi
      export DEBIAN_FRONTEND=noninteractive
      apt-get build-dep -y --no-install-recommends ./
    fi
    ;;
  *)
    echo "usage: tools/setup.sh [play|check|deb]" >&2
    exit 2
    ;;
esac
