#!/bin/bash
# The frame rate the headless demo holds, measured on a real run: the game
# plays tools/vpad/demo.vpad under Xvfb on Mesa's software path, once on an
# 800 x 480 screen (the handheld's picture, 1x) and once on 1920 x 1080 (a
# 1600 x 960 window, 2x), paced to 60 frames a second as the launcher plays it
# and unpaced (what the machine can draw).
#
#   tests/bench/demo_frame_rate.sh [BUILD_DIR]   (default: build)
#
# Prints frames, seconds and frames per second from the demo's first to its
# last logged line.
set -u
cd "$(dirname "$0")/../.."
build=${1:-build}
game=$(realpath "$build/zynthra")
vpad=$(realpath "$build/tools/vpad/libvpad.so")
demo=$(realpath tools/vpad/demo.vpad)
data=$(realpath data)
work=$(mktemp -d /tmp/zynthra_rate_XXXXXX)
xvfb=
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT

# run SCREEN PACE: one demo on a fresh Xvfb and folder.
run() {
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
    xvfb=$!
    while [ ! -s "$work/display" ]; do sleep 0.05; done
    rm -rf "$work/game" && mkdir "$work/game" && cp "$data"/* "$work/game"/
    (cd "$work/game" && DISPLAY=":$(head -n 1 "$work/display")" SDL_AUDIODRIVER=dummy VPAD_FBGRAB=true \
        timeout 600 env LD_PRELOAD="$vpad" VPAD_SCRIPT="$demo" VPAD_PACE_HZ="$2" "$game" >/dev/null 2>"$work/log")
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
    xvfb=
    rm -f "$work/display"
    # vpad's log lines: "vpad: frame N, T s: text"
    sed -n 's/.*frame \([0-9]*\), \([0-9.]*\) s:.*/\1 \2/p' "$work/log" |
        awk -v screen="$1" -v pace="$2" 'NR == 1 { f0 = $1; t0 = $2 } { f = $1; t = $2 }
            END { printf "%-10s pace %-3s %6d frames %7.1f s %6.1f frames/s\n", screen, pace, f - f0, t - t0,
                  (t > t0) ? (f - f0) / (t - t0) : 0 }'
}

for screen in 800x480 1920x1080; do
    for pace in 60 0; do
        run "$screen" "$pace"
    done
done
