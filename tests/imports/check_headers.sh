#!/usr/bin/env bash
# Checks that each deliverable's writable data opens with its program header:
# its own signature (which names its form class), a NUL, then its name.
set -u
bin=${1:?bin folder}
declare -A signature=(
  [tintbox]=8868 [linefind]=1622 [circlet]=2366 [keyprobe]=4569 [textview]=9232
  [bitcopy]=1608 [picshow]=3575 [squarefill]=1040 [hivepeek]=4144 [modjoin]=4834
  [libimport]=5642 [libbind]=5267 [demolib]=9577 [subcheck]=3437 [floatcatch]=6386)
status=0
checked=0
for name in "${!signature[@]}"; do
  f="$bin/$name.exe"
  [ -e "$f" ] || f="$bin/$name.dll"
  [ -e "$f" ] || continue
  # The first 32 bytes of .data, as text with NULs shown as '|'.
  header=$(i686-w64-mingw32-objcopy -O binary --only-section=.data "$f" /dev/stdout | head -c 32 | tr '\0' '|')
  expected="Tessaric${signature[$name]}|$name|"
  if [ "${header:0:${#expected}}" = "$expected" ]; then
    echo "ok   $name: ${header%%||*}"
  else
    echo "FAIL $name: data opens with '$header', expected '$expected'"
    status=1
  fi
  checked=$((checked + 1))
done
[ $checked -gt 0 ] || { echo "FAIL no deliverables in $bin"; status=1; }
exit $status
