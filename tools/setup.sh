#!/bin/bash
# Installs the Debian packages Duskmatch needs to build, test and run (the
# virtual display, xdotool, x11-utils and twm for the real-window tests;
# clang and its fuzzer runtime for the fuzz harnesses, bench/run_fuzz.sh).
# As root it installs what is missing; otherwise it prints the command to run.
set -e
packages="build-essential cmake pkg-config git libgtest-dev libgmock-dev
  zlib1g-dev libpng-dev libvorbis-dev libogg-dev libarchive-dev
  libsdl2-dev libx11-dev libpango1.0-dev libcairo2-dev libfontconfig-dev fonts-lato fonts-noto-color-emoji fonts-vlgothic
  xvfb xauth xdotool x11-utils twm python3 icoutils imagemagick
  clang libclang-rt-dev"
. "$(dirname "${BASH_SOURCE[0]}")/install_packages.sh"
# $packages is split into words on purpose: one package name each.
# shellcheck disable=SC2086
install_missing_packages "Duskmatch" "" $packages
