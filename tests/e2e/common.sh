# What the end-to-end scripts share. A script sets case_name, data (the game's
# data files), seetext (the text finder), work (its own temporary folder) and
# game_dir before sourcing this, and keeps the running program's pid in game_pid.

pids=()  # helpers a case starts (a window manager, another program): stopped last first
xvfb_pid=""
game_pid=""
status=""

cleanup() {
    [ -n "$game_pid" ] && stop_job "$game_pid"
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        stop_job "${pids[i]}"
    done
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

# Ends a job this script started, if it still runs: the number of one that has
# ended may name another program by now (a busy machine soon reuses them).
stop_job() {
    jobs -rp | grep -qx "$1" && kill "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}

# Ends the case: says why, with the program's output and the state of the X server.
fail() {
    echo "FAIL ($case_name): $*"
    program_logs
    x_server_state
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
# it picks itself; DISPLAY names it, xvfb_pid is its pid. The server writes the
# number once it listens; the case goes on only when it answers there. Without
# -noreset it resets whenever its last client leaves (a screenshot taken before
# the program has connected, a program that ended before the next one starts),
# and refuses whoever connects meanwhile: "cannot connect to X server".
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.txt" &
    xvfb_pid=$!
    wait_for 30 display_written || fail "Xvfb wrote no display number in 30 s"
    export DISPLAY=":$(head -n 1 "$work/display")"
    x_answers || fail "Xvfb does not answer on $DISPLAY"
}

# The number and its newline are two writes: a whole line is there.
display_written() {
    { [ -f "$work/display" ] && [ "$(wc -l <"$work/display")" -ge 1 ]; } || ! kill -0 "$xvfb_pid" 2>/dev/null
}

x_answers() {
    kill -0 "$xvfb_pid" 2>/dev/null && timeout 20 xdpyinfo >/dev/null 2>&1
}

# For a failure's report: whether the X server still runs and answers.
x_server_state() {
    [ -n "$xvfb_pid" ] || return 0
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
        echo "--- the X server (Xvfb, pid $xvfb_pid, ${DISPLAY:-no display}) has ended; its output:"
        cat "$work/xvfb.txt"
    elif ! x_answers; then
        echo "--- the X server (Xvfb, pid $xvfb_pid) runs but does not answer on $DISPLAY"
    else
        echo "--- the X server (Xvfb on $DISPLAY) runs and answers"
    fi
}

stop_xvfb() {
    [ -n "$xvfb_pid" ] && stop_job "$xvfb_pid"
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

# The game's TEXT is drawn at X Y of its 800 x 480 picture in the screenshot
# FILE (at whatever size the screenshot shows the picture), told by the
# glyphs' shapes. The finder's verdict stays in $work/seen.txt for a report.
text_shown() {  # FILE X Y TEXT
    "$seetext" "$data/font.png" "$@" >"$work/seen.txt" 2>&1
}
# ... and TEXT is not drawn there.
text_absent() {  # FILE X Y TEXT
    "$seetext" -n "$data/font.png" "$@" >"$work/seen.txt" 2>&1
}
seen() {
    cat "$work/seen.txt"
}

# Pixels of the shots' yellow (blue at a third, red and green full) in the
# rectangle X Y W H of the screenshot FILE. The enemies' yellow has no blue,
# and their other colours are far from it.
shot_pixels() {  # FILE X Y W H
    /usr/bin/convert "$1" -crop "${4}x${5}+${2}+${3}" +repage \
        -fx 'r > 0.9 && g > 0.9 && b > 0.2 && b < 0.5 ? 1 : 0' -format '%[fx:round(mean*w*h)]' info:
}

# ---- waiting on the running program, in its frames (vpad counts them into
# $work/frames when VPAD_FRAME_FILE names it): a loaded machine draws fewer
# frames a second, and its limits stretch alike.

frames_now() {
    local n=0
    read -r n 2>/dev/null <"$work/frames"
    echo "${n:-0}"
}

# Fails when the program has ended, or has drawn no frame for a minute (it is
# stuck: a loaded machine still draws a frame a second).
still_running() {  # WHAT it was waiting for
    kill -0 "$game_pid" 2>/dev/null || fail "the program ended while waiting for $1"
    drawing "$1"
}

# Fails when the program has drawn no frame for a minute.
drawing() {  # WHAT it was waiting for
    local now
    now=$(frames_now)
    if [ "$now" != "$last_frame" ]; then
        last_frame=$now
        last_frame_at=$SECONDS
    fi
    [ $((SECONDS - last_frame_at)) -lt 60 ] || fail "the program drew no frame for 60 s while waiting for $1"
}

# Runs CHECK... until it holds; false after LIMIT of the program's frames.
wait_frames_for() {  # WHAT LIMIT CHECK...
    local what=$1 limit=$2 start
    shift 2
    start=$(frames_now)
    last_frame=-1
    until "$@"; do
        still_running "$what"
        [ $(($(frames_now) - start)) -le "$limit" ] || return 1
        sleep 0.1
    done
}

# Waits for the program to end by itself: false when it still runs after LIMIT
# of its frames. finish then takes its status.
wait_end() {  # LIMIT WHAT it ends after
    local start
    start=$(frames_now)
    last_frame=-1
    while kill -0 "$game_pid" 2>/dev/null; do
        drawing "$2"
        [ $(($(frames_now) - start)) -le "$1" ] || return 1
        sleep 0.1
    done
}

wait_frames() {  # COUNT [WHAT it waits after]
    local until=$(($(frames_now) + $1))
    last_frame=-1
    while [ "$(frames_now)" -lt "$until" ]; do
        still_running "${2:-$1 frames}"
        sleep 0.05
    done
}
