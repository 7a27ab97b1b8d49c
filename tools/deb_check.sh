#!/bin/bash
# Checks a built Debian package the way a player meets it, on this machine
# (as root: it installs and removes the package):
#  1. dpkg -i installs it (its run-time libraries must be there already);
#  2. the menu entry's command, started by an ordinary user (nobody, with a
#     home folder of its own) from another working folder on a virtual
#     display, shows the game; Escape three times quits it with exit code 0,
#     and its settings and log lie in that user's folder, free of failures;
#  3. dpkg --purge removes it and leaves none of the package's files.
#   tools/deb_check.sh build-deb/duskmatch_1.0_amd64.deb
set -u
deb=$(readlink -f "${1:?usage: tools/deb_check.sh PACKAGE.deb}")
here=$(cd "$(dirname "$0")" && pwd)
if [ "$(id -u)" -ne 0 ]; then
  echo "run as root: the check installs and removes the package"
  exit 2
fi
for tool in xvfb-run xdotool setpriv; do
  command -v "$tool" > /dev/null || { echo "$tool is not installed (tools/setup.sh check)"; exit 2; }
done
if dpkg -s duskmatch > /dev/null 2>&1; then
  echo "duskmatch is installed already: remove it first (dpkg --purge duskmatch)"
  exit 2
fi
fail=0
problem() {
  echo "FAILED: $*"
  fail=1
}
work=$(mktemp -d)
chmod 755 "$work"
# The package's paths that are not there before it is installed: these must
# all be gone after the purge.
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|; s|/$||' | grep -v '^/\?$' > "$work/paths"
while IFS= read -r path; do
  [ -e "$path" ] || [ -L "$path" ] || echo "$path"
done < "$work/paths" > "$work/new-paths"

echo "== dpkg -i $deb"
dpkg -i "$deb" || { echo "dpkg -i failed"; rm -rf "$work"; exit 1; }
desktop=$(dpkg -L duskmatch | grep '^/usr/share/applications/.*\.desktop$')
command=$(sed -n 's/^Exec=//p' "$desktop")
echo "== the menu entry $desktop starts: $command"

home=$work/home
elsewhere=$work/elsewhere
mkdir -p "$home" "$elsewhere"
chown nobody "$home" "$elsewhere"
cat > "$work/play.sh" << 'PLAY'
# Runs inside the virtual display: the game as nobody, three Escapes.
. "$1/../tests/app/x11_session.sh"
# The display's key, readable by the player.
cp "$XAUTHORITY" "$5/xauthority"
chown nobody "$5/xauthority"
cd "$3" || exit 1
setpriv --reuid=nobody --regid=nogroup --clear-groups -- \
  env HOME="$2" XAUTHORITY="$5/xauthority" SDL_AUDIODRIVER=dummy \
  $4 /LOG > "$5/stdout.txt" 2> "$5/stderr.txt" &
pid=$!
wid=$(find_game_window "$pid" 60)
[ -n "$wid" ] || { echo "the game window did not appear"; stop_game "$pid"; exit 1; }
wait_for_main_loop "$2/.local/share/owlreach game studio/Duskmatch" "$pid" 60
xdotool windowfocus --sync "$wid" 2> /dev/null || true
press Escape
press Escape
press Escape
wait_for_end "$pid" 15
PLAY
echo "== $command /LOG as nobody from $elsewhere, then Escape three times"
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/play.sh" "$here" "$home" "$elsewhere" "$command" "$work"
status=$?
[ $status -eq 0 ] || { problem "the game ended with $status"; cat "$work/stderr.txt"; }
user="$home/.local/share/owlreach game studio/Duskmatch"
ls -l "$user"
[ -f "$user/Duskmatch.prefs" ] || problem "no settings in the player's folder"
grep -s "FAILED" "$user/"Log*.log && problem "the log has failures"
grep -qs "^Load asset (ogs.png):" "$user/"Log*.log || problem "the log does not show the pictures loaded"
program_dir=$(dirname "$(readlink -f "$command")")
grep -qs $'^GameDir:\t\t'"$program_dir/"$'\r$' "$user/"Log*.log ||
  problem "the game did not take $program_dir/ for its folder"
[ -z "$(ls -A "$elsewhere")" ] || problem "the game wrote into its working folder"

echo "== dpkg --purge duskmatch"
dpkg --purge duskmatch || problem "dpkg --purge failed"
left=0
while IFS= read -r path; do
  if [ -e "$path" ] || [ -L "$path" ]; then
    echo "left behind: $path"
    left=1
  fi
done < "$work/new-paths"
[ $left -eq 0 ] || problem "the purge left files behind"
ls /var/lib/dpkg/info/duskmatch.* 2> /dev/null && problem "dpkg still has records of the package"
echo "checked $(wc -l < "$work/paths") paths of the package, $(wc -l < "$work/new-paths") of them its own"
rm -rf "$work"
[ $fail -eq 0 ] && echo "package check passed"
exit $fail
