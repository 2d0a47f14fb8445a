#!/usr/bin/env bash
# The road of one scheduled shut-down, end to end. A forced shut-down under Wine ends every
# process of its prefix, so this runs in a throwaway copy of the project's prefix, on a
# display of its own, and checks from outside what the Windows side logged before it was
# ended and that the whole session went down.
# Usage: road_to_shutdown.sh <velmora_road_to_shutdown.exe> [Windows version as Wine names it: win7, win98, ...]
set -euo pipefail
test_exe="$1"
windows_version="${2:-}"
source "$(dirname "${BASH_SOURCE[0]}")/throwaway_prefix.sh" road
if [ -n "$windows_version" ]; then
    velmora_set_windows_version "$windows_version"
fi

run_case() {  # gtest filter; the Windows side's exit code
    velmora_wine "$test_exe" --gtest_filter="$1"
}

echo "== the countdown without a saved action"
run_case 'RoadToShutdown.CountdownWithoutSavedActionStopsAtZeroAndStaysOpen' || fail "the countdown case failed"

echo "== the scheduled shut-down"
log="$work/road.log"
: >"$log"
set +e
VELMORA_ROAD_LOG="Z:$log" run_case 'RoadToShutdown.ScheduledShutDownAfterTheCountdownEndsTheSession'
status=$?
set -e
echo "-- the Windows side logged (exit status $status):"
iconv -f GBK -t UTF-8 "$log" | tee "$work/road.utf8.log"

if ! timeout 30 "$WINESERVER" -w; then
    fail "the throwaway session is still up 30 s after the shut-down"
fi

expected=(started saved armed "prompt opened" "剩余时间：2秒" "剩余时间：1秒" "剩余时间：0秒")
mapfile -t seen <"$work/road.utf8.log"
[ "${#seen[@]}" -eq "${#expected[@]}" ] || fail "expected the lines: ${expected[*]}"
for i in "${!expected[@]}"; do
    [ "${seen[$i]}" = "${expected[$i]}" ] || fail "line $((i + 1)): '${seen[$i]}', expected '${expected[$i]}'"
done
echo "the countdown ran 2, 1, 0 and the forced shut-down ended every process of the session${windows_version:+ ($windows_version)}"
