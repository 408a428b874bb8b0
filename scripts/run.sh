#!/usr/bin/env bash
# Usage: run.sh BUILD_DIR [PROGRAM]
# With a program: runs it under Wine in its own run folder, on $DISPLAY when set
# (else headless, recording what it shows). Without: runs every built program
# headless and writes BUILD_DIR/showcase/ with transcripts, screenshots and an index.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$(cd "${1:?build folder}" && pwd)
program=${2:-}

source "$here/run-conf.sh"

# The program's run folder, holding the files its run.conf names.
prepare_folder() {
  local folder="$build/run/$1"
  rm -rf "$folder" && mkdir -p "$folder"
  copy_run_files "$folder"
  echo "$folder"
}

winpath() { echo "Z:${1//\//\\}"; }

# Maps DRIVE_D (if any) as drive D: of the prefix for the duration of the run.
map_drive_d() {
  local link="$WINEPREFIX/dosdevices/d:"
  rm -f "$link"
  [ -n "$DRIVE_D" ] && ln -s "$root/$DRIVE_D" "$link"
  return 0
}

showcase_one() {  # name exe folder kind; writes into $out
  local name=$1 exe=$2 folder=$3 kind=$4
  wine "$(winpath "$build/scripts/showcase/showcase_driver.exe")" "$kind" \
    "$(winpath "$exe")" "$(winpath "$folder")" "$(winpath "$out/$name")" "$TYPED" \
    </dev/null >/dev/null 2>&1 || true
  [ -f "$out/$name.bmp" ] && convert "$out/$name.bmp" "$out/$name.png" && rm -f "$out/$name.bmp"
  return 0
}

# The built program of that name: a deliverable or an example.
program_file() {
  local file
  for file in "$build/bin/$1.exe" "$build/bin/$1.dll" "$build/bin/examples/$1.exe"; do
    [ -f "$file" ] && { echo "$file"; return 0; }
  done
  return 0
}

html_escape() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g'; }

# Each program's section: what it showed on the left, the BASIC source it was
# built from on the right.
write_index() {
  {
    echo '<!DOCTYPE html><html><head><meta charset="windows-1252"><title>Tessaric showcase</title>'
    echo '<style>body{font-family:sans-serif;margin:2em}section{margin-bottom:2.5em}'
    echo '.row{display:flex;gap:2em;align-items:flex-start}pre{background:#111;color:#ddd;padding:1em}'
    echo 'pre.source{background:#f4f4f4;color:#111;max-height:40em;overflow:auto}</style></head><body>'
    echo '<h1>Tessaric showcase</h1>'
    for name in "$@"; do
      echo "<section><h2>$name</h2><div class=\"row\"><div>"
      [ -f "$out/$name.png" ] && echo "<img src=\"$name.png\" alt=\"$name\">"
      [ -f "$out/$name.txt" ] && { echo '<h3>Console</h3><pre>'; tr -d '\r' <"$out/$name.txt" | html_escape; echo '</pre>'; }
      load_conf "$name"
      # A transcript holds no echo of what was typed: the lines are shown apart.
      [ -n "$TYPED" ] && { echo '<h3>Typed at the console</h3><pre>'; printf '%s' "$TYPED" | tr '|' '\n' | sed 's/^$/(Enter)/' | html_escape; echo '</pre>'; }
      [ -f "$out/$name.boxes.txt" ] && { echo '<h3>Message boxes</h3><pre>'; tr -d '\r' <"$out/$name.boxes.txt" | html_escape; echo '</pre>'; }
      [ -f "$out/$name.exit" ] && echo "<p>Exit code $(cat "$out/$name.exit")</p>"
      [ -f "$out/$name.library" ] && echo "<p>A library: the programs that call it show what it does.</p>"
      echo '</div><div>'
      local folder; folder=$(source_folder "$name")
      for source in "$root/$folder"/*.bas; do
        [ -f "$source" ] || continue
        echo "<h3>$(basename "$source")</h3><pre class=\"source\">"; tr -d '\r' <"$source" | html_escape; echo '</pre>'
      done
      echo '</div></div></section>'
    done
    echo '</body></html>'
  } >"$out/index.html"
}

run_showcase() {
  source "$here/wine-env.sh" "$build"
  out="$build/showcase"
  rm -rf "$out" && mkdir -p "$out"
  local shown=()
  for exe in "$build"/bin/*.exe "$build"/bin/*.dll "$build"/bin/examples/*.exe; do
    [ -e "$exe" ] || continue
    local name; name=$(basename "${exe%.*}")
    load_conf "$name"
    shown+=("$name")
    if [ "$KIND" = library ]; then touch "$out/$name.library"; continue; fi
    local folder; folder=$(prepare_folder "$name")
    map_drive_d
    echo "showcase: $name"
    showcase_one "$name" "$exe" "$folder" "$KIND"
  done
  DRIVE_D="" map_drive_d
  write_index "${shown[@]}"
  echo "showcase written to $out/index.html"
}

run_program() {
  local name=$1
  local file; file=$(program_file "$name")
  [ -n "$file" ] || { echo "no program $name in $build/bin or $build/bin/examples" >&2; exit 1; }
  source "$here/wine-env.sh" "$build"
  load_conf "$name"
  [ "$KIND" = library ] && { echo "$name is a library: run a program that calls it" >&2; exit 1; }
  local folder; folder=$(prepare_folder "$name")
  map_drive_d
  local exe; exe=$(winpath "$file")
  local code=0
  cd "$folder"
  if [ "$KIND" = console ]; then
    if [ -t 0 ]; then
      # A terminal: one key, read raw, becomes the program's standard input.
      local saved; saved=$(stty -g)
      stty -icanon -echo min 1
      { dd bs=1 count=1 2>/dev/null; } | wine "$exe" || code=$?
      stty "$saved"
    else
      wine "$exe" || code=$?
    fi
  elif [ "${HEADLESS:-0}" = 1 ]; then
    out="$build/showcase"; mkdir -p "$out"
    showcase_one "$name" "$file" "$folder" gui
    code=$(cat "$out/$name.exit")
    echo "screenshot: $out/$name.png"
    [ -f "$out/$name.boxes.txt" ] && tr -d '\r' <"$out/$name.boxes.txt"
  else
    wine "$exe" || code=$?
  fi
  DRIVE_D="" map_drive_d
  echo "$name ended with exit code $code"
}

if [ -z "$program" ]; then
  "$here/wine-session.sh" "$build" "$0" "$build" --showcase
elif [ "$program" = --showcase ]; then
  run_showcase
elif [ "$program" = --one ]; then
  run_program "$3"
else
  # On the caller's display when there is one, else headless with a screenshot.
  if [ -n "${DISPLAY:-}" ]; then
    "$here/wine-session.sh" "$build" --use-display "$0" "$build" --one "$program"
  else
    HEADLESS=1 "$here/wine-session.sh" "$build" "$0" "$build" --one "$program"
  fi
fi
