#!/usr/bin/env bash
# Usage: sizes.sh BUILD_DIR — each deliverable's file size (deliverables are
# linked stripped) beside its limit, the room left below the limit, the bytes
# its code can still grow before the image grows by a 512-byte step, and the
# libraries its import table names; beside them each program's size built
# through the native back end (bin-native), or "-" where that back end cannot
# build it yet. Fails when a deliverable is over its limit or missing, or when
# the fifteen together are over theirs.
set -euo pipefail
bin="${1:?build folder}/bin"
native_bin="$1/bin-native"

declare -A limit=(
  [modjoin.exe]=4608 [subcheck.exe]=4096 [libbind.exe]=4608 [libimport.exe]=4096
  [floatcatch.exe]=3584 [hivepeek.exe]=5632 [demolib.dll]=3584
  [bitcopy.exe]=6656 [circlet.exe]=7680 [keyprobe.exe]=7680 [linefind.exe]=7680
  [picshow.exe]=6656 [squarefill.exe]=6144 [textview.exe]=8192 [tintbox.exe]=10752)
total_limit=91648
# A program of the language beyond the fifteen: the smallest console program.
declare -A example_limit=([hello.exe]=3584)

status=0
total=0
native_total=0
native_count=0
# native_bytes PATH: the size of the program's native build, or "-".
native_bytes() {
  if [ -f "$1" ]; then
    stat -c %s "$1"
  else
    echo -
  fi
}
printf '%-14s %8s %8s %6s %10s %8s  %s\n' module bytes limit room code-room native imports
for f in "$bin"/*.exe "$bin"/*.dll; do
  [ -e "$f" ] || continue
  name=$(basename "$f")
  bytes=$(stat -c %s "$f")
  imports=$(i686-w64-mingw32-objdump -p "$f" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z' | tr '\n' ' ')
  code=$((16#$(i686-w64-mingw32-objdump -h "$f" | awk '$2 == ".text" { print $3 }')))
  code_room=$(( (code + 511) / 512 * 512 - code ))
  native=$(native_bytes "$native_bin/$name")
  if [ -n "${limit[$name]:-}" ]; then
    room=$((limit[$name] - bytes))
    printf '%-14s %8d %8d %6d %10d %8s  %s\n' "$name" "$bytes" "${limit[$name]}" "$room" "$code_room" "$native" "$imports"
    total=$((total + bytes))
    if [ "$native" != - ]; then native_total=$((native_total + native)); native_count=$((native_count + 1)); fi
    if [ $room -lt 0 ]; then echo "FAIL $name is $((-room)) bytes over its limit"; status=1; fi
  else
    printf '%-14s %8d %8s %6s %10d %8s  %s\n' "$name" "$bytes" - - "$code_room" "$native" "$imports"
  fi
done
printf '%-14s %8d %8d %6d %10s %8d  (native: %d of the fifteen built)\n' "all fifteen" "$total" "$total_limit" \
  $((total_limit - total)) "" "$native_total" "$native_count"
# The examples: each reported, those with a limit held to it.
for f in "$bin"/examples/*.exe; do
  [ -e "$f" ] || continue
  name=$(basename "$f")
  bytes=$(stat -c %s "$f")
  if [ -n "${example_limit[$name]:-}" ]; then
    room=$((example_limit[$name] - bytes))
    printf '%-14s %8d %8d %6d %10s %8s  (example)\n' "$name" "$bytes" "${example_limit[$name]}" "$room" "" \
      "$(native_bytes "$native_bin/examples/$name")"
    if [ $room -lt 0 ]; then echo "FAIL example $name is $((-room)) bytes over its limit"; status=1; fi
  else
    printf '%-14s %8d %8s %6s %10s %8s  (example)\n' "$name" "$bytes" - - "" "$(native_bytes "$native_bin/examples/$name")"
  fi
done
for name in "${!example_limit[@]}"; do
  [ -e "$bin/examples/$name" ] || { echo "FAIL example $name was not built"; status=1; }
done
for name in "${!limit[@]}"; do
  [ -e "$bin/$name" ] || { echo "FAIL $name was not built"; status=1; }
done
if [ $total -gt $total_limit ]; then echo "FAIL the fifteen are $((total - total_limit)) bytes over"; status=1; fi
exit $status
