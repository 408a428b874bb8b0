#!/usr/bin/env bash
# Usage: check_install.sh BUILD_DIR
# An installed compiler is whole and can move: installed into a fresh folder,
# that folder moved elsewhere (into a path with a blank), it compiles hello
# and the program runs under Wine; no installed file names the checkout or
# the build folder, and the installed kit names no absolute path but the
# system's tools. And the Windows compiler, installed as the Windows package
# carries it (no C++ compiler in its kit), builds hello under Wine by itself.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?build folder}" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
fail() { echo "FAIL $*"; status=1; }

"$root/scripts/install/install.sh" "$build" "$scratch/first"
moved="$scratch/moved here/tessaric"
mkdir -p "$(dirname "$moved")"
mv "$scratch/first" "$moved"

named=$(grep -rlF -e "$root" -e "$build" "$moved" || true)
[ -z "$named" ] || fail "installed files name the checkout or the build: $named"
kit="$moved/lib/tessaric/tessaric-kit.txt"
[ -f "$kit" ] || fail "no kit in lib/tessaric"
while IFS= read -r line; do
  case $line in
    "#"*|"") ;;
    cxx=/usr/*|dlltool=/usr/*|windres=/usr/*) ;;
    *=/*|*" /"*) fail "the installed kit names an absolute path: $line" ;;
  esac
done <"$kit"

# hello, compiled by the moved copy alone, in a folder of its own.
work="$scratch/work"
mkdir -p "$work"
cp "$root/examples/hello/hello.bas" "$work/"
if env -u TESSARIC_KIT "$moved/bin/tessaric" "$work/hello.bas" -o "$work/hello.exe"; then
  # Standard input a file: the closing key wait reads its end instead of a key.
  output=$(cd "$work" && wine hello.exe </dev/null | od -c)
  expected=$(printf 'Hello, world!\r\nPress a key to continue...\r\n' | od -c)
  [ "$output" = "$expected" ] || fail "hello printed something else:
$output"
else
  fail "the moved copy did not compile hello"
fi

# The Windows compiler, from a folder Wine reaches through its own drive.
windows="$scratch/windows copy"
"$root/scripts/install/install.sh" "$build" "$windows" windows >/dev/null
wwork="$scratch/wwork"
mkdir -p "$wwork"
cp "$root/examples/hello/hello.bas" "$wwork/"
if (cd "$wwork" && env -u TESSARIC_KIT wine "$windows/bin/tessaric.exe" hello.bas </dev/null); then
  output=$(cd "$wwork" && wine hello.exe </dev/null | od -c)
  [ "$output" = "$expected" ] || fail "hello built by tessaric.exe printed something else:
$output"
else
  fail "tessaric.exe did not compile hello"
fi

[ $status -eq 0 ] && echo "ok: installed, moved to '$moved', compiled and ran hello; tessaric.exe built hello too"
exit $status
