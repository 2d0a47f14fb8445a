#!/usr/bin/env bash
# Start-up benchmark under Wine: the program (x86_64 build) against a bare window of the
# same size and styles, started alternately, each time from a fresh directory so that the
# program takes its first-start path (it writes SkinH_EL.dll beside itself). launch_probe
# measures each start; this prints the medians, the ratios and the exe sizes.
# Usage: bench/startup/run.sh [runs]   (default 5 of each)
# Environment: VELMORA_WIN64_TREE (default build/win64) holds the program, the baseline and
# the probe; VELMORA_SHIPPED_TREE (default build/win32) the shipped i686 exe, whose size is
# reported; VELMORA_BENCH_SETTLE_S (5) and VELMORA_BENCH_IDLE_S (4) are the seconds before
# memory is read and the seconds of idle CPU time measured after that.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
runs="${1:-5}"
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 [runs]" >&2; exit 2; }
win64_tree="${VELMORA_WIN64_TREE:-$root/build/win64}"
shipped_tree="${VELMORA_SHIPPED_TREE:-$root/build/win32}"
settle_s="${VELMORA_BENCH_SETTLE_S:-5}"
idle_s="${VELMORA_BENCH_IDLE_S:-4}"

program="$win64_tree/system/velmora.exe"
baseline="$win64_tree/bench/startup/velmora_startup_baseline.exe"
probe="$win64_tree/bench/startup/launch_probe.exe"
shipped="$shipped_tree/system/velmora.exe"
for exe in "$program" "$baseline" "$probe"; do
    [ -f "$exe" ] || { echo "run.sh: $exe is missing; build the x86_64 tree (scripts/build.sh)" >&2; exit 1; }
done

# A prefix and an X display of the benchmark's own: no other test's windows or programs
# compete with it, and the prefix's URL handler (a recorder the black-box tests install)
# is absent, so the program's page fails to open at once, as it does without a browser.
export VELMORA_STATE="${VELMORA_STATE:-$root/build/wine-bench}"
# The black-box scripts take free displays from :78 up; this one looks higher.
if [ -z "${VELMORA_XVFB_DISPLAY:-}" ]; then
    for n in $(seq 99 119); do
        if [ ! -e "/tmp/.X$n-lock" ] && ! xdpyinfo -display ":$n" >/dev/null 2>&1; then
            export VELMORA_XVFB_DISPLAY=":$n"
            break
        fi
    done
    [ -n "${VELMORA_XVFB_DISPLAY:-}" ] || { echo "run.sh: no free X display number in :99..:119" >&2; exit 1; }
fi
# shellcheck source=../../scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
velmora_wine_ready

work="$(mktemp -d /tmp/velmora-startup.XXXXXX)"
trap 'velmora_wine_stop; rm -rf "$work"' EXIT
# One session for every start: the first program of a session pays for starting it.
"$WINESERVER" -p

declare -A figures
metrics=(visible_ms responsive_ms startup_cpu_ms working_set_kb private_kb idle_cpu_ms_per_s)

# Runs one start of an exe copied to a fresh directory; prints the probe's figures.
probe_once() {  # exe, window class, settle seconds, idle seconds
    local dir target
    dir="$(mktemp -d "$work/run.XXXXXX")"
    cp "$1" "$dir/"
    target="Z:${dir//\//\\}\\$(basename "$1")"
    velmora_wine "$probe" "$target" "$2" "$3" "$4" | tr -d '\r'
    rm -rf "$dir"
}

measure() {  # name, exe, window class
    local line key value
    line="$(probe_once "$2" "$3" "$settle_s" "$idle_s")"
    [ -n "$line" ] || { echo "run.sh: no figures for $1" >&2; exit 1; }
    printf '  %-8s %s\n' "$1" "$line"
    for pair in $line; do
        key="${pair%%=*}" value="${pair#*=}"
        figures["$1.$key"]+="$value "
    done
}

median() {
    tr ' ' '\n' | grep . | sort -g |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

mean() { tr ' ' '\n' | grep . | awk '{ sum += $1 } END { printf "%.2f", sum / NR }'; }

ratio() { awk -v p="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", p / b; else print "-" }'; }

echo "Start-up benchmark: $("$VELMORA_WINE" --version), $runs runs of each, alternating;" \
     "memory after ${settle_s} s, idle CPU over the next ${idle_s} s"
# A start of each first, not counted: the exes and Wine's DLLs come into the page cache.
probe_once "$program" VelmoraWindow 0 0 >/dev/null
probe_once "$baseline" VelmoraBaselineWindow 0 0 >/dev/null
for run in $(seq 1 "$runs"); do
    echo "run $run/$runs"
    measure program "$program" VelmoraWindow
    measure baseline "$baseline" VelmoraBaselineWindow
done

declare -A labels=(
    [visible_ms]="ms to window visible"
    [responsive_ms]="ms to message loop answering"
    [startup_cpu_ms]="CPU ms until answering"
    [working_set_kb]="working set KB"
    [private_kb]="private bytes KB"
    [idle_cpu_ms_per_s]="idle CPU ms per second"
)
echo
printf '%-30s %10s %10s %8s\n' "median of $runs" program baseline ratio
for metric in "${metrics[@]}"; do
    p="$(median <<<"${figures[program.$metric]}")"
    b="$(median <<<"${figures[baseline.$metric]}")"
    printf '%-30s %10s %10s %8s\n' "${labels[$metric]}" "$p" "$b" "$(ratio "$p" "$b")"
done
# Wine counts CPU time in 10 ms ticks, so one run's idle figure is coarse; the mean of all
# runs resolves 10 ms over all their idle seconds.
echo "idle CPU ms per second, mean of all runs (resolution" \
     "$(awk -v r="$runs" -v s="$idle_s" 'BEGIN { printf "%.2f", 10 / (r * s) }') ms/s):" \
     "program $(mean <<<"${figures[program.idle_cpu_ms_per_s]}")," \
     "baseline $(mean <<<"${figures[baseline.idle_cpu_ms_per_s]}")"
echo
size() { if [ -f "$1" ]; then stat -c %s "$1"; else echo "(not built)"; fi; }
echo "exe sizes, bytes: program x86_64 $(size "$program"), baseline x86_64 $(size "$baseline")," \
     "shipped i686 $(size "$shipped")"
echo "took ${SECONDS} s"
