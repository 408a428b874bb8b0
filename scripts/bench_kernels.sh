#!/usr/bin/env bash
# Usage: bench_kernels.sh BUILD_DIR — each speed kernel as a compiled BASIC
# program and as C (-O2), run one after the other in the caller's Wine
# session; each prints its own time by the same clock and a checksum. Prints
# the times, their ratio and whether the checksums agree.
set -euo pipefail
dir="${1:?build folder}/bench"
kernels=(intloop sieve calls subcalls wordcount append lines matmul numtext)
printf '%-10s %10s %10s %8s  %s\n' kernel basic-s c-s ratio checksums
status=0
for k in "${kernels[@]}"; do
  read -r _ bt bs < <(cd "$dir" && wine "$k.exe" </dev/null | head -n1 | tr -d '\r')
  read -r _ ct cs < <(cd "$dir" && wine kernels.exe "$k" </dev/null | tr -d '\r')
  ratio=$(awk -v b="$bt" -v c="$ct" 'BEGIN { if (c > 0) printf "%.2f", b / c; else print "-" }')
  same=agree
  if [ "$bs" != "$cs" ]; then same="DIFFER ($bs against $cs)"; status=1; fi
  printf '%-10s %10.3f %10.3f %8s  %s\n' "$k" "$bt" "$ct" "$ratio" "$same"
done
exit $status
