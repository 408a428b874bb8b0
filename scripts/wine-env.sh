# Sourced by the scripts that run Windows programs: one private Wine prefix per
# build folder, quiet, and without the Mono and Gecko installers (no network here).
build_dir=$(cd "${1:?build folder}" && pwd)
export WINEPREFIX="$build_dir/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win32
