#!/bin/bash
# Smoke test of the Windows program under Wine on a virtual X display, driven
# from outside as a player would (xdotool), beside the Linux program as the
# reference:
#  1. Both programs start with "/LOG" in a window (settings "GameScreen = 1"
#     in the user folder), show the splashes and the menu; S saves a
#     screenshot and three Escapes end them with exit code 0. The Windows log
#     and settings must lie in Wine's roaming application-data folder under
#     "owlreach game studio\Duskmatch\" and match the Linux ones line for
#     line: same labels, the same values where the machine does not differ,
#     values of the right form where it does (processor, memory, paths).
#  2. Fatal path: a data pack without "ogs.png". The message box holds the
#     program until it is answered: while it waits, the log must end in the
#     picture's FAILED line and standard error must carry the message; Return
#     closes the box, the exit code is 0 and no settings are saved.
#  3. The program's resources (resources_check.sh): the owl icon, the version
#     information and the manifest.
#  4. The installer (installer_test.sh), when make windows-installer made
#     one: install, start through the Start-menu shortcut, quit, uninstall.
#
#   tools/windows/smoke_test.sh [Windows program folder] [Linux bin folder]
# Defaults: build-windows/Duskmatch and $DUSK_LINUX_BUILD/bin (build/bin).
# Exit code 77 (skipped) when xvfb-run or Wine is missing.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

# ---- inside the virtual display -------------------------------------
if [ "${1:-}" = "--inside" ]; then
  work=$2
  # What the Linux real-window tests do to the game from outside, with
  # longer waits for the Windows program under Wine.
  source "$root/tests/app/x11_session.sh"
  key_hold=0.2 key_gap=0.5

  # run_game NAME DIR LOGDIR COMMAND...: starts the game in DIR, presses S
  # and three Escapes in its window, leaves its exit code in NAME.rc.
  run_game() {
    local name=$1 dir=$2 logdir=$3
    shift 3
    (cd "$dir" && exec "$@" /LOG > "$work/$name.stdout" 2> "$work/$name.stderr") &
    local pid=$! wid
    wid=$(find_game_window "$pid" 60)
    if [ -z "$wid" ]; then
      echo "$name: the game window did not appear"
      stop_game "$pid"
      echo 1 > "$work/$name.rc"
      return
    fi
    wait_for_main_loop "$logdir" "$pid" 60
    sleep 0.5
    xdotool windowactivate --sync "$wid" 2> /dev/null || xdotool windowfocus --sync "$wid" 2> /dev/null || true
    sleep 0.3
    press s
    wait_for_log_line "$logdir" "^Saving screenshot:"
    press Escape
    press Escape
    press Escape
    wait_for_end "$pid" 15
    echo $? > "$work/$name.rc"
  }

  if [ -n "${LINUX_GAME:-}" ]; then
    HOME="$work/linux-home" XDG_DATA_HOME="$work/linux-home" LANG="$LINUX_LANG" LC_ALL= \
      run_game linux "$work/linux-prog" "$LINUX_USER" "$LINUX_GAME"
  fi
  run_game windows "$work/prog" "$WIN_USER" "$here/wine_run.sh" ./Duskmatch.exe
  # The fatal run starts without a user folder, which the game makes.
  mv "$WIN_USER" "$work/windows-user"

  # The fatal path: the box waits for an answer.
  (cd "$work/fatal-prog" && exec "$here/wine_run.sh" ./Duskmatch.exe /LOG \
     > "$work/fatal.stdout" 2> "$work/fatal.stderr") &
  pid=$!
  : > "$work/fatal.notes"
  for _ in $(seq 1 600); do
    grep -qs $'^Load asset (ogs.png):\t\tFAILED' "$WIN_USER/"Log*.log && break
    kill -0 "$pid" 2> /dev/null || break
    sleep 0.1
  done
  box=
  for _ in $(seq 1 100); do
    box=$(xdotool search --name "^Duskmatch::" 2> /dev/null | head -n 1)
    [ -n "$box" ] && break
    sleep 0.2
  done
  sleep 1
  if kill -0 "$pid" 2> /dev/null; then
    echo "waiting" >> "$work/fatal.notes"
  fi
  [ -n "$box" ] && echo "box $(xdotool getwindowname "$box")" >> "$work/fatal.notes"
  cp "$WIN_USER/"Log*.log "$work/fatal-while-waiting.log" 2> /dev/null
  cp "$work/fatal.stderr" "$work/fatal-while-waiting.stderr"
  if [ -n "$box" ]; then
    xdotool windowactivate --sync "$box" 2> /dev/null || true
    sleep 0.3
    xdotool key --window "$box" Return 2> /dev/null
    xdotool key Return
  fi
  for _ in $(seq 1 150); do
    kill -0 "$pid" 2> /dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2> /dev/null; then
    echo "still running after the message box was answered" >> "$work/fatal.notes"
    kill "$pid"
  fi
  wait "$pid"
  echo $? > "$work/fatal.rc"
  exit 0
fi

# ---- set-up ------------------------------------------------------------
prog=${1:-$root/build-windows/Duskmatch}
linux_bin=${2:-$root/${DUSK_LINUX_BUILD:-build}/bin}
work=$root/build-windows/smoke
packs="DuskmatchData.pack DuskmatchLanguages.pack DuskmatchCursor.pack"
for tool in xvfb-run xdotool python3; do
  if ! command -v $tool > /dev/null; then
    echo "$tool is not installed: skipped (tools/windows/setup.sh installs it)"
    exit 77
  fi
done
if [ ! -f "$prog/Duskmatch.exe" ]; then
  echo "no $prog/Duskmatch.exe: build it first (make windows)"
  exit 1
fi
wine_run=$here/wine_run.sh
# A prefix of the smoke test's own: the unit tests' prefix may have a Wine
# session running without a display (tests run on SDL's dummy driver), and a
# game started into that session would get its desktop instead of ours.
export WINEPREFIX=${WINEPREFIX:-$root/build-windows/wineprefix-smoke}
export WINEDEBUG=-all
export SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER
"$wine_run" cmd /c exit > /dev/null 2>&1 || { echo "Wine does not run: skipped"; exit 77; }

rm -rf "$work"
mkdir -p "$work/prog" "$work/fatal-prog/data" "$work/linux-prog" "$work/linux-home"
cp "$prog/Duskmatch.exe" "$work/prog/"
for pack in $packs; do cp "$prog/$pack" "$work/prog/" || exit 1; done

# Wine's own idea of the user's folders and locale.
appdata_win=$("$wine_run" cmd /c echo %APPDATA% 2> /dev/null | tr -d '\r')
appdata=$("$wine_run" winepath -u "$appdata_win" 2> /dev/null | tr -d '\r')
prog_win=$("$wine_run" winepath -w "$work/prog" 2> /dev/null | tr -d '\r')
fatal_win=$("$wine_run" winepath -w "$work/fatal-prog" 2> /dev/null | tr -d '\r')
locale=$("$wine_run" reg query 'HKCU\Control Panel\International' /v LocaleName 2> /dev/null |
         tr -d '\r' | awk '$1 == "LocaleName" { print $3 }')
if [ -z "$appdata" ] || [ ! -d "$appdata" ] || [ -z "$prog_win" ]; then
  echo "could not find the Wine prefix's roaming application-data folder"
  exit 1
fi
export WIN_USER="$appdata/owlreach game studio/Duskmatch"
rm -rf "$appdata/owlreach game studio"
mkdir -p "$WIN_USER"
printf '[Settings]\r\nGameScreen = 1\r\n' > "$WIN_USER/Duskmatch.prefs"

# The Linux program under the same conditions: same packs, the same
# settings in its user folder, the locale Wine reports.
if [ -x "$linux_bin/duskmatch" ]; then
  cp "$linux_bin/duskmatch" "$work/linux-prog/"
  for pack in $packs; do cp "$prog/$pack" "$work/linux-prog/"; done
  export LINUX_GAME=./duskmatch
  export LINUX_USER="$work/linux-home/owlreach game studio/Duskmatch"
  export LINUX_LANG="${locale:-en-US}"
  LINUX_LANG="${LINUX_LANG/-/_}.UTF-8"
  mkdir -p "$LINUX_USER"
  printf '[Settings]\r\nGameScreen = 1\r\n' > "$LINUX_USER/Duskmatch.prefs"
else
  echo "no Linux program in $linux_bin: the Windows log is checked on its own"
fi

# The fatal copy: a data pack without the last picture the start-up loads,
# so the failure comes with the window open.
duskpack=$linux_bin/duskpack
if [ ! -x "$duskpack" ]; then
  echo "no duskpack in $linux_bin to make the damaged data pack"
  exit 1
fi
specs=()
while IFS= read -r entry; do
  [ -n "$entry" ] || continue
  [ "$entry" = "ogs.png" ] && continue
  "$duskpack" extract "$prog/DuskmatchData.pack" "$entry" "$work/fatal-prog/data/$entry" > /dev/null || exit 1
  specs+=("$entry=$work/fatal-prog/data/$entry")
done < <("$duskpack" list "$prog/DuskmatchData.pack" | awk -F'\t' '{ print $1 }')
if [ ${#specs[@]} -lt 10 ]; then
  echo "duskpack list gave ${#specs[@]} entries"
  "$duskpack" list "$prog/DuskmatchData.pack" | head -3
  exit 1
fi
"$duskpack" create "$work/fatal-prog/DuskmatchData.pack" --level 1 "${specs[@]}" > /dev/null || exit 1
rm -rf "$work/fatal-prog/data"
cp "$prog/Duskmatch.exe" "$prog/DuskmatchLanguages.pack" "$prog/DuskmatchCursor.pack" "$work/fatal-prog/"

# ---- run -------------------------------------------------------------------
# The queries above started a Wine session outside the virtual display; it
# must end first, so that the game's session starts on that display.
server=$(command -v wineserver || echo /usr/lib/wine/wineserver)
"$server" -w 2> /dev/null || true
xvfb-run -a -s "-screen 0 1920x1080x24" bash ${DUSK_TRACE:+-x} "$0" --inside "$work"

# ---- checks ------------------------------------------------------------------
APPDATA_WIN="$appdata_win" PROG_WIN="$prog_win" FATAL_WIN="$fatal_win" \
  python3 "$here/smoke_check.py" "$work" "$root"
status=$?
if [ $status -ne 0 ]; then
  for f in windows.stderr linux.stderr fatal.stderr fatal.notes; do
    [ -s "$work/$f" ] && { echo "--- $f"; head -c 2000 "$work/$f"; }
  done
fi

# ---- the program's resources and the installer ---------------------------
bash "$here/resources_check.sh" "$prog/Duskmatch.exe" "$linux_bin/../data/icons/Duskmatch.ico" || status=1
installer=$(ls -t "$root"/build-windows/Duskmatch-*-setup.exe 2> /dev/null | head -n 1)
if [ -n "$installer" ]; then
  bash "$here/installer_test.sh" "$installer" || status=1
else
  echo "no installer in build-windows: make windows-installer makes one"
fi
exit $status
