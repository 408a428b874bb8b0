#!/usr/bin/env bash
# Build output never enters the repository: no object files, archives,
# programs or libraries are tracked. Outside a git checkout (the package)
# there is nothing to check.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if ! git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  echo "not a git checkout: nothing to check"
  exit 0
fi
tracked=$(git -C "$root" ls-files -- '*.o' '*.obj' '*.a' '*.exe' '*.dll' '*.gch')
if [ -n "$tracked" ]; then
  echo "build output is tracked by git:"
  echo "$tracked"
  exit 1
fi
echo "no build output is tracked"
