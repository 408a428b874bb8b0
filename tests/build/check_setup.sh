#!/usr/bin/env bash
# scripts/setup.sh against a package mirror in the middle of a sync, played by
# stand-ins for apt-get, dpkg, dpkg-query and sudo on the PATH: each case says
# which calls fail, and what the script must then do.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# case: name | failing calls (update, install, install-t) | expected exit | text the log must hold
cases=(
  "mirror mid-sync|update install|0|-t bookworm cmake"
  "one bad update, then fine|update|0|install -y"
  "nothing works|update install install-t|1|could not install"
)

for entry in "${cases[@]}"; do
  IFS='|' read -r name failing want expect <<<"$entry"
  bin=$work/bin log=$work/log
  rm -rf "$bin"; mkdir -p "$bin"; : >"$log"
  printf 'VERSION_CODENAME=bookworm\n' >"$work/os-release"
  cat >"$bin/dpkg-query" <<'STUB'
#!/bin/sh
exit 1
STUB
  cat >"$bin/dpkg" <<'STUB'
#!/bin/sh
echo i386
STUB
  cat >"$bin/sudo" <<'STUB'
#!/bin/sh
exec "$@"
STUB
  cat >"$bin/apt-get" <<STUB
#!/bin/sh
echo "apt-get \$*" >>"$log"
case " \$* " in
  *" update "*) call=update ;;
  *" -t "*) call=install-t ;;
  *) call=install ;;
esac
case " $failing " in
  *" \$call "*) echo "E: File has unexpected size (1234 != 5678). Mirror sync in progress?"; exit 100 ;;
esac
exit 0
STUB
  chmod +x "$bin"/*
  output=$(PATH="$bin:$PATH" SETUP_PAUSE=0 SETUP_ATTEMPTS=2 SETUP_OS_RELEASE="$work/os-release" \
    bash "$root/scripts/setup.sh" 2>&1)
  got=$?
  if [ "$got" != "$want" ] || ! grep -q -- "$expect" <(cat "$log"; echo "$output"); then
    echo "FAIL: $name: exit $got (want $want), expected '$expect' in:"
    cat "$log"; echo "$output"
    failures=$((failures + 1))
  else
    echo "ok: $name"
  fi
done
exit $((failures > 0))
