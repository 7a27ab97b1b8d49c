#!/bin/bash
# Builds the libFuzzer harnesses with clang (ASan and UBSan on) and runs one
# of them for a number of seconds, keeping its corpus between runs:
#   bench/run_fuzz.sh pack 60
#   bench/run_fuzz.sh keyvalue 300
#   bench/run_fuzz.sh language 300
# Not part of CI. The build folder is build-fuzz (DUSK_FUZZ_BUILD to change).
set -euo pipefail

if [ $# -lt 1 ]; then
  echo "usage: bench/run_fuzz.sh NAME [SECONDS]   (NAME: fuzz_NAME.cpp in bench/fuzz)" >&2
  exit 2
fi
name=$1
seconds=${2:-60}
case "$seconds" in
  ''|*[!0-9]*) echo "run_fuzz.sh: SECONDS must be a whole number" >&2; exit 2 ;;
esac

root=$(cd "$(dirname "$0")/.." && pwd)
if [ ! -f "$root/bench/fuzz/fuzz_$name.cpp" ]; then
  echo "run_fuzz.sh: no harness bench/fuzz/fuzz_$name.cpp" >&2
  exit 2
fi
build=${DUSK_FUZZ_BUILD:-$root/build-fuzz}

# The compiler can only be chosen when the build folder is first made.
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DDUSK_FUZZ=ON -DDUSK_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
else
  cmake -S "$root" -B "$build" -DDUSK_FUZZ=ON >/dev/null
fi
cmake --build "$build" --target "fuzz_$name" -j2

corpus=$build/corpus/$name
mkdir -p "$corpus"
# The language reader starts from the game's own language files and a small
# pack made of some of them (random bytes seldom make a ZIP file): entries
# deflated and stored, one flag picture, one entry that is not a language.
if [ "$name" = language ] && [ -z "$(ls -A "$corpus")" ]; then
  cp "$root"/data/languages/*.language "$corpus"/
  python3 - "$root/data/languages" "$corpus/seed.pack" <<'PY'
import struct, sys, zipfile, zlib
src, out = sys.argv[1], sys.argv[2]
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
flag = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 2, 2, 8, 6, 0, 0, 0))
        + chunk(b"IDAT", zlib.compress(b"\0" + b"\xff\0\0\xff" * 2 + b"\0" + b"\0\0\xff\xff" * 2))
        + chunk(b"IEND", b""))
with zipfile.ZipFile(out, "w") as z:
    z.write(src + "/en_GB.language", "en_GB.language", zipfile.ZIP_DEFLATED)
    z.write(src + "/de_DE.language", "de_DE.language", zipfile.ZIP_STORED)
    z.writestr("en_GB.flag", flag, zipfile.ZIP_STORED)
    z.writestr("readme.txt", b"not a language", zipfile.ZIP_DEFLATED)
PY
fi
echo "running fuzz_$name for $seconds s (corpus: $corpus)"
"$build/fuzz/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 "$corpus"
