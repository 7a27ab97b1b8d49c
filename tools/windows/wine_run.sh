#!/bin/bash
# Runs a program of the Windows cross build under 64-bit Wine, in the build's
# own Wine prefix (made on first use), with Wine's debug chatter off. CTest
# uses it as the emulator of the cross build's tests.
#   tools/windows/wine_run.sh program.exe [arguments...]
# WINEPREFIX overrides the prefix (default build-windows/wineprefix).
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build-windows/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No offers to download Mono or Gecko: the game needs neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

wine=
for candidate in wine64 /usr/lib/wine/wine64 /usr/lib64/wine/wine64 wine; do
  if command -v "$candidate" > /dev/null 2>&1; then
    wine=$(command -v "$candidate")
    break
  fi
done
if [ -z "$wine" ]; then
  echo "wine_run.sh: Wine is not installed (tools/windows/setup.sh installs it)" >&2
  exit 127
fi
export WINELOADER=${WINELOADER:-$wine}

# Several tests may start at once: one of them makes the prefix, the others
# wait for it.
if [ ! -f "$WINEPREFIX/.duskmatch-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.duskmatch-ready" ]; then
      "$wine" wineboot -i > /dev/null 2>&1 || true
      server=$(dirname "$wine")/wineserver
      [ -x "$server" ] || server=wineserver
      "$server" -w 2> /dev/null || true
      if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine_run.sh: could not make the Wine prefix $WINEPREFIX" >&2
        exit 1
      fi
      touch "$WINEPREFIX/.duskmatch-ready"
    fi
  ) 9> "$WINEPREFIX.lock"
fi
exec "$wine" "$@"
