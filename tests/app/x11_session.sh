# What the real-window tests share: the program folder and the surroundings
# they start the game in, and what they do to it from outside on the virtual
# X display (find its window, wait until its main loop runs, press keys as a
# player does, wait for it to end). Sourced by those tests.

# Ends the test as skipped (77) without xvfb-run, as failed without one of
# the other tools named.
require_tools() {
  if ! command -v xvfb-run > /dev/null; then
    echo "xvfb-run is not installed: skipped"
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
# own, and the game's surroundings: the real display of xvfb-run and the
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
# after $3) on a virtual display of size $3 (as "1280x720"); sets fail to 1,
# saying why, when that part ends with another exit code than 0, else to 0.
run_inside_virtual_display() {
  local script=$1 work=$2 size=$3
  shift 3
  xvfb-run -a -s "-screen 0 ${size}x24" bash ${DUSK_TRACE:+-x} "$script" --inside "$work" "$@"
  local status=$?
  fail=0
  if [ $status -ne 0 ]; then
    echo "exit code $status, expected 0"
    cat "$work/stderr.txt" 2> /dev/null
    fail=1
  fi
}

# Starts twm, the window manager, without title bars and without
# interactive placement, with the fonts every X server has built in; its
# output goes to $1/twm.txt. Sets wm to its process id.
start_window_manager() {
  printf 'TitleFont "fixed"\nResizeFont "fixed"\nMenuFont "fixed"\nIconFont "fixed"\nIconManagerFont "fixed"\nRandomPlacement\nUsePPosition "on"\nNoTitle\n' \
    > "$1/twmrc"
  LC_ALL=C twm -f "$1/twmrc" > "$1/twm.txt" 2>&1 &
  wm=$!
  sleep 0.5
}

# Starts the game with its log from the program folder $1/prog (its output
# into $1), waits for its window and then for its main loop; sets pid and
# wid. Returns 1, the game stopped, when the window does not appear.
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
# ended first or $2 seconds, 30 unless given, went by). $1: the game's
# process id.
find_game_window() {
  local wid=
  for _ in $(seq 1 $((${2:-30} * 5))); do
    wid=$(xdotool search --name "^Duskmatch 1\.0" 2>/dev/null | head -n 1)
    [ -n "$wid" ] && break
    kill -0 "$1" 2>/dev/null || break
    sleep 0.2
  done
  echo "$wid"
}

# Waits until the main loop runs: keys count only after the last picture of
# the start-up (its log line) and the text sprites. $1: the folder of the
# game's log, $2: the game's process id, $3: the longest wait in seconds
# (30 unless given).
wait_for_main_loop() {
  for _ in $(seq 1 $((${3:-30} * 10))); do
    grep -qs "^Load asset (ogs.png):" "$1/"Log*.log && break
    kill -0 "$2" 2>/dev/null || break
    sleep 0.1
  done
  sleep 0.5
}

# Waits up to 10 seconds for a line matching the extended regular expression
# $2 in the log of the program folder $1; returns 1 if none came.
wait_for_log_line() {
  for _ in $(seq 1 100); do
    grep -Eqs "$2" "$1/"Log*.log && return 0
    sleep 0.1
  done
  return 1
}

# Holds a key for a few frames: the game reads the keyboard once a frame.
# A slower game (under Wine) gets longer times through key_hold and key_gap.
press() {
  xdotool keydown "$1"
  sleep "${key_hold:-0.15}"
  xdotool keyup "$1"
  sleep "${key_gap:-0.4}"
}

# Waits up to $2 seconds (10 unless given) for the game to end and gives its
# exit code; a game still running is stopped and counts as a failure.
# $1: its process id.
wait_for_end() {
  for _ in $(seq 1 $((${2:-10} * 10))); do
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
