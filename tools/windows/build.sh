#!/bin/bash
# Builds the Windows version of Duskmatch on Linux: the packs and the icon
# from the Linux build (made there if needed), the static Windows libraries
# (once), the cross build of Duskmatch.exe, then the folder a player gets,
# build-windows/Duskmatch/, and its zip, build-windows/Duskmatch.zip.
#
#   tools/windows/build.sh
# Environment: DUSK_LINUX_BUILD  the Linux build folder with the packs and
#                                the icon (default build)
#              DUSK_WINDOWS_DEPS the library cache (default build-windows/deps)
#              JOBS              parallel compile jobs (default 2)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
jobs=${JOBS:-2}
linux=${DUSK_LINUX_BUILD:-build}
mkdir -p "$linux"
linux=$(cd "$linux" && pwd)
out=$root/build-windows
cross=$out/cross
export DUSK_WINDOWS_DEPS=${DUSK_WINDOWS_DEPS:-$out/deps}
packs="DuskmatchData.pack DuskmatchLanguages.pack DuskmatchCursor.pack"

# The content tools run on the build machine: the packs come from the Linux
# build, the same files the Linux program reads.
echo "== packs from the Linux build in $linux"
if [ ! -f "$linux/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$linux" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDUSK_TESTS=OFF -DDUSK_BENCH=OFF
fi
cmake --build "$linux" -j"$jobs" --target game_packs game_icons

echo "== Windows libraries"
bash "$root/tools/windows/build_deps.sh"

echo "== cross build"
# The program's icon comes from the Linux build too (DUSK_LINUX_BUILD).
cmake -S "$root" -B "$cross" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DDUSK_WINDOWS_DEPS="$DUSK_WINDOWS_DEPS" -DDUSK_LINUX_BUILD="$linux" \
  -DCMAKE_BUILD_TYPE=Release -DDUSK_TESTS=OFF
cmake --build "$cross" -j"$jobs" --target duskmatch

echo "== $out/Duskmatch"
rm -rf "$out/Duskmatch"
mkdir -p "$out/Duskmatch"
x86_64-w64-mingw32-strip -o "$out/Duskmatch/Duskmatch.exe" "$cross/bin/Duskmatch.exe"
for pack in $packs; do
  cp "$linux/bin/$pack" "$out/Duskmatch/"
done

# The download: the folder itself inside the zip, so unpacking gives one
# folder with the program and its packs.
python3 - "$out" << 'EOF'
import os, sys, zipfile
out = sys.argv[1]
target = os.path.join(out, 'Duskmatch.zip')
with zipfile.ZipFile(target + '.new', 'w', zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for name in sorted(os.listdir(os.path.join(out, 'Duskmatch'))):
        z.write(os.path.join(out, 'Duskmatch', name), 'Duskmatch/' + name)
os.replace(target + '.new', target)
EOF
ls -l "$out/Duskmatch" "$out/Duskmatch.zip"
