#!/bin/bash
# The Windows installer under Wine on a virtual X display, as a player uses
# it, in a Wine prefix of its own made afresh (build-windows/wineprefix-installer):
#  1. "Duskmatch-<version>-setup.exe /S" installs Duskmatch.exe, its three
#     packs and Uninstall.exe into Program Files\Duskmatch, the Start-menu
#     shortcut for every user (pointing at the program) and the entry under
#     the installed programs (name, version, publisher, uninstaller).
#  2. The game, started through the shortcut with "/LOG", shows its window
#     and takes S for a screenshot; three Escapes end it in order (it writes
#     its settings), and its log and settings lie in the roaming AppData
#     folder.
#  3. "Uninstall.exe /S" removes the program, the packs, the folder, the
#     shortcut and the entry; the settings in AppData stay.
#   tools/windows/installer_test.sh [installer]
# Default: the newest build-windows/Duskmatch-*-setup.exe. Exit code 77
# (skipped) when xvfb-run or Wine is missing.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
wine_run=$here/wine_run.sh
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Duskmatch'

if [ "${1:-}" = "--inside" ]; then
  installer=$2
  work=$3
  source "$root/tests/app/x11_session.sh"
  key_hold=0.2 key_gap=0.5
  fail=0
  problem() {
    echo "FAILED: $*"
    fail=1
  }
  server=$(command -v wineserver || echo /usr/lib/wine/wineserver)
  "$wine_run" cmd /c exit > /dev/null 2>&1 || { echo "Wine does not run: skipped"; exit 77; }
  drive=$WINEPREFIX/drive_c
  program="$drive/Program Files/Duskmatch"
  shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Duskmatch.lnk"
  appdata_win=$("$wine_run" cmd /c echo %APPDATA% 2> /dev/null | tr -d '\r')
  appdata=$("$wine_run" winepath -u "$appdata_win" 2> /dev/null | tr -d '\r')
  user="$appdata/owlreach game studio/Duskmatch"
  installer_win=$("$wine_run" winepath -w "$installer" 2> /dev/null | tr -d '\r')

  echo "== install: $installer_win /S"
  "$wine_run" "$installer_win" /S
  status=$?
  "$server" -w 2> /dev/null
  [ $status -eq 0 ] || problem "the installer ended with $status"
  for file in Duskmatch.exe DuskmatchData.pack DuskmatchLanguages.pack DuskmatchCursor.pack Uninstall.exe; do
    [ -f "$program/$file" ] || problem "no $file in Program Files\\Duskmatch"
  done
  for file in DuskmatchData.pack DuskmatchLanguages.pack DuskmatchCursor.pack; do
    cmp -s "$program/$file" "$root/build-windows/Duskmatch/$file" || problem "$file differs from the build's"
  done
  [ -f "$shortcut" ] || problem "no Start-menu shortcut"
  # A shortcut names its target in the local code page as well as in UTF-16.
  grep -aq 'Program Files\\Duskmatch\\Duskmatch.exe' "$shortcut" 2> /dev/null ||
    problem "the shortcut does not point at Program Files\\Duskmatch\\Duskmatch.exe"
  "$wine_run" reg query "$key" > "$work/key.txt" 2>&1 || problem "no entry under the installed programs"
  tr -d '\r' < "$work/key.txt" > "$work/key-unix.txt"
  for value in "DisplayName.*REG_SZ.*Duskmatch" "DisplayVersion.*REG_SZ.*1\\.0" \
               "Publisher.*REG_SZ.*Vornhollow Interactive" "UninstallString.*REG_SZ.*Uninstall\\.exe" \
               "QuietUninstallString.*REG_SZ.*Uninstall\\.exe\" /S" "DisplayIcon.*REG_SZ.*Duskmatch\\.exe"; do
    grep -Eq "$value" "$work/key-unix.txt" || problem "the entry lacks $value"
  done

  echo "== start through the shortcut, S, then three Escapes"
  mkdir -p "$user"
  printf '[Settings]\r\nGameScreen = 1\r\n' > "$user/Duskmatch.prefs"
  shortcut_win=$("$wine_run" winepath -w "$shortcut" 2> /dev/null | tr -d '\r')
  # Windows' start opens the shortcut as Explorer would and returns: the
  # game is then found by its command line, and its orderly end is seen in
  # the settings it writes (the game's exit code is always 0).
  (cd "$work" && "$wine_run" start "$shortcut_win" /LOG > "$work/start.stdout" 2> "$work/start.stderr")
  pid=
  for _ in $(seq 1 300); do
    pid=$(pgrep -f 'Program Files.Duskmatch.Duskmatch.exe' | head -n 1)
    [ -n "$pid" ] && break
    sleep 0.2
  done
  wid=
  [ -n "$pid" ] && wid=$(find_game_window "$pid" 60)
  if [ -z "$wid" ]; then
    problem "the game window did not appear"
  else
    wait_for_main_loop "$user" "$pid" 60
    sleep 0.5
    xdotool windowactivate --sync "$wid" 2> /dev/null || xdotool windowfocus --sync "$wid" 2> /dev/null || true
    sleep 0.3
    # The screenshot's log line shows that the keys reach the running loop.
    press s
    wait_for_log_line "$user" "^Saving screenshot:" || problem "S did not reach the game"
    press Escape
    press Escape
    press Escape
    for _ in $(seq 1 150); do
      kill -0 "$pid" 2> /dev/null || break
      sleep 0.1
    done
    kill -0 "$pid" 2> /dev/null && problem "the game did not end on three Escapes"
  fi
  # Whatever is left of the game must not hold up the rest.
  "$server" -k 2> /dev/null
  "$server" -w 2> /dev/null
  grep -qs $'^GameDir:\t\tC:\\\\Program Files\\\\Duskmatch\\\\\r$' "$user/"Log*.log ||
    problem "the log does not show the game started from Program Files\\Duskmatch"
  grep -s "FAILED" "$user/"Log*.log && problem "the log has failures"
  grep -qs "^ScreenMode = " "$user/Duskmatch.prefs" || problem "the game did not write its settings at its end"

  echo "== uninstall: Uninstall.exe /S"
  uninstaller_win=$("$wine_run" winepath -w "$program/Uninstall.exe" 2> /dev/null | tr -d '\r')
  "$wine_run" "$uninstaller_win" /S
  # The uninstaller runs on from a copy in the temporary folder.
  "$server" -w 2> /dev/null
  [ ! -e "$program" ] || problem "Program Files\\Duskmatch is still there: $(ls -A "$program")"
  [ ! -e "$shortcut" ] || problem "the Start-menu shortcut is still there"
  "$wine_run" reg query "$key" > /dev/null 2>&1 && problem "the entry under the installed programs is still there"
  [ -f "$user/Duskmatch.prefs" ] || problem "the player's settings in AppData were removed"
  ls "$user/"Log*.log > /dev/null 2>&1 || problem "the player's log in AppData was removed"
  [ $fail -eq 0 ] && echo "installer test passed"
  exit $fail
fi

installer=${1:-$(ls -t "$root"/build-windows/Duskmatch-*-setup.exe 2> /dev/null | head -n 1)}
if [ -z "$installer" ] || [ ! -f "$installer" ]; then
  echo "no installer: make windows-installer first"
  exit 1
fi
for tool in xvfb-run xdotool; do
  command -v $tool > /dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
installer=$(readlink -f "$installer")
work=$root/build-windows/installer-test
export WINEPREFIX=$root/build-windows/wineprefix-installer
export WINEDEBUG=-all
export SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER
server=$(command -v wineserver || echo /usr/lib/wine/wineserver)
"$server" -k 2> /dev/null
rm -rf "$work" "$WINEPREFIX"
mkdir -p "$work"
xvfb-run -a -s "-screen 0 1920x1080x24" bash ${DUSK_TRACE:+-x} "$0" --inside "$installer" "$work"
