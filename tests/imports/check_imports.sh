#!/usr/bin/env bash
# Checks that each deliverable imports only kernel32, user32, gdi32, comctl32 and
# advapi32 (libimport may also import demolib), and that none is missing.
set -u
bin=${1:?bin folder}
expected="tintbox linefind circlet keyprobe textview bitcopy picshow squarefill hivepeek modjoin libimport libbind subcheck floatcatch demolib"
status=0
checked=0
for f in "$bin"/*.exe "$bin"/*.dll; do
  [ -e "$f" ] || continue
  name=$(basename "$f"); name=${name%.*}
  allowed='^(kernel32|user32|gdi32|comctl32|advapi32)\.dll$'
  [ "$name" = libimport ] && allowed='^(kernel32|user32|gdi32|comctl32|advapi32|demolib)\.dll$'
  dlls=$(i686-w64-mingw32-objdump -p "$f" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z')
  if [ -z "$dlls" ]; then echo "FAIL $name: no imports found"; status=1; fi
  for d in $dlls; do
    if ! [[ $d =~ $allowed ]]; then echo "FAIL $name imports $d"; status=1; fi
  done
  checked=$((checked + 1))
  echo "ok   $name: $(echo $dlls | tr '\n' ' ')"
done
# Deliverables that exist in the source tree must have been built.
for name in $expected; do
  src=$(dirname "$0")/../../samples/$name
  if [ -d "$src" ] && [ ! -e "$bin/$name.exe" ] && [ ! -e "$bin/$name.dll" ]; then
    echo "FAIL $name was not built"; status=1
  fi
done
[ $checked -gt 0 ] || { echo "FAIL no deliverables in $bin"; status=1; }
exit $status
