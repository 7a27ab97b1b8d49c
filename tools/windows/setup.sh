#!/bin/bash
# Installs the Debian packages the Windows build of Duskmatch needs on top of
# the Linux ones (tools/setup.sh): the mingw-w64 cross compiler, the tools
# that fetch and unpack Debian source packages, NSIS for the installer, Wine
# for the tests and the smoke test, what the smoke test drives the window
# with, and icoutils to read the program's resources back.
# As root it installs what is missing; otherwise it prints the command to run.
set -e
packages="g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev cmake make pkg-config dpkg-dev xz-utils bzip2 gpgv debian-archive-keyring
  libgtest-dev wine wine64 xvfb xauth xdotool python3 nsis icoutils"
. "$(dirname "${BASH_SOURCE[0]}")/../install_packages.sh"
# $packages is split into words on purpose: one package name each.
# shellcheck disable=SC2086
install_missing_packages "The Windows build of Duskmatch" "--no-install-recommends" $packages
