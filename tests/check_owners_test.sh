#!/bin/bash
# Runs check_owners.sh on a small made-up tree: every way of changing an
# owned variable outside its owner must be reported, and reads, comparisons,
# comments, longer names and the owner's own changes must not.
here=$(cd "$(dirname "$0")" && pwd)
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/app" "$tree/game" "$tree/ui" "$tree/tools"
cat >"$tree/game/screen_state.cpp" <<'CODE'
int ScreenState = 0;
int FrameCounter = 0;
void ShowMainMenu() { ScreenState = 3; ++FrameCounter; }
CODE
cat >"$tree/ui/menu.cpp" <<'CODE'
void A() { ScreenState = 6; }
void B() { if (ScreenState == 3) return; }
void C() { FrameCounter += 2; }
void D() { ++FrameCounter; }
void E() { FrameCounter--; }
// ScreenState = 7 in a comment
void F() { int OldScreenState = 1; int x = ScreenStateCount; }
CODE
cat >"$tree/app/loop.h" <<'CODE'
inline void G() { ScreenState=1; }
inline bool H() { return FrameCounter != 0 && ScreenState <= 2; }
CODE
output=$(bash "$here/check_owners.sh" "$tree")
status=$?
fail=0
expect() {
  if ! grep -qxF "$1" <<<"$output"; then
    echo "not reported: $1"
    fail=1
  fi
}
expect "ui/menu.cpp:1:void A() { ScreenState = 6; }"
expect "ui/menu.cpp:3:void C() { FrameCounter += 2; }"
expect "ui/menu.cpp:4:void D() { ++FrameCounter; }"
expect "ui/menu.cpp:5:void E() { FrameCounter--; }"
expect "app/loop.h:1:inline void G() { ScreenState=1; }"
# Exactly those five lines, and the summary.
reported=$(grep -c '^[a-z]*/[a-z_.]*:[0-9]*:' <<<"$output")
if [ "$reported" -ne 5 ]; then
  echo "reported $reported lines, expected 5:"
  echo "$output"
  fail=1
fi
if [ $status -ne 1 ]; then
  echo "check_owners.sh returned $status on a tree with changes outside the owner"
  fail=1
fi
# The same tree without the stray changes passes.
rm "$tree/ui/menu.cpp" "$tree/app/loop.h"
if ! bash "$here/check_owners.sh" "$tree" >/dev/null; then
  echo "check_owners.sh failed on a tree where only the owner changes the variables"
  fail=1
fi
[ $fail -eq 0 ] && echo "owner check test passed"
exit $fail
