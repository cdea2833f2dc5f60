#!/usr/bin/env bash
# Start-up time of the program: from the process start to an enabled main
# window, on the demo deployment in debug mode (no splash, so no step
# pacing), on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
# The program writes "Main window enabled after N ms" to its report log.
#
# Peer, in the same run: `pavlora --close-running` with no instance
# running, i.e. the same program's process start, library loading and exit
# without any window.
#
# Usage: bench/startup.sh [BUILD_DIR] [RUNS]   (default build/release, 10)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
runs=${2:-10}
work=$(mktemp -d)
pid=
cleanup() {
    [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A program folder of its own with a Debug.cfg that switches debug mode on.
mkdir -p "$work/program"
cp "$build/bin/pavlora" "$work/program/"
cp -r "$build/bin/Data" "$work/program/"
printf 'DebugMode=1\r\nEnableReportMsg=1\r\nEnableReportLog=1\r\n' >"$work/program/Debug.cfg"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

fresh_user() {
    local home=$work/home-$1
    mkdir -p "$home/runtime"
    chmod 700 "$home/runtime"
    export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
        XDG_STATE_HOME=$home/.local/state XDG_CACHE_HOME=$home/.cache XDG_RUNTIME_DIR=$home/runtime
}

startup=()
peer=()
for run in $(seq "$runs"); do
    fresh_user "$run"
    "$work/program/pavlora" 2>"$work/stderr-$run" &
    pid=$!
    ms=
    for _ in $(seq 400); do
        ms=$(sed -n 's/.*Main window enabled after \([0-9-]*\) ms.*/\1/p' "$work/stderr-$run" | head -n1)
        [[ -n $ms ]] && break
        sleep 0.05
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=
    if [[ -z $ms ]]; then
        echo "startup.sh: run $run: no enabled main window" >&2
        cat "$work/stderr-$run" >&2
        exit 1
    fi
    startup+=("$ms")

    fresh_user "peer-$run"
    start=$(date +%s%N)
    "$work/program/pavlora" --close-running 2>/dev/null || true
    peer+=($((($(date +%s%N) - start) / 1000000)))
done

summary() {
    sort -n | awk '{ v[NR] = $1 } END { printf "best %d ms, median %d ms, worst %d ms\n", v[1], v[int((NR + 1) / 2)], v[NR] }'
}
echo "Start-up to an enabled main window ($runs runs): $(printf '%s\n' "${startup[@]}" | summary)"
echo "Peer, pavlora --close-running:         $(printf '%s\n' "${peer[@]}" | summary)"
echo "Target: under 500 ms."
