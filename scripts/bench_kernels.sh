#!/usr/bin/env bash
# Usage: bench_kernels.sh BUILD_DIR — each speed kernel as a compiled BASIC
# program (through C++, the build's, and through the native back end, built
# here) and as C (-O2), run in turn in the caller's Wine session, five times
# each (BENCH_RUNS sets how many); each prints its own time by the same clock
# and a checksum. Prints the best times, the ratios to C and of the native
# program to the C++ one, and whether the checksums agree. The best of
# several runs is the one least disturbed by whatever else the machine was
# doing.
set -euo pipefail
build=${1:?build folder}
dir="$build/bench"
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${BENCH_RUNS:-5}
limit=${BENCH_NATIVE_LIMIT:-60}
kernels=(intloop sieve calls subcalls wordcount append lines matmul numtext)
mkdir -p "$dir/native"
printf '%-10s %10s %10s %10s %8s %13s  %s\n' kernel basic-s native-s c-s basic/c native/basic checksums
status=0
best() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b + 0 < a + 0) ? b : a }'; }
ratio() { awk -v b="$1" -v c="$2" 'BEGIN { if (b != "" && c > 0) printf "%.2f", b / c; else print "-" }'; }
for k in "${kernels[@]}"; do
  bt="" nt="" ct="" ns="" slow=""
  native=yes
  "$build/tessaric" --backend native "$root/tests/bench/kernels/$k.bas" -o "$dir/native/$k.exe" >/dev/null 2>&1 || native=""
  for ((run = 0; run < runs; ++run)); do
    read -r _ t bs < <(cd "$dir" && wine "$k.exe" </dev/null | head -n1 | tr -d '\r')
    bt=$(best "$bt" "$t")
    if [ -n "$native" ]; then
      # A native program that takes too long is not waited for: it shows as
      # over the limit.
      t="" ns=""
      read -r _ t ns < <(cd "$dir" && timeout "$limit" wine "native/$k.exe" </dev/null | head -n1 | tr -d '\r') || true
      if [ -z "$t" ]; then
        native="" slow=yes
      else
        nt=$(best "$nt" "$t")
      fi
    fi
    read -r _ t cs < <(cd "$dir" && wine kernels.exe "$k" </dev/null | tr -d '\r')
    ct=$(best "$ct" "$t")
  done
  same=agree
  if [ "$bs" != "$cs" ]; then same="DIFFER ($bs against $cs)"; status=1; fi
  if [ -n "$native" ] && [ -z "$slow" ] && [ "$ns" != "$cs" ]; then same="native DIFFERS ($ns against $cs)"; status=1; fi
  native_ratio=$(ratio "$nt" "$bt")
  [ -n "$nt" ] && nt=$(awk -v t="$nt" 'BEGIN { printf "%.3f", t }')
  if [ -n "$slow" ]; then
    nt=">$limit" native_ratio="-"
    same="$same (the native program took over $limit s)"
  elif [ -z "$native" ]; then
    same="$same (the native back end cannot build it yet)"
  fi
  printf '%-10s %10.3f %10s %10.3f %8s %13s  %s\n' "$k" "$bt" "${nt:--}" "$ct" "$(ratio "$bt" "$ct")" "$native_ratio" "$same"
done
exit $status
