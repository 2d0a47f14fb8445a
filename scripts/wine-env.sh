# Sourced by the scripts that run Windows programs: a private Wine prefix, the zh_CN
# locale (ANSI code page 936), and an X display (a private Xvfb when there is none).
# Nothing here touches ~/.wine or the system's locales.

VELMORA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
VELMORA_STATE="${VELMORA_STATE:-$VELMORA_ROOT/build/wine}"
VELMORA_XVFB_DISPLAY="${VELMORA_XVFB_DISPLAY:-:77}"
VELMORA_DESKTOP_SIZE="1024x768"

export WINEPREFIX="${VELMORA_WINEPREFIX:-$VELMORA_STATE/prefix}"
export WINEARCH=win64
# 64-bit Wine: runs the x86_64 test builds; see README for why not the 32-bit loader.
VELMORA_WINE="${VELMORA_WINE:-/usr/lib/wine/wine64}"
export WINESERVER="${WINESERVER:-/usr/lib/wine/wineserver64}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG="${WINEDEBUG:--all}"

velmora_die() { echo "velmora: $*" >&2; exit 1; }

# glibc has no zh_CN locale on a bare Debian; build one into our own directory.
velmora_ensure_locale() {
    local dir="$VELMORA_STATE/locale"
    if [ ! -f "$dir/zh_CN.UTF-8/LC_CTYPE" ]; then
        mkdir -p "$dir"
        localedef -i zh_CN -f UTF-8 "$dir/zh_CN.UTF-8" >/dev/null 2>&1 || true
        [ -f "$dir/zh_CN.UTF-8/LC_CTYPE" ] || velmora_die "could not build the zh_CN.UTF-8 locale (is the 'locales' package installed?)"
    fi
    VELMORA_LOCPATH="$dir"
}

# Wine with the zh_CN locale; set per command so that this shell keeps its own locale.
velmora_wine() { env LOCPATH="$VELMORA_LOCPATH" LC_ALL=zh_CN.UTF-8 "$VELMORA_WINE" "$@"; }

velmora_display_alive() { xdpyinfo -display "$1" >/dev/null 2>&1; }

# Uses $DISPLAY when it answers; otherwise starts (or reuses) a private Xvfb.
velmora_ensure_display() {
    if [ -n "${DISPLAY:-}" ] && velmora_display_alive "$DISPLAY"; then
        return 0
    fi
    export DISPLAY="$VELMORA_XVFB_DISPLAY"
    if ! velmora_display_alive "$DISPLAY"; then
        command -v Xvfb >/dev/null || velmora_die "Xvfb is missing (run scripts/install-deps.sh)"
        mkdir -p "$VELMORA_STATE"
        setsid nohup Xvfb "$DISPLAY" -screen 0 "${VELMORA_DESKTOP_SIZE}x24" -nolisten tcp \
            >"$VELMORA_STATE/xvfb.log" 2>&1 &
        echo $! >"$VELMORA_STATE/xvfb.pid"
        for _ in $(seq 1 100); do
            velmora_display_alive "$DISPLAY" && break
            sleep 0.1
        done
        velmora_display_alive "$DISPLAY" || velmora_die "Xvfb did not start on $DISPLAY (see $VELMORA_STATE/xvfb.log)"
        export VELMORA_STARTED_XVFB=1
    fi
}

velmora_reg() { "$VELMORA_WINE" reg add "$@" /f >/dev/null 2>&1 || velmora_die "wine reg add $1 failed"; }

# Creates the prefix once: a win64 prefix with a virtual desktop set in the registry
# (so that `wine prog.exe` still returns the program's exit code), no crash dialog,
# and URL handlers that never start a real browser.
velmora_ensure_prefix() {
    [ -f "$WINEPREFIX/.velmora-ready" ] && return 0
    [ -x "$VELMORA_WINE" ] || velmora_die "64-bit wine is missing (run scripts/install-deps.sh)"
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        [ -f "$WINEPREFIX/.velmora-ready" ] && exit 0
        rm -rf "$WINEPREFIX"
        "$VELMORA_WINE" wineboot -i >/dev/null 2>&1 || velmora_die "wineboot failed for $WINEPREFIX"
        velmora_reg 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
        velmora_reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$VELMORA_DESKTOP_SIZE"
        velmora_reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
        velmora_reg 'HKCU\Software\Wine\WineBrowser' /v Browsers /d velmora-no-browser
        velmora_reg 'HKCU\Software\Wine\WineBrowser' /v Mailers /d velmora-no-mailer
        # Tests copy a recorder to this path; without it ShellExecute simply fails.
        velmora_reg 'HKCR\http\shell\open\command' /ve /d 'C:\velmora\url_recorder.exe "%1"'
        velmora_reg 'HKCR\mailto\shell\open\command' /ve /d 'C:\velmora\url_recorder.exe "%1"'
        mkdir -p "$WINEPREFIX/drive_c/velmora"
        "$WINESERVER" -w
        touch "$WINEPREFIX/.velmora-ready"
    ) 9>"$(dirname "$WINEPREFIX")/.prefix.lock" || exit 1
}

# Wine draws captions, menus and message boxes in Tahoma-like fonts without CJK glyphs;
# map them to the WenQuanYi font so Chinese titles are readable in screenshots.
velmora_ensure_fonts() {
    [ -f "$WINEPREFIX/.velmora-fonts" ] && return 0
    local face
    for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "MS Sans Serif" "Microsoft Sans Serif" \
                "Segoe UI" "SimSun" "NSimSun" "Arial"; do
        velmora_reg 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "WenQuanYi Micro Hei"
    done
    touch "$WINEPREFIX/.velmora-fonts"
}

velmora_wine_ready() {
    velmora_ensure_display
    velmora_ensure_prefix
    velmora_ensure_fonts
    velmora_ensure_locale
}

# Ends the prefix's session and the Xvfb this shell started.
velmora_wine_stop() {
    "$WINESERVER" -k >/dev/null 2>&1 || true
    if [ "${VELMORA_STARTED_XVFB:-}" = 1 ] && [ -f "$VELMORA_STATE/xvfb.pid" ]; then
        kill "$(cat "$VELMORA_STATE/xvfb.pid")" 2>/dev/null || true
        rm -f "$VELMORA_STATE/xvfb.pid"
    fi
}
