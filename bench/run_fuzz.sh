#!/bin/bash
# Builds the libFuzzer harnesses with clang (ASan and UBSan on) and runs one
# of them for a number of seconds, keeping its corpus between runs:
#   bench/run_fuzz.sh pack 60
#   bench/run_fuzz.sh settings 600
#   nice -n 10 bench/run_fuzz.sh sprite 600 -rss_limit_mb=4096
# Harnesses: cursor, keyvalue, language, mix, pack, png, settings, sound,
# sprite (bench/fuzz/fuzz_NAME.cpp). Arguments after SECONDS go to libFuzzer.
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
# Every harness starts from the seeds kept in the repository (made from the
# game's own content by make_fuzz_seeds, see bench/fuzz/make_seeds.cpp);
# what the fuzzer finds goes to the corpus folder of the build.
seeds=$root/bench/fuzz/seeds/$name
[ -d "$seeds" ] || { echo "run_fuzz.sh: no seeds in $seeds" >&2; exit 2; }
echo "running fuzz_$name for $seconds s (corpus: $corpus, seeds: $seeds)"
"$build/fuzz/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 "${@:3}" "$corpus" "$seeds"
