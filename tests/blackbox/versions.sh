#!/usr/bin/env bash
# The program under Wine set to report Windows XP, 7, 10 and 98, in a throwaway copy of
# the project's prefix on a display of its own (the shared prefix is never changed).
# Usage: versions.sh <velmora_blackbox_versions.exe>
set -euo pipefail
test_exe="$1"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
template="$root/build/wine/prefix"

fail() { echo "versions: $*" >&2; exit 1; }

if [ ! -f "$template/.velmora-ready" ] || [ ! -f "$root/build/wine/locale/zh_CN.UTF-8/LC_CTYPE" ]; then
    "$root/scripts/wine-run.sh" cmd /c exit 0 >/dev/null 2>&1 || fail "cannot prepare $template"
fi

work="$(mktemp -d /tmp/velmora-versions.XXXXXX)"
display=""
for n in $(seq 78 98); do
    if [ ! -e "/tmp/.X$n-lock" ] && ! xdpyinfo -display ":$n" >/dev/null 2>&1; then display=":$n"; break; fi
done
[ -n "$display" ] || fail "no free X display number in :78..:98"

export VELMORA_STATE="$work/state" VELMORA_WINEPREFIX="$work/prefix" VELMORA_XVFB_DISPLAY="$display"
unset DISPLAY
source "$root/scripts/wine-env.sh"
cleanup() {
    velmora_wine_stop
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$VELMORA_STATE"
cp -a "$template" "$WINEPREFIX"
VELMORA_LOCPATH="$root/build/wine/locale"
velmora_ensure_display

set_version() {  # winxp | win7 | win10 | win98
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w
    velmora_reg 'HKCU\Software\Wine' /v Version /d "$1"
}

# Wine's name for a version; what the prefix then reports: major.minor of an NT
# version, or "win98" for the Windows 9x platform (64-bit Wine 8 reports it too).
for pair in winxp=5.1 win7=6.1 win10=10.0 win98=win98; do
    name="${pair%%=*}"
    echo "== $name"
    set_version "$name"
    VELMORA_EXPECTED_WINDOWS="${pair#*=}" velmora_wine "$test_exe" --gtest_filter='WindowsVersion.*' \
        || fail "the program's road under $name failed"
done
echo "the program started, saved and gave up a prompt under Windows XP, 7, 10 and 98"
