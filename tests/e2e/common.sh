# What the end-to-end scripts share. A script sets case_name, data (the game's
# data files), work (its own temporary folder) and game_dir before sourcing
# this, and keeps the running program's pid in game_pid.

pids=()  # helpers a case starts (a window manager, another program): stopped last first
xvfb_pid=""
game_pid=""
status=""

cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null
        wait "${pids[i]}" 2>/dev/null
    done
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

# Ends the case: says why, with the program's output.
fail() {
    echo "FAIL ($case_name): $*"
    program_logs
    exit 1
}

# The program's standard output and error, for a failure's report.
program_logs() {
    for log in out err; do
        [ -s "$work/$log.txt" ] && { echo "--- program's std$log:"; cat "$work/$log.txt"; }
    done
}

# wait_for SECONDS COMMAND...: until COMMAND succeeds.
wait_for() {
    local limit=$1
    shift
    local end=$((SECONDS + limit))
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.25
    done
}

# A private X server with one screen of SIZE (WxHxDEPTH) on a display number
# it picks itself; DISPLAY names it, xvfb_pid is its pid.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$work/display" 2>/dev/null &
    xvfb_pid=$!
    wait_for 10 test -s "$work/display" || fail "Xvfb did not start"
    export DISPLAY=":$(head -n 1 "$work/display")"
}

stop_xvfb() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
}

# A fresh working folder holding only the data files, made the current one.
fresh_game_dir() {
    rm -rf "$game_dir"
    mkdir "$game_dir" && cp "$data"/* "$game_dir"/ && cd "$game_dir" || fail "cannot set up $game_dir"
}

# Waits for the program to end; its exit status goes to status.
finish() {
    wait "$game_pid"
    status=$?
    game_pid=""
}

# Pixels brighter than 80% grey in the rectangle X Y W H of the screenshot FILE:
# white text passes, the blue sphere and the dim scene behind it do not.
count_bright() {  # FILE X Y W H
    /usr/bin/convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -colorspace Gray -threshold 80% \
        -format '%[fx:round(mean*w*h)]' info:
}
