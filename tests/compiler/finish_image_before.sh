#!/usr/bin/env bash
# The finishing step as it was before cmake/finish_image.cpp, kept as the
# reference of the bytes that the program must make (finish_test.cpp runs both
# on the same images). It reads every byte of the image through od and awk, so
# it takes minutes on an image with hundreds of megabytes of zeros.
# Usage: finish_image_before.sh IMAGE [MAP]
# Completes a module linked with image_layout.ld, in place:
# - the zero bytes at the end of the writable section (its zero-initialised
#   data) leave the file: the section's raw size ends at its last non-zero byte,
#   rounded up to the file alignment, and the loader zero-fills the rest up to
#   its virtual size, as for any section whose raw data is shorter;
# - a library's export directory entry: the linker fills it only for a section
#   named .edata, so it is taken from the link map (MAP), where the export data
#   shows as the input section .edata;
# - the checksum, computed again over the final bytes.
set -euo pipefail
image=${1:?image} map=${2:-}

read32() { od -An -v -tu4 -j "$1" -N 4 "$image" | tr -d ' '; }
read16() { od -An -v -tu2 -j "$1" -N 2 "$image" | tr -d ' '; }
write32() {
  local v=$2
  printf "$(printf '\\%03o' $((v & 255)) $((v >> 8 & 255)) $((v >> 16 & 255)) $((v >> 24 & 255)))" |
    dd of="$image" bs=1 seek="$1" conv=notrunc status=none
}

pe=$(read32 60)
sections=$(read16 $((pe + 6)))
optional=$((pe + 24))
table=$((optional + $(read16 $((pe + 20)))))
base=$(read32 $((optional + 28)))
alignment=$(read32 $((optional + 36)))
initialised_size=$((optional + 8))
checksum=$((optional + 64))
export_entry=$((optional + 96))

for ((i = 0; i < sections; i++)); do
  header=$((table + 40 * i))
  if (( ($(read32 $((header + 36))) & 0x80000000) == 0 )); then continue; fi
  raw=$(read32 $((header + 16)))
  start=$(read32 $((header + 20)))
  used=$(od -An -v -tu1 -j "$start" -N "$raw" "$image" |
    awk '{ for (i = 1; i <= NF; i++) { n++; if ($i != 0) last = n } } END { print last + 0 }')
  kept=$(( (used + alignment - 1) / alignment * alignment ))
  cut=$((raw - kept))
  if (( cut <= 0 )); then continue; fi
  { head -c $((start + kept)) "$image"; tail -c +$((start + raw + 1)) "$image"; } >"$image.tmp"
  mv "$image.tmp" "$image"
  write32 $((header + 16)) $kept
  for ((j = 0; j < sections; j++)); do
    other=$((table + 40 * j + 20))
    position=$(read32 $other)
    if (( position > start )); then write32 $other $((position - cut)); fi
  done
  write32 $initialised_size $(( $(read32 $initialised_size) - cut ))
done

if [ -n "$map" ]; then
  read -r address size < <(awk '$1 == ".edata" && $2 ~ /^0x/ { print $2, $3 }' "$map") || true
  if [ -n "${address:-}" ]; then
    write32 $export_entry $((address - base))
    write32 $((export_entry + 4)) $((size))
  fi
fi

# Sum of the file's 16-bit words with the carries folded back in, skipping the
# checksum itself, plus the file's length.
sum=$(od -An -v -tu2 "$image" | awk -v skip=$((checksum / 2)) '
  { for (i = 1; i <= NF; i++) {
      if (n != skip && n != skip + 1) { s += $i; s = s % 65536 + int(s / 65536) }
      n++ } }
  END { print s }')
write32 $checksum $((sum + $(stat -c %s "$image")))
