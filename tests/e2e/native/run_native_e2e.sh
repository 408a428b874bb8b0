#!/usr/bin/env bash
# Builds every sample and example through the native back end into a bin
# folder of its own, laid out as the build's (examples in examples/), and
# the BASIC fixtures that programs.txt lists into a copy of the fixture
# folder, then runs the end-to-end tests of the programs listed there
# against those builds. Fails when a listed program is refused or not built,
# or when its tests fail. Prints each native build's size beside the C++
# path's.
# Usage: run_native_e2e.sh COMPILER SOURCE_DIR BUILD_DIR FIXTURES TMP NAME=DRIVER...
set -u
compiler=$1 source=$2 build=$3 fixtures=$4 tmp=$5
shift 5
declare -A drivers
for d in "$@"; do drivers[${d%%=*}]=${d#*=}; done
here=$(cd "$(dirname "$0")" && pwd)
bin=$build/native/bin
nativeFixtures=$build/native/fixtures
rm -rf "$bin" "$nativeFixtures"
mkdir -p "$bin/examples" "$tmp"
# The fixtures the drivers start beside the BASIC ones (C++ probes, files)
# stay as the build made them; the listed BASIC ones are replaced below.
cp -r "$fixtures" "$nativeFixtures"
status=0
declare -A built
for dir in "$source"/samples/* "$source"/examples/*; do
  name=$(basename "$dir")
  [ -f "$dir/$name.bas" ] || continue
  sources=("$dir/$name.bas")
  [ "$name" = modjoin ] && sources+=("$dir/extmod.bas")
  out=$bin/$name.exe
  grep -qi '^ *OPTION LIBRARY' "$dir/$name.bas" && out=$bin/$name.dll
  cpp=$build/bin/$(basename "$out")
  case "$dir" in "$source"/examples/*) out=$bin/examples/$name.exe; cpp=$build/bin/examples/$name.exe ;; esac
  "$compiler" --backend native "${sources[@]}" -I "$build/samples/$name" -o "$out" >"$tmp/$name.log" 2>&1
  rc=$?
  case $rc in
    0) built[$name]=1
       printf '%-12s native %6d bytes, C++ path %6s bytes\n' "$name" "$(stat -c %s "$out")" \
         "$( [ -f "$cpp" ] && stat -c %s "$cpp" || echo '?')" ;;
    3) printf '%-12s refused: %s\n' "$name" "$(grep -m1 'cannot build this yet' "$tmp/$name.log" || head -1 "$tmp/$name.log")" ;;
    *) echo "FAIL $name: the compiler ended with $rc"; cat "$tmp/$name.log"; status=1 ;;
  esac
done
# A listed name that is no sample or example is a BASIC fixture of the
# end-to-end tests (tests/e2e/*/NAME.bas).
while read -r name driver filter; do
  case "$name" in ''|'#'*) continue ;; esac
  [ -d "$source/samples/$name" ] || [ -d "$source/examples/$name" ] && continue
  fixture=$(ls "$source"/tests/e2e/*/"$name.bas" 2>/dev/null | head -1)
  if [ -z "$fixture" ]; then echo "FAIL no program or fixture $name"; status=1; continue; fi
  file=$name.exe
  grep -qi '^ *OPTION LIBRARY' "$fixture" && file=$name.dll
  out=$nativeFixtures/$file
  cpp=$fixtures/$file
  rm -f "$out"
  "$compiler" --backend native "$fixture" -o "$out" >"$tmp/$name.log" 2>&1
  rc=$?
  case $rc in
    0) built[$name]=1
       printf '%-12s native %6d bytes, C++ path %6s bytes (fixture)\n' "$name" "$(stat -c %s "$out")" \
         "$( [ -f "$cpp" ] && stat -c %s "$cpp" || echo '?')" ;;
    3) printf '%-12s refused: %s\n' "$name" "$(grep -m1 'cannot build this yet' "$tmp/$name.log")" ;;
    *) echo "FAIL $name: the compiler ended with $rc"; cat "$tmp/$name.log"; status=1 ;;
  esac
done <"$here/programs.txt"
declare -A listed
while read -r name driver filter; do
  case "$name" in ''|'#'*) continue ;; esac
  listed[$name]=1
  if [ -z "${built[$name]:-}" ]; then
    echo "FAIL $name is no longer built by the native back end"
    status=1
    continue
  fi
  [ "$driver" = - ] && continue
  path=${drivers[$driver]:-}
  if [ -z "$path" ]; then echo "FAIL no driver $driver for $name"; status=1; continue; fi
  echo "---- $name: $driver --gtest_filter=$filter"
  TESSARIC_BIN=$bin TESSARIC_FIXTURES=$nativeFixtures TESSARIC_TMP=$tmp/$name TESSARIC_SOURCE=$source \
    wine "$path" --gtest_filter="$filter" --gtest_brief=1 </dev/null
  rc=$?
  if [ $rc -ne 0 ]; then echo "FAIL $name: its tests failed on the native build ($rc)"; status=1; fi
done <"$here/programs.txt"
for name in "${!built[@]}"; do
  [ -n "${listed[$name]:-}" ] || echo "note: $name builds natively but programs.txt does not list it"
done
exit $status
