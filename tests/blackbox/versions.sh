#!/usr/bin/env bash
# The program under Wine set to report Windows XP, 7, 10 and 98, in a throwaway copy of
# the project's prefix on a display of its own (the shared prefix is never changed).
# Usage: versions.sh <velmora_blackbox_versions.exe>
set -euo pipefail
test_exe="$1"
source "$(dirname "${BASH_SOURCE[0]}")/throwaway_prefix.sh" versions

# Wine's name for a version; what the prefix then reports: major.minor of an NT
# version, or "win98" for the Windows 9x platform (64-bit Wine 8 reports it too).
for pair in winxp=5.1 win7=6.1 win10=10.0 win98=win98; do
    name="${pair%%=*}"
    echo "== $name"
    velmora_set_windows_version "$name"
    VELMORA_EXPECTED_WINDOWS="${pair#*=}" velmora_wine "$test_exe" --gtest_filter='WindowsVersion.*' \
        || fail "the program's road under $name failed"
done
echo "the program started, saved and gave up a prompt under Windows XP, 7, 10 and 98"
