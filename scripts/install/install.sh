#!/usr/bin/env bash
# Usage: install.sh BUILD_DIR PREFIX [windows]
# Installs the compiler of BUILD_DIR and what it builds with, in a layout that
# can be moved as a whole:
#   PREFIX/bin/tessaric (with "windows": tessaric.exe, the Windows compiler,
#                        and a kit without the C++ compiler and the cross
#                        tools, which Windows does not have)
#   PREFIX/lib/tessaric/tessaric-kit.txt   its paths relative to itself
#   PREFIX/lib/tessaric/...                the files the kit names (kit_files.txt)
#   PREFIX/share/doc/tessaric/language.md
# The compiler finds its kit as ../lib/tessaric/tessaric-kit.txt from its own folder.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:?build folder}" && pwd)
prefix=${2:?install folder}
windows=${3:-}
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
kit=$build/tessaric-kit.txt
compiler=$build/tessaric
[ -n "$windows" ] && compiler=$build/compiler-win32/tessaric.exe
[ -f "$kit" ] && [ -x "$compiler" ] || { echo "install: $build holds no built compiler and kit" >&2; exit 1; }
# The keys of the build through C++ and of the link through ld.
cross_keys=" cxx flags include pch layout finish dlltool windres "

lib=$prefix/lib/tessaric
# The folder is the compiler's alone: nothing of an earlier copy stays.
rm -rf "$lib"
mkdir -p "$prefix/bin" "$lib" "$prefix/share/doc/tessaric"

# How each key's files are installed, from the table.
declare -A how folder
while read -r key h f; do
  [ -z "$key" ] || [ "${key:0:1}" = "#" ] && continue
  how[$key]=$h
  folder[$key]=$f
done <"$here/kit_files.txt"

# Copies what one value names and prints the value the installed kit gives it.
install_value() {
  local key=$1 value=$2 h=${how[$1]} dest=${folder[$1]} names=() path name
  mkdir -p "$lib/$dest"
  for path in $value; do
    case $h in
      files)
        name=$(basename "$path")
        [ -e "$lib/$dest/$name" ] && { echo "install: two files named $dest/$name" >&2; exit 1; }
        cp "$path" "$lib/$dest/$name"
        names+=("$dest/$name") ;;
      folder)
        cp -R "$path/." "$lib/$dest/"
        names+=("$dest") ;;
      headers)
        (cd "$path" && find . -name '*.h' -exec cp --parents {} "$lib/$dest/" \;)
        names+=("$dest") ;;
      *) echo "install: $key: no way to install '$h'" >&2; exit 1 ;;
    esac
  done
  # A file at the top is "./name", so that a program reads as a path of the
  # kit rather than a name on the search path.
  echo "${names[*]}"
}

{
  echo "# Written by make install; the tessaric compiler in ../../bin reads it. Paths are relative to this folder."
  while IFS= read -r line; do
    [ -z "$line" ] || [ "${line:0:1}" = "#" ] && continue
    key=${line%%=*}
    value=${line#*=}
    [ -n "$windows" ] && [[ $cross_keys == *" $key "* ]] && continue
    if [ -n "${how[$key]:-}" ] && [ -n "$value" ]; then
      value=$(install_value "$key" "$value")
    fi
    case $value in
      *"$root"*|*"$build"*) echo "install: the kit's $key names the checkout or the build: $value" >&2; exit 1 ;;
    esac
    echo "$key=$value"
  done <"$kit"
} >"$lib/tessaric-kit.txt.new"
mv "$lib/tessaric-kit.txt.new" "$lib/tessaric-kit.txt"

cp "$compiler" "$prefix/bin/$(basename "$compiler")"
cp "$root/docs/language.md" "$prefix/share/doc/tessaric/language.md"
echo "installed tessaric in $prefix (bin/$(basename "$compiler"), lib/tessaric/, share/doc/tessaric/)"
