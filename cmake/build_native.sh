#!/usr/bin/env bash
# Usage: build_native.sh STATUS COMPILER ARGUMENTS... -o OUTPUT
# Builds a program through the compiler's native back end beside its build
# through C++, for the size report and the package's check. STATUS is written
# either way: "built", or the compiler's message where the native back end
# cannot build the program yet (exit code 3), in which case OUTPUT is removed.
# Any other failure fails the build.
set -uo pipefail
status=$1
shift
output=${*: -1}
message=$("$@" --backend native 2>&1)
code=$?
case $code in
  0) echo built >"$status" ;;
  3) rm -f "$output"; printf 'refused: %s\n' "$(head -n 1 <<<"$message")" >"$status" ;;
  *) printf '%s\n' "$message" >&2; exit "$code" ;;
esac
