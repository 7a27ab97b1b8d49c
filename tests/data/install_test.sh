#!/bin/bash
# The game as `cmake --install` lays it out. Under DESTDIR with the prefix
# /usr: the Debian game layout (the program and links to its packs in
# lib/games/duskmatch, the packs in share/games/duskmatch, games/duskmatch a
# link to the program, all links relative), a menu entry and AppStream
# metadata that their validators accept, the icons at their sizes and the
# manual page. Installed under another prefix: the menu entry's command
# started by an ordinary user who cannot write the program's folder, from
# another working folder, finds its packs through the links, runs its main
# loop, ends on SIGTERM as a session's end sends it, and leaves its settings
# and log in the user folder and nothing anywhere else.
# Usage: install_test.sh <build folder> <scratch folder>
set -u
build=$1
work=$2
id=example.owlreach.Duskmatch
packs="DuskmatchData.pack DuskmatchLanguages.pack DuskmatchCursor.pack"
fail=0
problem() {
  echo "FAILED: $*"
  fail=1
}
for tool in desktop-file-validate appstreamcli setpriv python3; do
  command -v "$tool" > /dev/null || { echo "$tool is not installed (tools/setup.sh check)"; exit 1; }
done
# A run as another user than root left the program's folder read-only.
[ -d "$work" ] && chmod -R u+w "$work"
rm -rf "$work"
mkdir -p "$work"

# ---- The Debian layout under DESTDIR ----
if ! DESTDIR="$work/destdir" cmake --install "$build" --prefix /usr > "$work/install-destdir.txt" 2>&1; then
  cat "$work/install-destdir.txt"
  exit 1
fi
usr=$work/destdir/usr
[ -f "$usr/lib/games/duskmatch/duskmatch" ] && [ -x "$usr/lib/games/duskmatch/duskmatch" ] ||
  problem "no program in lib/games/duskmatch"
[ "$(readlink "$usr/games/duskmatch")" = ../lib/games/duskmatch/duskmatch ] ||
  problem "games/duskmatch is not a relative link to the program: $(readlink "$usr/games/duskmatch")"
for pack in $packs; do
  [ -f "$usr/share/games/duskmatch/$pack" ] || problem "no $pack in share/games/duskmatch"
  [ "$(readlink "$usr/lib/games/duskmatch/$pack")" = "../../../share/games/duskmatch/$pack" ] ||
    problem "lib/games/duskmatch/$pack is not a relative link to share/games/duskmatch"
  cmp -s "$usr/lib/games/duskmatch/$pack" "$build/bin/$pack" || problem "$pack differs from the build's"
done
desktop=$usr/share/applications/$id.desktop
grep -qx "Exec=/usr/games/duskmatch" "$desktop" || problem "the menu entry does not start /usr/games/duskmatch"
grep -qx "Icon=$id" "$desktop" || problem "the menu entry does not name the icon $id"
desktop-file-validate "$desktop" || problem "desktop-file-validate refuses the menu entry"
metainfo=$usr/share/metainfo/$id.metainfo.xml
appstreamcli validate --no-net "$metainfo" > "$work/appstream.txt" 2>&1 ||
  { cat "$work/appstream.txt"; problem "appstreamcli refuses the metadata"; }
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  problem "the metadata does not launch the menu entry"
for size in 16 24 32 48 64 128 256 512; do
  read -r w h _ <<< "$(python3 "$(dirname "$0")/../support/png_sample.py" \
    "$usr/share/icons/hicolor/${size}x${size}/apps/$id.png" 2> /dev/null)"
  [ "${w:-0}x${h:-0}" = "${size}x${size}" ] || problem "the ${size}x${size} icon is ${w:-?}x${h:-?}"
done
grep -q "<svg" "$usr/share/icons/hicolor/scalable/apps/$id.svg" 2> /dev/null || problem "no scalable icon"
grep -q '^\.TH DUSKMATCH 6' "$usr/share/man/man6/duskmatch.6" 2> /dev/null || problem "no manual page duskmatch(6)"
grep -q "/usr/lib/games/duskmatch/" "$usr/share/man/man6/duskmatch.6" 2> /dev/null ||
  problem "the manual page does not name the program's folder"
for shot in board menu well-done; do
  read -r w h colours <<< "$(python3 "$(dirname "$0")/../support/png_sample.py" \
    "$usr/share/doc/duskmatch/screenshots/$shot.png" 2> /dev/null)"
  [ "${w:-0}x${h:-0}" = 1280x720 ] && [ "${colours:-0}" -ge 8 ] || problem "screenshot $shot is ${w:-?}x${h:-?}, ${colours:-?} colours"
done

# ---- Installed elsewhere and played as an ordinary user ----
prefix=$work/prefix
if ! cmake --install "$build" --prefix "$prefix" > "$work/install-prefix.txt" 2>&1; then
  cat "$work/install-prefix.txt"
  exit 1
fi
command=$(sed -n 's/^Exec=//p' "$prefix/share/applications/$id.desktop")
[ "$command" = "$prefix/games/duskmatch" ] || problem "the menu entry's command is $command"
home=$work/home
elsewhere=$work/elsewhere
mkdir -p "$home" "$elsewhere"
if [ "$(id -u)" -eq 0 ]; then
  # Root plays as nobody, who owns nothing but the home and working folder.
  chown nobody "$home" "$elsewhere"
  as_player=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
  if ! "${as_player[@]}" test -x "$prefix/games/duskmatch"; then
    echo "nobody cannot reach $prefix (a folder above it is closed): skipped"
    exit 77
  fi
else
  chmod -R a-w "$prefix/lib/games/duskmatch"
  as_player=()
fi
if "${as_player[@]}" test -w "$prefix/lib/games/duskmatch"; then
  problem "the player can write the program's folder"
fi
before=$(ls -la "$prefix/lib/games/duskmatch")
cd "$elsewhere" || exit 1
env -u XDG_DATA_HOME HOME="$home" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
  "${as_player[@]}" "$command" /LOG > "$work/stdout.txt" 2> "$work/stderr.txt" &
pid=$!
user="$home/.local/share/owlreach game studio/Duskmatch"
for _ in $(seq 1 300); do
  grep -qs "^Load asset (ogs.png):" "$user/"Log*.log && break
  kill -0 "$pid" 2> /dev/null || break
  sleep 0.1
done
grep -qs "^Load asset (ogs.png):" "$user/"Log*.log || problem "the game did not reach its main loop"
sleep 0.5
kill -TERM "$pid" 2> /dev/null
for _ in $(seq 1 100); do
  kill -0 "$pid" 2> /dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2> /dev/null; then
  kill -9 "$pid"
  problem "the game did not end on SIGTERM"
fi
wait "$pid"
status=$?
cd "$work" || exit 1
[ $status -eq 0 ] || { problem "exit code $status"; cat "$work/stderr.txt"; }
if grep -qs "FAILED" "$user/"Log*.log; then
  problem "the log has failures:"
  grep "FAILED" "$user/"Log*.log
fi
grep -qs $'^Load language (en_GB):\t\tOK' "$user/"Log*.log ||
  problem "the language pack was not read through its link"
[ -f "$user/Duskmatch.prefs" ] || problem "no settings in the user folder"
[ "$(ls -la "$prefix/lib/games/duskmatch")" = "$before" ] || problem "the program's folder changed"
[ -z "$(ls -A "$elsewhere")" ] || problem "the game wrote into its working folder: $(ls -A "$elsewhere")"
[ $fail -eq 0 ] && echo "install test passed"
exit $fail
