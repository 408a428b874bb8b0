#!/usr/bin/env bash
# Installs the Debian packages the project needs: the i686 mingw-w64 cross
# compiler, 32-bit Wine, Xvfb and the X tools the tests and the showcase use,
# and zip for the Windows package.
# Quick and silent when everything is already there.
#
# A package mirror in the middle of a sync can fail `apt-get update` on one
# index; the 32-bit packages then no longer match the 64-bit ones already
# installed and the install cannot be resolved. So the update and the install
# are retried, and an install that still cannot be resolved is tried once more
# with the release's own versions (`-t <codename>`), which resolves it.
set -euo pipefail

packages=(
  cmake make g++ googletest
  g++-mingw-w64-i686 gcc-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386 xvfb xdotool imagemagick x11-utils
  zip unzip
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
attempts=${SETUP_ATTEMPTS:-3}
pause=${SETUP_PAUSE:-20}
log=$(mktemp)
trap 'rm -f "$log"' EXIT

codename=$(. "${SETUP_OS_RELEASE:-/etc/os-release}" 2>/dev/null && echo "${VERSION_CODENAME:-}")

install() {
  $sudo apt-get install -y -qq --no-install-recommends "$@" "${missing[@]}" >"$log" 2>&1
}

for attempt in $(seq 1 "$attempts"); do
  # An update that fails on one index still refreshes the others; the install
  # decides whether what we have is enough.
  $sudo apt-get update -qq >"$log" 2>&1 ||
    echo "setup: apt-get update failed (attempt $attempt): $(grep -m1 -E '^(E|W):' "$log" || tail -n1 "$log")"
  if install; then exit 0; fi
  if [ -n "$codename" ] && install -t "$codename"; then
    echo "setup: installed with the $codename release's own versions"
    exit 0
  fi
  if [ "$attempt" -lt "$attempts" ]; then
    echo "setup: install failed, trying again in ${pause}s"
    sleep "$pause"
  fi
done

cat "$log" >&2
echo "setup: could not install ${missing[*]}." >&2
echo "setup: the package mirror may be mid-sync or unreachable; wait a few minutes and run the command again," >&2
echo "setup: or install those packages by hand (apt-get install -t ${codename:-<codename>} ...)." >&2
exit 1
