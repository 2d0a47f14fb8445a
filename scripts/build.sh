#!/usr/bin/env bash
# Builds every tree: the shipped 32-bit program (build/win32), the native core and its
# tests (build/native), and the x86_64 Windows-side test build (build/win64).
# Usage: scripts/build.sh [program|all]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
what="${1:-all}"
jobs="${VELMORA_JOBS:-2}"

"$root/scripts/install-deps.sh"

configure() {  # dir, extra cmake args...
    local dir="$1"; shift
    cmake -S "$root" -B "$root/build/$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}

configure win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
cmake --build "$root/build/win32" -j"$jobs" --target velmora
[ "$what" = program ] && exit 0

cmake --build "$root/build/win32" -j"$jobs"
configure native -DVELMORA_SHIPPED_DIR="$root/build/win32"
cmake --build "$root/build/native" -j"$jobs"
configure win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64-posix.cmake" -DVELMORA_WIN_TESTS=ON
cmake --build "$root/build/win64" -j"$jobs"
