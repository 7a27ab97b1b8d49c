#!/bin/bash
# Reads the resources of Duskmatch.exe back with icoutils' wrestool: the icon
# holds the owl at 16 to 256 pixels (the Linux build's Duskmatch.ico), the
# version information names the product, its version and the publisher, and
# the manifest declares per-monitor DPI awareness and the supported Windows
# versions.
#   tools/windows/resources_check.sh Duskmatch.exe Duskmatch.ico
set -u
exe=$1
ico=$2
for tool in wrestool icotool python3; do
  command -v $tool > /dev/null || { echo "$tool is not installed (tools/windows/setup.sh installs icoutils)"; exit 1; }
done
fail=0
problem() {
  echo "FAILED: $*"
  fail=1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

wrestool -x --type=14 "$exe" > "$work/icon.ico" 2> /dev/null
if [ ! -s "$work/icon.ico" ]; then
  problem "no icon"
else
  sizes=$(icotool -l "$work/icon.ico" | sed -n 's/.*--width=\([0-9]*\).*/\1/p' | sort -n | tr '\n' ' ')
  expected=$(icotool -l "$ico" | sed -n 's/.*--width=\([0-9]*\).*/\1/p' | sort -n | tr '\n' ' ')
  [ "$sizes" = "$expected" ] || problem "the icon has sizes $sizes, the owl icon $expected"
  # The same pictures as the generated icon file, size by size (icotool
  # names them after the file: <name>_<index>_<size>x<bits>.png).
  mkdir -p "$work/program" "$work/owl"
  cp "$ico" "$work/owl.ico"
  icotool -x -o "$work/program" "$work/icon.ico" 2> /dev/null
  icotool -x -o "$work/owl" "$work/owl.ico" 2> /dev/null
  for picture in "$work/owl"/owl_*.png; do
    name=$(basename "$picture")
    cmp -s "$picture" "$work/program/icon_${name#owl_}" ||
      problem "the program's icon differs from the owl icon at ${name#owl_}"
  done
fi

wrestool -x -R --type=16 "$exe" > "$work/version.bin" 2> /dev/null
python3 - "$work/version.bin" << 'PY' || fail=1
import sys
# A VERSIONINFO string entry is a small header (lengths and a type of 1),
# the key and the value, in UTF-16 with a NUL after each; read as text, the
# header runs into the key.
text = open(sys.argv[1], 'rb').read().decode('utf-16-le', 'replace')
fields = [f for f in text.split('\0') if f]
want = {'ProductName': 'Duskmatch', 'ProductVersion': '1.0', 'FileVersion': '1.0',
        'CompanyName': 'Vornhollow Interactive', 'OriginalFilename': 'Duskmatch.exe'}
for key, value in want.items():
    found = [fields[i + 1] for i, f in enumerate(fields[:-1]) if f.endswith('\x01' + key)]
    if found[:1] != [value]:
        print('FAILED: version information %s is %s, not %s' % (key, found[:1] or 'missing', value))
        sys.exit(1)
PY

wrestool -x -R --type=24 "$exe" > "$work/manifest.xml" 2> /dev/null
for needle in "PerMonitorV2" "true/pm" "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}" "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}" \
              'level="asInvoker"'; do
  grep -qF "$needle" "$work/manifest.xml" || problem "the manifest lacks $needle"
done
[ $fail -eq 0 ] && echo "program resources as expected"
exit $fail
