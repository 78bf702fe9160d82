#!/bin/bash
# The SDL 2 edition on a Wayland desktop with no X server at all:
#   wayland.sh PROGRAM SEETEXT DATA_DIR SEAT_MODULE CASE_DIR
#
# weston runs headless (its CPU renderer, in a runtime folder of the case's own)
# with the seat SEAT_MODULE gives it; the program reaches it through SDL's
# Wayland driver, draws with Mesa's software renderer, plays a script that
# snaps its own window and quits. The snap must show the title screen, told
# by its text (SEETEXT).
set -u
case_name=wayland program=$1 seetext=$2 data=$3 seat_module=$4 here=$5

work=$(mktemp -d /tmp/zynthra_wayland_XXXXXX)
game_dir=$work/game
. "$(dirname "$0")/common.sh"

# As the shared fail, with what the compositor said.
fail() {
    echo "FAIL ($case_name): $*"
    program_logs
    [ -s "$work/weston.txt" ] && { echo "--- weston's output:"; cat "$work/weston.txt"; }
    exit 1
}

# A headless compositor on a socket of its own; WAYLAND_DISPLAY names it. It
# must never go idle: an idle output draws no frames, and a program that waits
# for the compositor's frame to swap would wait for ever.
start_weston() {
    command -v weston >/dev/null || fail "weston is needed (scripts/setup installs it)"
    export XDG_RUNTIME_DIR=$work/runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR" || fail "cannot create $XDG_RUNTIME_DIR"
    env -u DISPLAY -u WAYLAND_DISPLAY weston --backend=headless-backend.so --use-pixman --width=1024 --height=768 \
        --socket=zynthra-test --idle-time=0 --no-config --modules="$seat_module" >"$work/weston.txt" 2>&1 &
    pids+=($!)
    wait_for 60 weston_listens "$!" || fail "weston did not start"
    kill -0 "$!" 2>/dev/null || fail "weston ended at start"
    export WAYLAND_DISPLAY=zynthra-test
}

weston_listens() {  # PID
    [ -S "$XDG_RUNTIME_DIR/zynthra-test" ] || ! kill -0 "$1" 2>/dev/null
}

start_weston
fresh_game_dir
# No X server to fall back on: SDL must take the Wayland path or fail.
env -u DISPLAY SDL_VIDEODRIVER=wayland SDL_AUDIODRIVER=dummy timeout 600 "$program" \
    --script "$here/wayland_title.vpad" --frame-file "$work/frames" >"$work/out.txt" 2>"$work/err.txt" &
game_pid=$!
wait_end 1200 "the script's quit" || fail "the script had not ended after 1200 steps"
finish
[ "$status" = 0 ] || fail "exit status $status, 0 expected"
[ -s title.png ] || fail "the program snapped no title.png"
text_shown title.png 0 0 "New Game" || fail "no \"New Game\" on the title screen: $(seen)"
text_shown title.png 0 128 "Quit" || fail "no \"Quit\" on the title screen: $(seen)"
cp title.png /tmp/zynthra_wayland_title.png
echo "PASS ($case_name): the title screen drawn under weston, $(/usr/bin/identify -format '%wx%h' title.png) (/tmp/zynthra_wayland_title.png)"
