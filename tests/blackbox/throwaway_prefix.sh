# Sourced by the scripts whose Wine session may be ended or reconfigured: a throwaway
# copy of the project's prefix on an X display of its own, removed on exit. Sets $work
# (a scratch directory) and sources scripts/wine-env.sh for that copy.
# Usage: source throwaway_prefix.sh <name for messages and the scratch directory>
velmora_throwaway_name="$1"
velmora_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
velmora_template="$velmora_root/build/wine/prefix"

fail() { echo "$velmora_throwaway_name: $*" >&2; exit 1; }

# The shared prefix and the locale are made the usual way, once.
if [ ! -f "$velmora_template/.velmora-ready" ] || [ ! -f "$velmora_root/build/wine/locale/zh_CN.UTF-8/LC_CTYPE" ]; then
    "$velmora_root/scripts/wine-run.sh" cmd /c exit 0 >/dev/null 2>&1 || fail "cannot prepare $velmora_template"
fi

work="$(mktemp -d "/tmp/velmora-$velmora_throwaway_name.XXXXXX")"
velmora_display=""
for n in $(seq 78 98); do
    if [ ! -e "/tmp/.X$n-lock" ] && ! xdpyinfo -display ":$n" >/dev/null 2>&1; then velmora_display=":$n"; break; fi
done
[ -n "$velmora_display" ] || fail "no free X display number in :78..:98"

export VELMORA_STATE="$work/state" VELMORA_WINEPREFIX="$work/prefix" VELMORA_XVFB_DISPLAY="$velmora_display"
unset DISPLAY
source "$velmora_root/scripts/wine-env.sh"
velmora_throwaway_cleanup() {
    velmora_wine_stop
    rm -rf "$work"
}
trap velmora_throwaway_cleanup EXIT

mkdir -p "$VELMORA_STATE"
cp -a "$velmora_template" "$WINEPREFIX"
rm -f "$WINEPREFIX/drive_c/velmora/urls.log"
VELMORA_LOCPATH="$velmora_root/build/wine/locale"
velmora_ensure_display

# Makes Wine report this Windows version (winxp, win7, win10, win98, ...) from the next
# process on; the running session is ended first.
velmora_set_windows_version() {
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w
    velmora_reg 'HKCU\Software\Wine' /v Version /d "$1"
}
