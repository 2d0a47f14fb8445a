#!/usr/bin/env bash
# Runs a Windows program under the project's Wine prefix; exits with its exit code.
# CMake's CROSSCOMPILING_EMULATOR, so ctest runs the Windows tests through it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
velmora_wine_ready
case "${1:-}" in
    *.exe)
        if [ -f "$1" ] && [ "$(od -An -tx1 -j"$(( $(od -An -tu4 -j60 -N4 "$1") + 4 ))" -N2 "$1" | tr -d ' ')" = "4c01" ]; then
            velmora_die "$1 is a 32-bit program; this machine runs 64-bit Windows programs only: build tests with cmake/mingw-x86_64-posix.cmake"
        fi ;;
esac
exec env LOCPATH="$VELMORA_LOCPATH" LC_ALL=zh_CN.UTF-8 "$VELMORA_WINE" "$@"
