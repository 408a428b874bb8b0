# Sourced by the scripts that set up programs' run folders (run.sh, the
# package); they set $root to the source tree first.

# source_folder NAME: the folder of the tree that holds the program's BASIC
# source and run.conf, samples/NAME for a deliverable, examples/NAME for an
# example; empty when there is neither.
source_folder() {
  local dir
  for dir in samples examples; do
    [ -d "$root/$dir/$1" ] && { echo "$dir/$1"; return 0; }
  done
  return 0
}

# load_conf NAME: reads the program's run.conf into KIND (console, gui or
# library), FILES (the run folder's files as name=source pairs, sources
# relative to the tree), DRIVE_D (a folder of the tree the program reads as
# drive D:) and TYPED (lines the showcase types at its console, each ended by
# "|", which stands for Enter).
load_conf() {
  KIND=console FILES="" DRIVE_D="" TYPED=""
  local folder; folder=$(source_folder "$1")
  local conf="$root/$folder/run.conf"
  [ -n "$folder" ] && [ -f "$conf" ] && source "$conf"
  return 0
}

# copy_run_files FOLDER: copies the files FILES names into FOLDER.
copy_run_files() {
  local pair
  for pair in $FILES; do cp "$root/${pair#*=}" "$1/${pair%%=*}"; done
}
