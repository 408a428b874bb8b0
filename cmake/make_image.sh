#!/usr/bin/env bash
# Usage: make_cursor.sh ART CUR
# Turns a text-art cursor (a HOTSPOT line and 32 lines of 32 characters, one a
# pixel; lines starting with # are comments) into a 16-colour .cur file.
set -euo pipefail
art=$1 out=$2
size=32

# The standard 16-colour palette as blue, green, red; a pixel's character is
# its place in this list, "." is transparent.
characters=krgybmcsSRGYBMCW
palette=(0 0 0  0 0 128  0 128 0  0 128 128  128 0 0  128 0 128  128 128 0  192 192 192
         128 128 128  0 0 255  0 255 0  0 255 255  255 0 0  255 0 255  255 255 0  255 255 255)

rows=() hotspot=()
while IFS= read -r line; do
  case $line in
    '#'*|'') ;;
    HOTSPOT*) read -r _ hx hy <<<"$line"; hotspot=("$hx" "$hy") ;;
    *) [ ${#line} -eq $size ] || { echo "make_cursor: a row of ${#line} pixels" >&2; exit 1; }
       rows+=("$line") ;;
  esac
done <"$art"
[ ${#rows[@]} -eq $size ] || { echo "make_cursor: ${#rows[@]} rows" >&2; exit 1; }
[ ${#hotspot[@]} -eq 2 ] || { echo "make_cursor: no HOTSPOT line" >&2; exit 1; }

bytes=""
emit() { for v in "$@"; do bytes+="\\$((v >> 6 & 7))$((v >> 3 & 7))$((v & 7))"; done; }
word() { emit $(($1 & 255)) $((($1 >> 8) & 255)); }
dword() { word $(($1 & 65535)); word $((($1 >> 16) & 65535)); }

colour_of() {  # character -> palette index in $index; transparent pixels are 0
  local c=$1
  if [ "$c" = . ]; then index=0; return; fi
  local prefix=${characters%%"$c"*}
  [ ${#prefix} -lt ${#characters} ] || { echo "make_cursor: unknown pixel '$c'" >&2; exit 1; }
  index=${#prefix}
}

# Colour bits, 4 a pixel, and the transparency mask, 1 a pixel; both bottom row first.
colours=() mask=()
for ((y = size - 1; y >= 0; y--)); do
  row=${rows[$y]}
  for ((x = 0; x < size; x += 2)); do
    colour_of "${row:$x:1}"; high=$index
    colour_of "${row:$((x + 1)):1}"
    colours+=($((high << 4 | index)))
  done
  for ((x = 0; x < size; x += 8)); do
    bits=0
    for ((i = 0; i < 8; i++)); do
      [ "${row:$((x + i)):1}" = . ] && bits=$((bits | 128 >> i))
    done
    mask+=("$bits")
  done
done

header=40 colour_table=$((16 * 4))
image=$((header + colour_table + ${#colours[@]} + ${#mask[@]}))
word 0; word 2; word 1                                   # a cursor file of one image
emit $size $size 16 0; word "${hotspot[0]}"; word "${hotspot[1]}"
dword $image; dword 22                                   # its size and where it starts
dword $header; dword $size; dword $((2 * size))          # colour and mask rows stacked
word 1; word 4; dword 0; dword $((image - header - colour_table))
dword 0; dword 0; dword 16; dword 0
for ((i = 0; i < 48; i += 3)); do emit "${palette[@]:$i:3}" 0; done
emit "${colours[@]}" "${mask[@]}"
printf "$bytes" >"$out"
