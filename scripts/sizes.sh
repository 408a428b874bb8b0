#!/usr/bin/env bash
# Usage: sizes.sh BUILD_DIR — each deliverable's file size (deliverables are
# linked stripped) and the libraries its import table names.
set -euo pipefail
bin="${1:?build folder}/bin"
printf '%-14s %8s  %s\n' module bytes imports
for f in "$bin"/*.exe "$bin"/*.dll; do
  [ -e "$f" ] || continue
  imports=$(i686-w64-mingw32-objdump -p "$f" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z' | tr '\n' ' ')
  printf '%-14s %8d  %s\n' "$(basename "$f")" "$(stat -c %s "$f")" "$imports"
done
