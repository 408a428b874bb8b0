#!/usr/bin/env bash
# Usage: check_package.sh MANIFEST ZIP
# The Windows package as a user gets it. Its listing must hold what the build
# declares (scripts/dist) and nothing the build makes for itself: no objects,
# CMake files or Wine prefix. Then, unpacked in a clean folder outside the
# source tree, with Wine's drive Z: (the Unix tree, the repository with it)
# hidden, `wine cmd /c run-tests.cmd` must pass every test program and exit 0.
# Runs in the suite's Wine session; no other Windows program may run meanwhile.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$1"
zip_file=$2
root=$ROOT
source "$here/../../scripts/run-conf.sh"

failures=0
problem() { echo "package: $*"; failures=$((failures + 1)); }

expect_same() {  # part expected actual
  if [ "$2" != "$3" ]; then
    problem "$1 differs from what the build declares (< declared, > packaged):"
    diff <(echo "$2") <(echo "$3") | grep '^[<>]' || true
  fi
}

base_names() { for file in "$@"; do basename "$file"; done | sort; }
program_names() { for file in "$@"; do name=$(basename "$file"); echo "${name%.*}"; done; }

listing=$(unzip -Z1 "$zip_file")
files=$(grep -v '/$' <<<"$listing")

while IFS= read -r entry; do
  if [[ ! $entry =~ ^tessaric/(bin/[^/]+|bin/examples/[^/]+|run/.+|source/.+|tests/.+|run-tests\.cmd|README\.txt)$ ]] &&
     [[ ! $entry =~ ^tessaric/compiler/(bin/tessaric\.exe|lib/tessaric/.+|share/doc/tessaric/language\.md)$ ]]; then
    problem "unexpected file $entry"
  fi
  # The compiler's kit is the runtime's archive and objects, as the build makes them.
  if [[ ! $entry =~ ^tessaric/compiler/lib/tessaric/ ]] && [[ $entry =~ \.(o|obj|a|lib|cmake|d|rsp|pdb|reg)$|CMakeFiles/|CMakeCache\.txt|Makefile$|/wine/|dosdevices/|drive_c/|test-tmp/ ]]; then
    problem "a file of the build itself: $entry"
  fi
done <<<"$files"

expect_same "bin/" "$(base_names "${DELIVERABLES[@]}")" "$(sed -n 's,^tessaric/bin/\([^/]*\)$,\1,p' <<<"$files" | sort)"
expect_same "bin/examples/" "$(base_names "${EXAMPLES[@]}")" "$(sed -n 's,^tessaric/bin/examples/,,p' <<<"$files" | sort)"
expect_same "tests/ (programs)" "$(base_names "${TEST_PROGRAMS[@]}")" \
  "$(sed -n 's,^tessaric/tests/\([^/]*\)$,\1,p' <<<"$files" | sort)"
expect_same "tests/fixtures/" "$(for file in "${FIXTURE_FILES[@]}"; do echo "${file#"$FIXTURE_DIR"/}"; done | sort)" \
  "$(sed -n 's,^tessaric/tests/fixtures/,,p' <<<"$files" | sort)"
while IFS= read -r relative; do
  if [[ ! -f $root/$relative || $relative =~ ^build ]]; then problem "tests/source/$relative is no source file"; fi
done < <(sed -n 's,^tessaric/tests/source/,,p' <<<"$files")
expect_same "run/" "$(for name in $(program_names "${DELIVERABLES[@]}" "${EXAMPLES[@]}"); do
    load_conf "$name"; [ "$KIND" = library ] || echo "$name"; done | sort)" \
  "$(sed -n 's,^tessaric/run/\([^/]*\)/.*,\1,p' <<<"$listing" | sort -u)"
# Each program's source, as the build compiled it.
for name in $(program_names "${DELIVERABLES[@]}" "${EXAMPLES[@]}"); do
  folder=$(source_folder "$name")
  unzip -p "$zip_file" "tessaric/source/$name/$name.bas" 2>/dev/null | cmp -s - "$root/$folder/$name.bas" ||
    problem "source/$name/$name.bas is not the source $folder was built from"
done
readme=$(unzip -p "$zip_file" tessaric/README.txt)
for name in compiler/bin/tessaric.exe compiler/lib/tessaric/tessaric-kit.txt compiler/share/doc/tessaric/language.md; do
  grep -qx "tessaric/$name" <<<"$files" || problem "the package holds no $name"
done
for file in $(base_names "${DELIVERABLES[@]}"); do
  grep -qF "$file" <<<"$readme" || problem "README.txt does not describe $file"
done

# A clean folder outside the source tree, seen by Wine as drive P: while Z: is away.
work=$(mktemp -d "${TMPDIR:-/tmp}/tessaric-package.XXXXXX")
drives=$WINEPREFIX/dosdevices
restore() {
  rm -f "$drives/p:"
  [ -e "$drives/z:" ] || ln -s / "$drives/z:"
  rm -rf "$work"
}
trap restore EXIT
trap 'exit 1' INT TERM HUP
unzip -q "$zip_file" -d "$work"
ln -s "$work" "$drives/p:"
rm -f "$drives/z:"

code=0
output=$(cd "$work/tessaric" && timeout 800 wine cmd /c run-tests.cmd </dev/null 2>&1) || code=$?
output=$(tr -d '\r' <<<"$output")
echo "$output"
# Every test program passed, and each end-to-end one again against the
# programs the package's compiler rebuilt ("<name> rebuilt").
while IFS= read -r name; do
  if ! grep -qx "$name passed" <<<"$output"; then
    problem "$name did not pass; its output:"
    find "$WINEPREFIX/drive_c" -path "*/tessaric-tests/logs/$name.txt" -exec cat {} + | tr -d '\r'
  fi
done < <(program_names "${TEST_PROGRAMS[@]}"; program_names "${TEST_PROGRAMS[@]}" | sed -n 's/^e2e_.*/& rebuilt/p')
# The package's compiler built hello there and hello ran.
if ! grep -qx "compiler passed" <<<"$output"; then
  problem "the package's compiler did not build and run hello; its log:"
  find "$WINEPREFIX/drive_c" -path "*/tessaric-tests/logs/compiler.txt" -exec cat {} + | tr -d '\r'
fi
# Its compiler built again every program that the build's compiler builds
# through the native back end, and refused only the others; the end-to-end
# tests passed against those builds too (the "rebuilt" runs above).
for line in "${BUILD_LINES[@]}"; do
  program=${line%%|*}
  name=${program%.*}
  if [ "$(find "$NATIVE_BIN" -name "$program.status" -exec cat {} +)" = built ]; then
    expected="$name built"
  else
    expected="$name not built yet"
  fi
  if ! grep -qx "$expected" <<<"$output"; then
    problem "the package's compiler did not say \"$expected\"; its log:"
    find "$WINEPREFIX/drive_c" -path "*/tessaric-tests/logs/build-$name.txt" -exec cat {} + | tr -d '\r'
  fi
done
[ "$code" -eq 0 ] || problem "run-tests.cmd ended with exit code $code"

[ $failures -eq 0 ] || { echo "package: $failures problem(s)"; exit 1; }
echo "package: $(wc -l <<<"$files") files checked, every test program passed"
