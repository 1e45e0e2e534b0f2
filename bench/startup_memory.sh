#!/usr/bin/env bash
# Peak memory of a start and close of the editor against the least Qt Widgets program with
# a menu bar (bench/empty_window.cpp). Both run on one Xvfb display with openbox, on the
# same platform plugin (xcb), and are closed the same way: once the window shows and has
# settled, the window manager's close (Alt+F4). Prints the maximum resident set size of each
# run and the medians, in KiB; for reference also the empty program that quits as soon as
# it has shown its window (--quit), which no window manager close is needed for.
#
# Usage: bench/startup_memory.sh [RUNS]        (default 5)
# BUILD_DIR and BUILD_TYPE choose the build (default build/memory, RelWithDebInfo).
set -euo pipefail
source "$(dirname "$0")/../scripts/lib/common.sh"

RUNS=${1:-5}
BUILD_DIR=${BUILD_DIR:-$ROOT/build/memory}
BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo}
SETTLE=${SETTLE:-1}

ensure_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev libxtst-dev libxdamage-dev time xvfb openbox \
    xdotool x11-utils
# An existing build keeps its settings; it needs TESSALY_BENCH=ON.
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE="$BUILD_TYPE" -DTESSALY_TESTS=OFF \
        -DTESSALY_BENCH=ON >/dev/null
fi
cmake --build "$BUILD_DIR" --target tessaly empty_window -j"$JOBS" >/dev/null

work=$(mktemp -d)
pids=()
cleanup() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# A display of its own: Xvfb writes its number to the given descriptor once it is ready.
mkfifo "$work/display"
exec {display_fd}<>"$work/display"
Xvfb -displayfd "$display_fd" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
read -r -t 30 number <&"$display_fd"
exec {display_fd}>&-
export DISPLAY=":$number"
unset QT_QPA_PLATFORM
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
done

# measure TITLE PROGRAM...: one start and close; prints the peak RSS in KiB.
measure() {
    local title=$1 window pid
    shift
    (cd "$work" && exec /usr/bin/time -f %M -o "$work/rss" "$@" >/dev/null 2>&1) &
    pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name "$title" | head -n 1)
    sleep "$SETTLE"
    xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4
    if ! timeout 30 tail --pid="$pid" -f /dev/null; then
        kill "$pid"
        echo "$* did not end on a window close" >&2
        exit 1
    fi
    wait "$pid"
    cat "$work/rss"
}

median() {
    sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}

report() {
    local name=$1 title=$2 runs=()
    shift 2
    for _ in $(seq "$RUNS"); do runs+=("$(measure "$title" "$@")"); done
    local mid
    mid=$(printf '%s\n' "${runs[@]}" | median)
    printf '%-14s median %6s KiB  (runs: %s)\n' "$name" "$mid" "${runs[*]}"
    echo "$mid" >"$work/median_$name"
}

# quick NAME PROGRAM...: runs that end by themselves.
quick() {
    local name=$1 runs=() mid
    shift
    for _ in $(seq "$RUNS"); do
        (cd "$work" && /usr/bin/time -f %M -o "$work/rss" "$@" >/dev/null 2>&1)
        runs+=("$(cat "$work/rss")")
    done
    mid=$(printf '%s\n' "${runs[@]}" | median)
    printf '%-14s median %6s KiB  (runs: %s)\n' "$name" "$mid" "${runs[*]}"
}

quick "empty --quit" "$BUILD_DIR/bench/empty_window" --quit
report empty_window "^empty window$" "$BUILD_DIR/bench/empty_window"
report tessaly "^tessaly v2 0.9c" "$BUILD_DIR/tessaly"
echo "difference     $(($(cat "$work/median_tessaly") - $(cat "$work/median_empty_window")))" \
    "KiB"
