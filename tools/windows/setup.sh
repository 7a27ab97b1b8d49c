#!/bin/bash
# Installs the Debian packages the Windows build of Duskmatch needs on top of
# the Linux ones (tools/setup.sh): the mingw-w64 cross compiler, the tools
# that fetch and unpack Debian source packages, Wine for the tests and the
# smoke test, and what the smoke test drives the window with.
# As root it installs what is missing; otherwise it prints the command to run.
set -e
packages="g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev cmake make pkg-config dpkg-dev xz-utils bzip2 gpgv debian-archive-keyring
  libgtest-dev wine wine64 xvfb xauth xdotool python3"
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
  echo "The Windows build of Duskmatch needs these Debian packages:$missing"
  echo "Install them with:"
  echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends$missing"
  exit 1
fi
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends $missing
