#!/bin/bash
# Makes the Windows installer, build-windows/Duskmatch-<version>-setup.exe,
# with NSIS (Debian's makensis) from the folder tools/windows/build.sh made
# (build-windows/Duskmatch/) and the icon of the Linux build.
#   tools/windows/installer.sh
# Environment: DUSK_LINUX_BUILD  the Linux build with the icon (default build)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
linux=${DUSK_LINUX_BUILD:-build}
source=$root/build-windows/Duskmatch
icon=$linux/data/icons/Duskmatch.ico
version=$(sed -n 's/^project(Duskmatch VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
out=$root/build-windows/Duskmatch-$version-setup.exe

if ! command -v makensis > /dev/null; then
  echo "makensis is not installed (tools/windows/setup.sh installs nsis)"
  exit 1
fi
for file in "$source/Duskmatch.exe" "$icon"; do
  [ -f "$file" ] || { echo "no $file: make windows first"; exit 1; }
done
# makensis reads Windows paths as well; the folders are passed as they are.
makensis -V2 -DVERSION="$version" -DSOURCE="$source" -DICON="$(readlink -f "$icon")" \
  -DOUTFILE="$out" tools/windows/installer.nsi
ls -l "$out"
