#!/usr/bin/env bash
# Builds the native core tests with AddressSanitizer and UndefinedBehaviorSanitizer in
# build/native-asan and runs them. Any sanitizer report aborts its test, so the script
# fails on the first one.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="${VELMORA_JOBS:-2}"
tree="$root/build/native-asan"

"$root/scripts/install-deps.sh"

sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
# Flags live in the cache: a tree configured before keeps them, a new one gets them.
cmake -S "$root" -B "$tree" -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_C_FLAGS="$sanitize" \
      -DCMAKE_EXE_LINKER_FLAGS="$sanitize" >/dev/null
cmake --build "$tree" -j"$jobs" --target velmora_core_tests

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
ctest --test-dir "$tree" --output-on-failure -j"$jobs"
