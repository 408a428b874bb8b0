#!/usr/bin/env bash
# Usage: bench_kernels.sh BUILD_DIR — each speed kernel as a compiled BASIC
# program and as C (-O2), run in turn in the caller's Wine session, five
# times each (BENCH_RUNS sets how many); each prints its own time by the same
# clock and a checksum. Prints the best times, their ratio and whether the
# checksums agree. The best of several runs is the one least disturbed by
# whatever else the machine was doing.
set -euo pipefail
dir="${1:?build folder}/bench"
runs=${BENCH_RUNS:-5}
kernels=(intloop sieve calls subcalls wordcount append lines matmul numtext)
printf '%-10s %10s %10s %8s  %s\n' kernel basic-s c-s ratio checksums
status=0
best() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b + 0 < a + 0) ? b : a }'; }
for k in "${kernels[@]}"; do
  bt="" ct=""
  for ((run = 0; run < runs; ++run)); do
    read -r _ t bs < <(cd "$dir" && wine "$k.exe" </dev/null | head -n1 | tr -d '\r')
    bt=$(best "$bt" "$t")
    read -r _ t cs < <(cd "$dir" && wine kernels.exe "$k" </dev/null | tr -d '\r')
    ct=$(best "$ct" "$t")
  done
  ratio=$(awk -v b="$bt" -v c="$ct" 'BEGIN { if (c > 0) printf "%.2f", b / c; else print "-" }')
  same=agree
  if [ "$bs" != "$cs" ]; then same="DIFFER ($bs against $cs)"; status=1; fi
  printf '%-10s %10.3f %10.3f %8s  %s\n' "$k" "$bt" "$ct" "$ratio" "$same"
done
exit $status
