#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with ASan and UBSan into build/fuzz and runs each
# for a while, starting from the seeds in fuzz/corpus/<target>. Fails on any crash,
# sanitizer report or broken invariant; the input that did it is kept as
# build/fuzz/artifacts/<target>-crash-... and replays with build/fuzz/<target> FILE.
# Usage: scripts/fuzz.sh [seconds-per-target]   (default 20; a long run: 600)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-20}"
targets=(text_to_int_fuzz ini_file_fuzz datetime_fuzz)
out="$root/build/fuzz"
jobs="${VELMORA_JOBS:-2}"

case "$seconds" in ''|*[!0-9]*) echo "usage: $0 [seconds-per-target]" >&2; exit 2 ;; esac

"$root/scripts/install-deps.sh"

# clang takes no execution character set but UTF-8, so it compiles copies whose
# non-ASCII characters are already code page 936 escapes: the bytes -fexec-charset=GBK
# gives the main build.
src="$out/src"
target_sources=()
for target in "${targets[@]}"; do target_sources+=("$root/fuzz/$target.cpp"); done
python3 "$root/fuzz/gbk_escape.py" "$src" "$root"/core/*.cpp "$root"/core/*.h "${target_sources[@]}"

cxx=(clang++ -std=c++17 -g -O1 -Wall -Wextra -finput-charset=UTF-8 -fno-omit-frame-pointer
     -fno-sanitize-recover=all -I"$src")
newest_header="$(ls -t "$src"/*.h | head -n1)"

# An object is rebuilt when its source or any header is newer.
stale() { [ ! -f "$2" ] || [ "$1" -nt "$2" ] || [ "$newest_header" -nt "$2" ]; }

mkdir -p "$out/obj"
core_objects=()
pids=()
for core_source in "$root"/core/*.cpp; do
    name="$(basename "$core_source" .cpp)"
    source="$src/$name.cpp"
    object="$out/obj/$name.o"
    core_objects+=("$object")
    if stale "$source" "$object"; then
        "${cxx[@]}" -fsanitize=fuzzer-no-link,address,undefined -c "$source" -o "$object" &
        pids+=($!)
        if [ ${#pids[@]} -ge "$jobs" ]; then wait "${pids[0]}"; pids=("${pids[@]:1}"); fi
    fi
done
for pid in "${pids[@]}"; do wait "$pid"; done

for target in "${targets[@]}"; do
    binary="$out/$target"
    relink=false
    stale "$src/$target.cpp" "$binary" && relink=true
    for object in "${core_objects[@]}"; do [ "$object" -nt "$binary" ] && relink=true; done
    if $relink; then
        "${cxx[@]}" -fsanitize=fuzzer,address,undefined "$src/$target.cpp" "${core_objects[@]}" -o "$binary"
    fi
done

# The profile target writes its file here: in memory where the system offers it.
scratch="$(mktemp -d -p "$( [ -d /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")" velmora-fuzz.XXXXXX)"
trap 'rm -rf "$scratch"' EXIT

status=0
summary=()
mkdir -p "$out/artifacts"
for target in "${targets[@]}"; do
    name="${target%_fuzz}"
    work="$out/corpus/$name"
    mkdir -p "$work"
    options=(-max_total_time="$seconds" -print_final_stats=1 -timeout=10
             -artifact_prefix="$out/artifacts/$target-")
    [ -f "$root/fuzz/$name.dict" ] && options+=(-dict="$root/fuzz/$name.dict")
    log="$out/$target.log"
    echo "fuzz: $target for ${seconds} s" >&2
    # New inputs go to the working corpus under build/; the seeds in the repository stay.
    if TMPDIR="$scratch" "$out/$target" "${options[@]}" "$work" "$root/fuzz/corpus/$name" >"$log" 2>&1; then
        result=ok
    else
        result=FAILED
        status=1
        tail -n 40 "$log" >&2
    fi
    executions="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)"
    summary+=("fuzz: $target: ${executions:-?} executions in ${seconds} s: $result (log $log)")
done
printf '%s\n' "${summary[@]}"
exit $status
