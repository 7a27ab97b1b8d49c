# What the real-window tests share: the program folder and the surroundings
# they start the game in, and what they do to it from outside on a virtual
# X display of their own (find its window, wait for its first frame, press
# keys as a player does, wait for it to end). Sourced by those tests.
#
# A busy machine draws the game's frames late and the game counts its pauses
# in frames: nothing here waits a fixed time for the game. Each step waits
# for what it needs to see, with limits far beyond what even a slow game
# takes, and keys are pressed again (held longer) until they show their
# effect, since the game reads the keyboard once a frame.

here_x11=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here_x11/../support/virtual_display.sh"
player="$here_x11/external_player.py"

# Ends the test as skipped (77) without Xvfb, as failed without one of the
# other tools named.
require_tools() {
  if ! command -v Xvfb > /dev/null; then
    echo "Xvfb is not installed: skipped"
    exit 77
  fi
  for tool in "$@"; do
    if ! command -v "$tool" > /dev/null; then
      echo "$tool is not installed"
      exit 1
    fi
  done
}

# A fresh program folder $2/prog with the game and its packs from $1 and
# settings that name only the window mode $3, a home folder $2/home of its
# own, and the game's surroundings: the virtual X display and the
# dummy sound driver.
prepare_game() {
  rm -rf "$2"
  mkdir -p "$2/prog" "$2/home" || exit 1
  cp "$1/duskmatch" "$1/DuskmatchData.pack" "$1/DuskmatchLanguages.pack" "$1/DuskmatchCursor.pack" \
    "$2/prog/" || exit 1
  printf '[Settings]\r\nGameScreen = %s\r\n' "$3" > "$2/prog/Duskmatch.prefs"
  export HOME="$2/home" XDG_DATA_HOME="$2/home"
  unset SDL_VIDEODRIVER
  export SDL_AUDIODRIVER=dummy
  # In sanitizer builds: the X libraries SDL loads at run time and unloads at
  # its shutdown keep a few allocations that the leak checker can only name
  # as "unknown module", so no suppression can match them. Leaks are checked
  # by the in-process tests on the dummy driver; these tests check behaviour.
  export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
}

# Runs the test script $1 again with --inside $2 (and any further arguments
# after $3) on a virtual display of its own of size $3 (as "1280x720"), so
# that no other game ever shares it; sets fail to 1, saying why, when that
# part ends with another exit code than 0, else to 0.
run_inside_virtual_display() {
  local script=$1 work=$2 size=$3
  shift 3
  fail=0
  if ! start_virtual_display "$work" "$size"; then
    fail=1
    return
  fi
  bash ${DUSK_TRACE:+-x} "$script" --inside "$work" "$@"
  local status=$?
  stop_virtual_display
  if [ $status -ne 0 ]; then
    echo "exit code $status, expected 0"
    cat "$work/stderr.txt" 2> /dev/null
    fail=1
  fi
}

# Starts twm, the window manager, without title bars and without
# interactive placement, with the fonts every X server has built in; its
# output goes to $1/twm.txt. Sets wm to its process id and waits until it
# manages the screen (it has taken the root window's redirection of new
# windows), up to 60 seconds.
start_window_manager() {
  printf 'TitleFont "fixed"\nResizeFont "fixed"\nMenuFont "fixed"\nIconFont "fixed"\nIconManagerFont "fixed"\nRandomPlacement\nUsePPosition "on"\nNoTitle\n' \
    > "$1/twmrc"
  LC_ALL=C twm -f "$1/twmrc" > "$1/twm.txt" 2>&1 &
  wm=$!
  for _ in $(seq 1 600); do
    xwininfo -root -events 2> /dev/null | grep -q SubstructureRedirect && return 0
    kill -0 "$wm" 2> /dev/null || break
    sleep 0.1
  done
  echo "the window manager did not start:"
  cat "$1/twm.txt"
  return 1
}

# Starts the game with its log from the program folder $1/prog (its output
# into $1), waits for its window and then for its first frame, drawn by the
# main loop, which from then on reads the keys; sets pid and wid. Returns
# 1, the game stopped, when no window or no frame appears.
start_game() {
  cd "$1/prog" || return 1
  ./duskmatch /LOG > "$1/stdout.txt" 2> "$1/stderr.txt" &
  pid=$!
  wid=$(find_game_window "$pid")
  if [ -z "$wid" ]; then
    echo "the game window did not appear"
    stop_game "$pid"
    return 1
  fi
  wait_for_main_loop "$1/prog" "$pid"
  # The window found first may be one that SDL replaces while the display
  # opens (seen in full screen): the game's window is the one there now.
  wid=$(find_game_window "$pid")
  if [ -z "$wid" ] || ! python3 "$player" wait-frame "$wid" 60; then
    echo "the game drew no frame"
    stop_game "$pid"
    return 1
  fi
  xdotool windowfocus --sync "$wid" 2>/dev/null || true
}

# Stops the game $1: SIGTERM, then SIGKILL if it is still there after 3
# seconds (in full screen SIGTERM does not end it), and reaps it.
stop_game() {
  kill "$1" 2>/dev/null
  for _ in $(seq 1 30); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$1" 2>/dev/null
  wait "$1" 2>/dev/null
}

# Prints the id of the game's window once it is there (empty if the game
# ended first or $2 seconds, 60 unless given, went by). $1: the game's
# process id.
find_game_window() {
  local wid=
  for _ in $(seq 1 $((${2:-60} * 5))); do
    wid=$(xdotool search --name "^Duskmatch 1\.0" 2>/dev/null | head -n 1)
    [ -n "$wid" ] && break
    kill -0 "$1" 2>/dev/null || break
    sleep 0.2
  done
  echo "$wid"
}

# Waits until the start-up has loaded its last picture (its log line); the
# main loop follows once the text sprites are made, and its first frame
# shows it runs (start_game waits for that too). $1: the folder of the
# game's log, $2: the game's process id, $3: the longest wait in seconds
# (60 unless given).
wait_for_main_loop() {
  for _ in $(seq 1 $((${3:-60} * 10))); do
    grep -qs "^Load asset (ogs.png):" "$1/"Log*.log && break
    kill -0 "$2" 2>/dev/null || break
    sleep 0.1
  done
}

# Waits up to $3 seconds (60 unless given) for a line matching the extended
# regular expression $2 in the log of the program folder $1; returns 1 if
# none came.
wait_for_log_line() {
  for _ in $(seq 1 $((${3:-60} * 10))); do
    grep -Eqs "$2" "$1/"Log*.log && return 0
    sleep 0.1
  done
  return 1
}

# How many lines of the log in the program folder $1 match the extended
# regular expression $2.
count_log_lines() {
  cat "$1/"Log*.log 2> /dev/null | grep -Ec "$2"
}

# Presses the key $1 until one more line matching $3 comes to the log of the
# program folder $2 (the game acts on it), held longer each time, up to $4
# seconds (60 unless given); returns 1 if none came.
press_until_log_line() {
  local key=$1 folder=$2 pattern=$3 limit=${4:-60} hold=0.15 before
  before=$(count_log_lines "$folder" "$pattern")
  local end=$((SECONDS + limit))
  while [ $SECONDS -lt $end ]; do
    press "$key" "$hold"
    for _ in $(seq 1 30); do
      [ "$(count_log_lines "$folder" "$pattern")" -gt "$before" ] && return 0
      sleep 0.1
    done
    hold=$(awk "BEGIN { h = $hold * 2; print (h > 1.2 ? 1.2 : h) }")
  done
  return 1
}

# Presses the key $1 until the picture in the game's window ($wid) changes
# or the game ($pid) ends, up to $2 seconds (60 unless given).
press_until_changed() {
  python3 "$player" press-until-changed "$1" "$wid" "$pid" "${2:-60}"
}

# Presses the key $1 until the game (its process id $2) ends, each press
# verified by a change on the screen (Escape on the opening screens moves
# on, on the menu ends the game), up to $3 seconds (60 unless given); then
# gives the game's exit code as wait_for_end does.
press_until_end() {
  local key=$1 game=$2 limit=${3:-60}
  local end=$((SECONDS + limit))
  while kill -0 "$game" 2> /dev/null && [ $SECONDS -lt $end ]; do
    python3 "$player" press-until-changed "$key" "$wid" "$game" $((end - SECONDS)) > /dev/null || break
  done
  wait_for_end "$game"
}

# Waits up to $3 seconds (60 unless given) until the window manager shows
# the window $1 in the state $2 ("Normal", "Iconic"); returns 1 otherwise.
wait_for_window_state() {
  for _ in $(seq 1 $((${3:-60} * 10))); do
    xprop -id "$1" WM_STATE 2> /dev/null | grep -q "window state: $2" && return 0
    sleep 0.1
  done
  return 1
}

# Starts another program with a window of its own (xmessage): its process
# in other, its window in oid once it shows (within a minute; empty if it
# never does). The caller kills $other when it ends.
start_other_program() {
  xmessage -name "another program" "another program" &
  other=$!
  oid=
  for _ in $(seq 1 600); do
    oid=$(xdotool search --name "^another program" 2> /dev/null | head -n 1)
    [ -n "$oid" ] && return 0
    sleep 0.1
  done
  return 1
}

# Holds a key for $2 seconds (or key_hold, or 0.15): the game reads the
# keyboard once a frame. A slower game (under Wine) gets longer times
# through key_hold and key_gap.
press() {
  xdotool keydown "$1"
  sleep "${2:-${key_hold:-0.15}}"
  xdotool keyup "$1"
  sleep "${key_gap:-0.4}"
}

# Waits up to $2 seconds (60 unless given) for the game to end and gives its
# exit code; a game still running is stopped and counts as a failure.
# $1: its process id.
wait_for_end() {
  for _ in $(seq 1 $((${2:-60} * 10))); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$1" 2>/dev/null; then
    echo "the game is still running"
    stop_game "$1"
    return 1
  fi
  wait "$1"
}
