# What the real-window tests do to the game from outside, on a virtual X
# display: find its window, wait until its main loop runs, press keys as a
# player does and wait for it to end. Sourced by those tests' --inside part.

# Prints the id of the game's window once it is there (empty if the game
# ended first or 30 seconds went by). $1: the game's process id.
find_game_window() {
  local wid=
  for _ in $(seq 1 150); do
    wid=$(xdotool search --name "^Duskmatch 1\.0" 2>/dev/null | head -n 1)
    [ -n "$wid" ] && break
    kill -0 "$1" 2>/dev/null || break
    sleep 0.2
  done
  echo "$wid"
}

# Waits until the main loop runs: keys count only after the last picture of
# the start-up (its log line) and the text sprites. $1: the program folder,
# $2: the game's process id.
wait_for_main_loop() {
  for _ in $(seq 1 300); do
    grep -qs "^Load asset (ogs.png):" "$1/"Log*.log && break
    kill -0 "$2" 2>/dev/null || break
    sleep 0.1
  done
  sleep 0.5
}

# Holds a key for a few frames: the game reads the keyboard once a frame.
press() {
  xdotool keydown "$1"
  sleep 0.15
  xdotool keyup "$1"
  sleep 0.4
}

# Waits up to 10 seconds for the game to end and gives its exit code; a game
# still running is stopped and counts as a failure. $1: its process id.
wait_for_end() {
  for _ in $(seq 1 100); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$1" 2>/dev/null; then
    echo "the game is still running"
    kill "$1"
    wait "$1"
    return 1
  fi
  wait "$1"
}
