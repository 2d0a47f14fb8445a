#!/usr/bin/env bash
# Builds the shipped program and puts the release in dist/: velmora.exe (portable, one
# file) and velmora.exe.sha256 in sha256sum's format, so `sha256sum -c` checks it there.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
exe="$root/build/win32/system/velmora.exe"
dist="$root/dist"

"$root/scripts/build.sh" program
# A release that fails the file checks (imports, hardening, stripping) is not copied.
"$root/tests/shipped/check_exe.sh" "$exe"

mkdir -p "$dist"
cp "$exe" "$dist/velmora.exe"
(cd "$dist" && sha256sum velmora.exe >velmora.exe.sha256 && sha256sum -c --quiet velmora.exe.sha256)

echo "$dist/velmora.exe: $(stat -c %s "$dist/velmora.exe") bytes"
echo "$dist/velmora.exe.sha256: $(cat "$dist/velmora.exe.sha256")"
