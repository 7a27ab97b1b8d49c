#!/bin/bash
# Fails when a platform header (SDL, X11, Pango, Cairo, HarfBuzz, POSIX,
# Windows) is included outside an engine back-end file, when a folder
# includes a folder above it (engine < game < ui < app), or when a .cpp file
# declares something extern. The back-end files are those engine/backends.txt
# lists, the list the build chooses back ends from (each listed file must
# exist); app/main.cpp may include SDL for SDL_main.
root=${1:-.}
cd "$root" || exit 2
status=0
# Every file of every back end, as engine/<service>/<file>.
declare -A backend_file
while read -r service backend platform items; do
  case "$service" in ''|'#'*) continue ;; esac
  for item in $items; do
    case "$item" in pkg:*|lib:*) continue ;; esac
    f="engine/$service/$item"
    if [ ! -f "$f" ]; then
      echo "engine/backends.txt: $f ($backend) does not exist"
      status=1
    fi
    backend_file[$f]=1
  done
done < engine/backends.txt
platform='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](SDL|SDL2/|X11/|poll\.h|signal\.h|pango|cairo|fontconfig|hb\.h|hb-|unistd\.h|sys/|dirent\.h|fcntl\.h|pthread\.h|sched\.h|windows\.h|win[a-z0-9]*\.h|shlobj\.h|shellapi\.h|shobjidl\.h|shlwapi\.h|knownfolders\.h|objbase\.h|ole2\.h|objidl\.h|unknwn\.h|gdiplus|mmsystem\.h|intrin\.h|io\.h|direct\.h|ntdef\.h|sddl\.h|processthreadsapi\.h|sysinfoapi\.h|fileapi\.h)'
while IFS= read -r f; do
  [ -n "${backend_file[$f]}" ] && continue
  [ "$f" = app/main.cpp ] && continue
  if grep -niE "$platform" "$f" >/dev/null; then
    grep -nHiE "$platform" "$f"
    status=1
  fi
done < <(find app game ui engine -name '*.cpp' -o -name '*.h' 2>/dev/null | sort)
# The folders in their order, lowest first: each may include its own and
# those below it, never one above.
layers=(engine game ui app)
for ((low = 0; low < ${#layers[@]}; ++low)); do
  for ((high = low + 1; high < ${#layers[@]}; ++high)); do
    upward="^[[:space:]]*#[[:space:]]*include[[:space:]]*\"${layers[high]}/"
    while IFS= read -r f; do
      if grep -nE "$upward" "$f" >/dev/null; then
        grep -nHE "$upward" "$f"
        status=1
      fi
    done < <(find "${layers[low]}" -name '*.cpp' -o -name '*.h' 2>/dev/null | sort)
  done
done
while IFS= read -r f; do
  if grep -nE '^[[:space:]]*extern[[:space:]]' "$f" | grep -v 'extern "C"' >/dev/null; then
    grep -nHE '^[[:space:]]*extern[[:space:]]' "$f" | grep -v 'extern "C"'
    status=1
  fi
done < <(find app game ui engine tools -name '*.cpp' 2>/dev/null | sort)
if [ $status -ne 0 ]; then
  echo "layering check FAILED: platform headers belong in back-end files, includes point down (engine < game < ui < app), extern in headers"
else
  echo "layering check passed"
fi
exit $status
