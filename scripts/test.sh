#!/usr/bin/env bash
# Builds everything and runs every test tier: native core tests and checks of the shipped
# exe, the same tests under ASan/UBSan, a bounded fuzz run, then the Windows-side and
# black-box tests under Wine. Screenshots go to artifacts/. VELMORA_LONG_SOAK=1 runs the
# full-length soak.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$root/scripts/build.sh" all

source "$root/scripts/wine-env.sh"
velmora_wine_ready
trap velmora_wine_stop EXIT
mkdir -p "$root/artifacts"

status=0
echo "== native tests and shipped-exe checks"
ctest --test-dir "$root/build/native" --output-on-failure -j2 || status=1
echo "== native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
"$root/scripts/sanitize.sh" || status=1
echo "== fuzzing, bounded (a long run: scripts/fuzz.sh 600)"
"$root/scripts/fuzz.sh" "${VELMORA_FUZZ_SECONDS:-20}" || status=1
echo "== Windows-side and black-box tests under Wine"
VELMORA_ARTIFACTS="$root/artifacts" ctest --test-dir "$root/build/win64" --output-on-failure --timeout 300 || status=1
command -v convert >/dev/null && for bmp in "$root"/artifacts/*.bmp; do [ -f "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"; done || true
exit $status
