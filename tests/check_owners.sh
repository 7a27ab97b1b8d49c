#!/bin/bash
# Fails when a variable that has one owner is changed outside its owner's
# file: an assignment (=, +=, ...) or ++/-- of it anywhere else in app/,
# ui/, game/ or tools/. Everyone may read these variables; the owner's
# functions are the one way to change them. Comments are not searched.
root=${1:-.}
cd "$root" || exit 2
status=0
# variable and the one file that may change it
owners=(
  "ScreenState game/screen_state.cpp"
  "FrameCounter game/screen_state.cpp"
)
for entry in "${owners[@]}"; do
  read -r name owner <<<"$entry"
  [ -f "$owner" ] || { echo "$owner (owner of $name) does not exist"; status=1; continue; }
  changed="(^|[^A-Za-z0-9_.>])${name}[[:space:]]*([-+*/%&|^]|<<|>>)?=([^=]|$)|(\+\+|--)[[:space:]]*${name}([^A-Za-z0-9_]|$)|(^|[^A-Za-z0-9_.>])${name}[[:space:]]*(\+\+|--)"
  while IFS= read -r f; do
    [ "$f" = "$owner" ] && continue
    hits=$(sed -e 's://.*$::' "$f" | grep -nE "$changed")
    if [ -n "$hits" ]; then
      echo "$hits" | sed -e "s|^|$f:|"
      status=1
    fi
  done < <(find app game ui tools -name '*.cpp' -o -name '*.h' 2>/dev/null | sort)
done
if [ $status -ne 0 ]; then
  echo "owner check FAILED: ScreenState and FrameCounter change only through game/screen_state.h"
else
  echo "owner check passed"
fi
exit $status
