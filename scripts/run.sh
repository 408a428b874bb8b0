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

showcase_one() {  # name folder kind; writes into $out
  local name=$1 folder=$2 kind=$3
  wine "$(winpath "$build/scripts/showcase/showcase_driver.exe")" "$kind" \
    "$(winpath "$build/bin/$name.exe")" "$(winpath "$folder")" "$(winpath "$out/$name")" \
    </dev/null >/dev/null 2>&1 || true
  [ -f "$out/$name.bmp" ] && convert "$out/$name.bmp" "$out/$name.png" && rm -f "$out/$name.bmp"
  return 0
}

html_escape() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g'; }

write_index() {
  {
    echo '<!DOCTYPE html><html><head><meta charset="windows-1252"><title>Tessaric showcase</title>'
    echo '<style>body{font-family:sans-serif;margin:2em}section{margin-bottom:2.5em}pre{background:#111;color:#ddd;padding:1em;display:inline-block}</style></head><body>'
    echo '<h1>Tessaric showcase</h1>'
    for name in "$@"; do
      echo "<section><h2>$name</h2>"
      [ -f "$out/$name.png" ] && echo "<img src=\"$name.png\" alt=\"$name\">"
      [ -f "$out/$name.txt" ] && { echo '<h3>Console</h3><pre>'; tr -d '\r' <"$out/$name.txt" | html_escape; echo '</pre>'; }
      [ -f "$out/$name.boxes.txt" ] && { echo '<h3>Message boxes</h3><pre>'; tr -d '\r' <"$out/$name.boxes.txt" | html_escape; echo '</pre>'; }
      [ -f "$out/$name.exit" ] && echo "<p>Exit code $(cat "$out/$name.exit")</p>"
      echo '</section>'
    done
    echo '</body></html>'
  } >"$out/index.html"
}

run_showcase() {
  source "$here/wine-env.sh" "$build"
  out="$build/showcase"
  rm -rf "$out" && mkdir -p "$out"
  local shown=()
  for exe in "$build"/bin/*.exe; do
    [ -e "$exe" ] || continue
    local name; name=$(basename "$exe" .exe)
    load_conf "$name"
    [ "$KIND" = library ] && continue
    local folder; folder=$(prepare_folder "$name")
    map_drive_d
    echo "showcase: $name"
    showcase_one "$name" "$folder" "$KIND"
    shown+=("$name")
  done
  DRIVE_D="" map_drive_d
  write_index "${shown[@]}"
  echo "showcase written to $out/index.html"
}

run_program() {
  local name=$1
  [ -f "$build/bin/$name.exe" ] || { echo "no program $name in $build/bin" >&2; exit 1; }
  source "$here/wine-env.sh" "$build"
  load_conf "$name"
  local folder; folder=$(prepare_folder "$name")
  map_drive_d
  local exe; exe=$(winpath "$build/bin/$name.exe")
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
    showcase_one "$name" "$folder" gui
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
