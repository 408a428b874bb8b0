#!/usr/bin/env bash
# Usage: make_image.sh ART OUT
# Turns text art into a 16-colour image: OUT ending in .cur makes a cursor (the
# art then needs a HOTSPOT line), .ico an icon, .bmp a bitmap. The art is one
# character a pixel, top row first, every row as wide as a multiple of 8
# pixels; lines starting with # are comments.
set -euo pipefail
art=$1 out=$2

# The standard 16-colour palette as blue, green, red; a pixel's character is
# its place in this list, "." is transparent (black in a bitmap).
characters=krgybmcsSRGYBMCW
palette=(0 0 0  0 0 128  0 128 0  0 128 128  128 0 0  128 0 128  128 128 0  192 192 192
         128 128 128  0 0 255  0 255 0  0 255 255  255 0 0  255 0 255  255 255 0  255 255 255)

fail() { echo "make_image: $*" >&2; exit 1; }

rows=() hotspot=()
while IFS= read -r line; do
  case $line in
    '#'*|'') ;;
    HOTSPOT*) read -r _ hx hy <<<"$line"; hotspot=("$hx" "$hy") ;;
    *) rows+=("$line") ;;
  esac
done <"$art"
height=${#rows[@]}
width=${#rows[0]}
[ $height -gt 0 ] && [ $((width % 8)) -eq 0 ] || fail "rows must be a multiple of 8 pixels wide"

bytes=""
emit() { for v in "$@"; do bytes+="\\$((v >> 6 & 7))$((v >> 3 & 7))$((v & 7))"; done; }
word() { emit $(($1 & 255)) $((($1 >> 8) & 255)); }
dword() { word $(($1 & 65535)); word $((($1 >> 16) & 65535)); }

colour_of() {  # character -> palette index in $index; transparent pixels are 0
  local c=$1
  if [ "$c" = . ]; then index=0; return; fi
  local prefix=${characters%%"$c"*}
  [ ${#prefix} -lt ${#characters} ] || fail "unknown pixel '$c'"
  index=${#prefix}
}

# Colour bits, 4 a pixel, and the transparency mask, 1 a pixel; both bottom
# row first, each row padded to 32 bits.
colours=() mask=()
for ((y = height - 1; y >= 0; y--)); do
  row=${rows[$y]}
  [ ${#row} -eq $width ] || fail "row $y is ${#row} pixels wide, not $width"
  for ((x = 0; x < width; x += 2)); do
    colour_of "${row:$x:1}"; high=$index
    colour_of "${row:$((x + 1)):1}"
    colours+=($((high << 4 | index)))
  done
  for ((x = width / 2; x % 4 != 0; x++)); do colours+=(0); done
  for ((x = 0; x < width; x += 8)); do
    bits=0
    for ((i = 0; i < 8; i++)); do
      [ "${row:$((x + i)):1}" = . ] && bits=$((bits | 128 >> i))
    done
    mask+=("$bits")
  done
  for ((x = width / 8; x % 4 != 0; x++)); do mask+=(0); done
done

header=40 colour_table=$((16 * 4))
info() {  # the bitmap header, the palette and the colour bits
  dword $header; dword $width; dword $1; word 1; word 4; dword 0; dword $2
  dword 0; dword 0; dword 16; dword 0
  for ((i = 0; i < 48; i += 3)); do emit "${palette[@]:$i:3}" 0; done
  emit "${colours[@]}"
}

case $out in
  *.bmp)
    emit 66 77; dword $((14 + header + colour_table + ${#colours[@]})); dword 0
    dword $((14 + header + colour_table))
    info "$height" ${#colours[@]} ;;
  *.cur|*.ico)
    # One image; a cursor's directory entry holds the hot spot where an icon's
    # holds planes and bits per pixel. The colour rows and the mask rows are
    # stacked, so the header gives twice the height.
    if [[ $out == *.cur ]]; then
      [ ${#hotspot[@]} -eq 2 ] || fail "a cursor needs a HOTSPOT line"
      type=2 spot=("${hotspot[@]}")
    else
      type=1 spot=(1 4)
    fi
    image=$((header + colour_table + ${#colours[@]} + ${#mask[@]}))
    word 0; word $type; word 1
    emit $((width & 255)) $((height & 255)) 16 0; word "${spot[0]}"; word "${spot[1]}"
    dword $image; dword 22
    info $((2 * height)) $((${#colours[@]} + ${#mask[@]}))
    emit "${mask[@]}" ;;
  *) fail "$out: make a .cur, .ico or .bmp" ;;
esac
printf "$bytes" >"$out"
