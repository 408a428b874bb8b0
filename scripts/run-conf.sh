# Sourced by the scripts that set up programs' run folders (run.sh, the
# package); they set $root to the source tree first.

# load_conf NAME: reads samples/NAME/run.conf into KIND (console, gui or
# library), FILES (the run folder's files as name=source pairs, sources
# relative to the tree) and DRIVE_D (a folder of the tree the program reads as
# drive D:).
load_conf() {
  KIND=console FILES="" DRIVE_D=""
  local conf="$root/samples/$1/run.conf"
  [ -f "$conf" ] && source "$conf"
  return 0
}

# copy_run_files FOLDER: copies the files FILES names into FOLDER.
copy_run_files() {
  local pair
  for pair in $FILES; do cp "$root/${pair#*=}" "$1/${pair%%=*}"; done
}
