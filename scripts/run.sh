#!/usr/bin/env bash
# Builds the program and starts it under Wine. Without a display it runs on a private
# virtual display, saves a screenshot and says where; with one, it opens there.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$root/scripts/build.sh" program
# This machine runs Windows programs under 64-bit Wine; the x86_64 build of the same
# sources is what it can show. The shipped 32-bit exe is build/win32/system/velmora.exe.
cmake -S "$root" -B "$root/build/win64" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64-posix.cmake" >/dev/null
cmake --build "$root/build/win64" -j2 --target velmora
run_dir="$root/build/run"
mkdir -p "$run_dir"
cp "$root/build/win64/system/velmora.exe" "$run_dir/"

had_display="${DISPLAY:-}"
source "$root/scripts/wine-env.sh"
velmora_wine_ready
echo "Starting $run_dir/velmora.exe (close.ini is kept beside it)"
if [ -n "$had_display" ] && [ "$DISPLAY" = "$had_display" ]; then
    cd "$run_dir" && exec env LOCPATH="$VELMORA_LOCPATH" LC_ALL=zh_CN.UTF-8 "$VELMORA_WINE" ./velmora.exe
fi
(cd "$run_dir" && exec setsid env LOCPATH="$VELMORA_LOCPATH" LC_ALL=zh_CN.UTF-8 "$VELMORA_WINE" ./velmora.exe) >/dev/null 2>&1 </dev/null &
sleep "${VELMORA_SCREENSHOT_DELAY:-6}"
mkdir -p "$root/artifacts"
shot="$root/artifacts/run-screenshot.png"
import -display "$DISPLAY" -window root "$shot"
echo "The program is running on the virtual display $DISPLAY; screenshot: $shot"
echo "Stop it with: WINEPREFIX=$WINEPREFIX $WINESERVER -k"
