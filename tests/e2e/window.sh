#!/bin/bash
# The game's window on a desktop: window.sh CASE PROGRAM VPAD SEETEXT DATA_DIR
#
# Each case runs the real program in a fresh folder on a private Xvfb with a
# window manager (openbox), played through vpad's keyboard mode with real X
# input from xdotool, and checks the window and screenshots of it. Frames are
# slow on a loaded machine, so every check waits for its condition, for a count
# of the game's frames; screens are told by their text (SEETEXT).
set -u
case_name=$1 program=$2 vpad=$3 seetext=$4 data=$5

work=$(mktemp -d /tmp/zynthra_window_XXXXXX)
game_dir=$work/game
. "$(dirname "$0")/common.sh"
win=""
wm_pid=""

# As the shared fail, with the window manager's state, and the last screenshot
# kept where it outlives the case.
fail() {
    echo "FAIL ($case_name): $*"
    program_logs
    x_server_state
    wm_state
    [ -s "$work/last.png" ] && cp "$work/last.png" "/tmp/zynthra_window_$case_name.png" &&
        echo "--- last screenshot: /tmp/zynthra_window_$case_name.png"
    exit 1
}

wm_state() {
    [ -n "$wm_pid" ] || return 0
    if ! kill -0 "$wm_pid" 2>/dev/null; then
        echo "--- the window manager (openbox, pid $wm_pid) has ended; its output:"
        cat "$work/openbox.txt"
    elif ! timeout 20 wmctrl -m >/dev/null 2>&1; then
        echo "--- the window manager (openbox, pid $wm_pid) runs but does not answer"
    else
        echo "--- the window manager (openbox) runs and manages the screen"
    fi
}

# A desktop of the given size with a window manager.
start_desktop() {
    command -v openbox >/dev/null && command -v wmctrl >/dev/null ||
        fail "openbox and wmctrl are needed (scripts/setup installs them)"
    start_xvfb "$1x24"
    openbox --sm-disable >"$work/openbox.txt" 2>&1 &
    wm_pid=$!
    pids+=($!)
    # It starts slowly on a busy machine: wait while it runs, and if it ends, say why.
    wait_for 60 wm_up_or_gone "$!"
    wmctrl -m >/dev/null 2>&1 || fail "the window manager (openbox) did not start: $(cat "$work/openbox.txt")"
}

wm_up_or_gone() {
    wmctrl -m >/dev/null 2>&1 || ! kill -0 "$1" 2>/dev/null
}

start_game() {
    fresh_game_dir
    SDL_AUDIODRIVER=dummy timeout 600 env LD_PRELOAD="$vpad${LD_PRELOAD:+:$LD_PRELOAD}" VPAD_MODE=keyboard \
        VPAD_PACE_HZ=30 VPAD_FRAME_FILE="$work/frames" "$program" "$@" >"$work/out.txt" 2>"$work/err.txt" &
    game_pid=$!
    wait_frames_for "its window" 300 find_window || fail "no window of class $(basename "$program")"
    xdotool windowactivate --sync "$win" >/dev/null 2>&1
}

# Waits up to LIMIT of the game's frames for CHECK..., else fails saying WHAT
# was not there.
within() {  # LIMIT WHAT CHECK...
    local limit=$1 what=$2
    shift 2
    wait_frames_for "$what" "$limit" "$@" || fail "$what: not within $limit frames (last look: $(seen))"
}

find_window() {
    win=$(xdotool search --classname "^$(basename "$program")\$" 2>/dev/null | head -n 1)
    [ -n "$win" ]
}

window_size() {
    xwininfo -id "$win" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'
}

size_is() { [ "$(window_size)" = "$1" ]; }

size_becomes() {
    wait_frames_for "a window of $1" 600 size_is "$1" || fail "window is $(window_size), not $1"
}

# The game's window as shown, into $work/last.png (and FILE when given).
shot() {
    xwd -silent -id "$win" | /usr/bin/convert xwd:- "$work/last.png" 2>/dev/null || return 1
    [ -z "${1:-}" ] || cp "$work/last.png" "$1"
}

# The brightest channel value (0..255) in the rectangle X Y W H of the last screenshot.
brightest() {
    /usr/bin/convert "$work/last.png" -crop "${3}x${4}+${1}+${2}" +repage -separate -evaluate-sequence max \
        -format '%[fx:round(maxima*255)]' info:
}

# The title screen drawn at 1x: "Quit" where it is at 1x (a frame still drawn
# at 2x shows "High Scores" there, twice the size).
title_at_1x() { text_at 0 128 "Quit"; }

# The mean of the last screenshot's blue channel, in thousandths of full.
blue_level() {
    /usr/bin/convert "$work/last.png" -format '%[fx:round(mean.b*1000)]' info:
}

# The game's TEXT at X Y of its picture, at whatever size and place the window
# shows the picture, in a fresh screenshot.
text_at() {  # X Y TEXT
    shot && text_shown "$work/last.png" "$@"
}

title_shown() { text_at 0 0 "New Game"; }

# Black bars: nothing at all is drawn in the rectangle X Y W H of the last screenshot.
black() { [ "$(brightest "$@")" = 0 ]; }

# letterboxed "BAR RECT" "BAR RECT": a fresh screenshot shows the title's
# "New Game" where the letterboxed picture begins and the two bars black. A
# resized window shows the new picture only from the game's next frame on, so
# callers wait for this.
letterboxed() {
    title_shown && black $1 && black $2
}

becomes_letterboxed() {  # BAR RECT, BAR RECT
    wait_frames_for "the picture letterboxed" 600 letterboxed "$1" "$2" ||
        fail "$(window_size) not letterboxed: bars' brightest values $(brightest $1) and $(brightest $2); $(seen)"
}

# A new game from the title screen; the HUD's "Bombs:" at the picture's bottom
# right tells it is running.
new_game() {
    within 600 "title screen" title_shown
    xdotool key Return
    within 600 "a game started" text_at 650 445 "Bombs:"
}

case_window_opens() {
    start_desktop 1920x1080
    start_game
    size_becomes 1600x960
    local class
    class=$(xprop -id "$win" WM_CLASS)
    [ "$class" = "WM_CLASS(STRING) = \"$(basename "$program")\", \"$(basename "$program")\"" ] || fail "$class"
    xprop -id "$win" _NET_WM_ICON | grep -q 'Icon (128 x 128)' || fail "no 128 x 128 icon on the window"
    # The whole window is the picture at 2x: "New Game" at the top left, twice its size.
    within 600 "title screen at 2x" title_shown
    text_shown "$work/last.png" 0 32 "Options" || fail "no \"Options\" at 2x below \"New Game\": $(seen)"
    # Lines and points widen with the picture: the blue arena lights the picture
    # as much at 2x as at 1x (lines that kept their width: about three quarters).
    local blue2x blue1x
    blue2x=$(blue_level)
    xdotool windowsize "$win" 800 480
    size_becomes 800x480
    within 600 "title screen at 1x" title_at_1x
    blue1x=$(blue_level)
    [ $((blue2x * 10)) -ge $((blue1x * 9)) ] || fail "lines thinner at 2x: blue level $blue2x, $blue1x at 1x"
}

case_full_screen() {
    start_desktop 1920x1080
    start_game
    size_becomes 1600x960
    within 600 "title screen" title_shown
    xdotool key F11
    size_becomes 1920x1080
    # 1920 x 1080 holds a 1800 x 1080 picture: a 60-pixel bar on either side.
    becomes_letterboxed "0 0 60 1080" "1860 0 60 1080"
    xdotool key F11
    size_becomes 1600x960
}

case_full_screen_option() {
    start_desktop 1920x1080
    start_game --fullscreen
    size_becomes 1920x1080
}

case_letterbox() {
    start_desktop 1920x1080
    start_game
    size_becomes 1600x960
    # Taller than 5:3: a 1000 x 600 picture with 150-pixel bars above and below.
    xdotool windowsize "$win" 1000 900
    size_becomes 1000x900
    becomes_letterboxed "0 0 1000 150" "0 750 1000 150"
    # Wider than 5:3: an 833 x 500 picture with bars of 333 and 334 pixels beside it.
    xdotool windowsize "$win" 1500 500
    size_becomes 1500x500
    becomes_letterboxed "0 0 333 500" "1166 0 334 500"
    # Smaller than the handheld's screen: everything scales down alike.
    xdotool windowsize "$win" 400 240
    size_becomes 400x240
    within 600 "title screen at half size" title_shown
}

# Pixels of the shots' colour left and right of the ship (the middle of the
# 1600 x 960 window).
laser_sides() {
    shot && echo "$(shot_pixels "$work/last.png" 180 380 540 200) $(shot_pixels "$work/last.png" 880 380 540 200)"
}

aims_right() { local s; s=$(laser_sides) && set -- $s && [ "$2" -ge 100 ] && [ "$1" -lt 20 ]; }
aims_left() { local s; s=$(laser_sides) && set -- $s && [ "$1" -ge 100 ] && [ "$2" -lt 20 ]; }

case_mouse_aim() {
    start_desktop 1920x1080
    start_game
    size_becomes 1600x960
    new_game
    # Hold the button to the right of the ship, then to its left: the shots follow.
    xdotool mousemove --window "$win" 1500 480 mousedown 1
    wait_frames_for "shots to the right" 600 aims_right ||
        fail "aiming right: shot pixels left/right of the ship: $(laser_sides)"
    xdotool mousemove --window "$win" 100 480
    wait_frames_for "shots to the left" 600 aims_left ||
        fail "aiming left: shot pixels left/right of the ship: $(laser_sides)"
    xdotool mouseup 1
}

# The pause menu over the frozen game: "Paused" and its third line.
pause_menu_shown() { text_at 340 220 "Paused" && text_shown "$work/last.png" 0 64 "Return to menu"; }

case_focus_pause() {
    start_desktop 1920x1080
    start_game
    size_becomes 1600x960
    new_game
    text_at 340 220 "Paused" && fail "the pause menu is up before the focus left: $(seen)"
    # Another program's window takes the focus, beside the game's window.
    xlogo -geometry 200x200-10-10 &
    pids+=($!)
    within 600 "the focus on another window" focus_left
    within 600 "the pause menu after the focus left" pause_menu_shown
}

focus_left() { [ "$(xdotool getwindowfocus)" != "$win" ]; }

case_close_button() {
    start_desktop 1920x1080
    start_game
    within 600 "title screen" title_shown
    # Into the options, music volume up; the options screen writes its
    # file only when left, so the close button must save it.
    xdotool key Down
    wait_frames 12 "Down to be taken"
    xdotool key Return
    within 600 "the options screen" text_at 0 0 "Music Volume: 50%"
    xdotool key Right
    within 600 "the music volume raised" music_raised
    wmctrl -i -c "$win"
    finish
    [ "$status" = 0 ] || fail "exit status $status after the close button, 0 expected"
    # The volume steps while the key is held: any rise will do.
    awk -F '\t' '$1 == "music" && $2 > 50 { up = 1 } END { exit !up }' config.txt ||
        fail "config.txt holds: $(cat -A config.txt)"
    [ -s highScores.txt ] || fail "no highScores.txt"
}

# "Music Volume: 5x%" no longer ending in 0 (the line at 2x).
music_raised() { text_at 0 0 "Music Volume: 5" && text_absent "$work/last.png" 240 0 "0"; }

# The close button during name entry: every name stays beside its own score and
# the new row keeps the letters typed so far.
case_close_name_entry() {
    start_desktop 1920x1080
    # The table goes into the fresh folder with the data: its last rows are
    # negative, so a game left at once enters it.
    mkdir "$work/data" && cp "$data"/* "$work/data/" || fail "cannot copy the data"
    printf 'ann\t900\nbo\t800\ncy\t700\ndi\t600\ned\t500\nfay\t-1\ngus\t-2\nhal\t-3\nivy\t-4\njo\t-5\n' \
        >"$work/data/highScores.txt"
    data=$work/data
    start_game
    new_game
    xdotool key Escape
    within 600 "the pause menu" pause_menu_shown
    # Down twice to "Return to menu", each press past the menu's repeat gate.
    xdotool key Down
    wait_frames 30 "Down to be taken"
    xdotool key Down
    wait_frames 30 "Down to be taken"
    xdotool key Return
    within 600 "name entry" text_at 0 128 "New high score!"
    wait_frames 30 "the keyboard's repeat gate"
    xdotool type --delay 120 ab
    within 600 "the letters typed" text_at 0 192 "ab"
    wmctrl -i -c "$win"
    finish
    [ "$status" = 0 ] || fail "exit status $status after the close button, 0 expected"
    local expected=$'ann\t900\nbo\t800\ncy\t700\ndi\t600\ned\t500\nab\t0\nfay\t-1\ngus\t-2\nhal\t-3\nivy\t-4\n'
    [ "$(cat highScores.txt)" = "${expected%$'\n'}" ] || fail "highScores.txt holds: $(cat -A highScores.txt)"
}

case_handheld() {
    start_desktop 800x480
    start_game
    size_becomes 800x480
    xprop -id "$win" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN || fail "not full screen on 800 x 480"
    xwininfo -id "$win" | grep -q 'Absolute upper-left X:  0' || fail "window not at the screen's left edge"
}

"case_$case_name"
echo "PASS ($case_name)"
