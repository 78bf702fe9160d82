#!/bin/bash
# The game's window on a desktop: window.sh CASE PROGRAM VPAD DATA_DIR
#
# Each case runs the real program in a fresh folder on a private Xvfb with a
# window manager (openbox), played through vpad's keyboard mode with real X
# input from xdotool, and checks the window and screenshots of it. Frames are
# slow on a loaded machine, so every check waits for its condition.
set -u
case_name=$1 program=$2 vpad=$3 data=$4

work=$(mktemp -d /tmp/zynthra_window_XXXXXX)
game_dir=$work/game
. "$(dirname "$0")/common.sh"
win=""

# As the shared fail, and the last screenshot kept where it outlives the case.
fail() {
    echo "FAIL ($case_name): $*"
    program_logs
    [ -s "$work/last.png" ] && cp "$work/last.png" "/tmp/zynthra_window_$case_name.png" &&
        echo "--- last screenshot: /tmp/zynthra_window_$case_name.png"
    exit 1
}

# A desktop of the given size with a window manager.
start_desktop() {
    command -v openbox >/dev/null && command -v wmctrl >/dev/null ||
        fail "openbox and wmctrl are needed (scripts/setup installs them)"
    start_xvfb "$1x24"
    openbox --sm-disable >"$work/openbox.txt" 2>&1 &
    pids+=($!)
    # It starts slowly on a busy machine: wait while it runs, and if it ends, say why.
    wait_for 30 wm_up_or_gone "$!"
    wmctrl -m >/dev/null 2>&1 || fail "openbox did not start: $(cat "$work/openbox.txt")"
}

wm_up_or_gone() {
    wmctrl -m >/dev/null 2>&1 || ! kill -0 "$1" 2>/dev/null
}

start_game() {
    fresh_game_dir
    SDL_AUDIODRIVER=dummy timeout 150 env LD_PRELOAD="$vpad${LD_PRELOAD:+:$LD_PRELOAD}" VPAD_MODE=keyboard "$program" "$@" \
        >"$work/out.txt" 2>"$work/err.txt" &
    game_pid=$!
    wait_for 30 find_window || fail "no window of class $(basename "$program")"
    xdotool windowactivate --sync "$win" >/dev/null 2>&1
}

find_window() {
    win=$(xdotool search --classname "^$(basename "$program")\$" 2>/dev/null | head -n 1)
    [ -n "$win" ]
}

window_size() {
    xwininfo -id "$win" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'
}

size_is() { [ "$(window_size)" = "$1" ]; }

# The game's window as shown, into $work/last.png (and FILE when given).
shot() {
    xwd -silent -id "$win" | /usr/bin/convert xwd:- "$work/last.png" 2>/dev/null || return 1
    [ -z "${1:-}" ] || cp "$work/last.png" "$1"
}

# Pixels brighter than 80% grey in the rectangle X Y W H of the last screenshot.
bright() {
    count_bright "$work/last.png" "$@"
}

# The brightest channel value (0..255) in the rectangle X Y W H of the last screenshot.
brightest() {
    /usr/bin/convert "$work/last.png" -crop "${3}x${4}+${1}+${2}" +repage -separate -evaluate-sequence max \
        -format '%[fx:round(maxima*255)]' info:
}

# The title screen drawn at 1x: "Quit" ends the menu where it ends at 1x
# (a frame still drawn at 2x shows "Credits" and "Quit" below it).
title_at_1x() { text_at 0 128 70 32 && [ "$(bright 0 170 200 130)" -lt 30 ]; }

# The mean of the last screenshot's blue channel, in thousandths of full.
blue_level() {
    /usr/bin/convert "$work/last.png" -format '%[fx:round(mean.b*1000)]' info:
}

# Text is drawn in the rectangle X Y W H of a fresh screenshot.
text_at() {
    shot && [ "$(bright "$@")" -ge 100 ]
}

# The title screen's "New Game" at the picture's top left, scaled by SCALE from X Y.
title_shown() { text_at "$1" "$2" "$(($3 * 140))" "$(($3 * 32))"; }

# Black bars: nothing at all is drawn in the rectangle X Y W H of the last screenshot.
black() { [ "$(brightest "$@")" = 0 ]; }

# letterboxed "PICTURE TEXT RECT" "BAR RECT" "BAR RECT": a fresh screenshot
# shows text in the picture and the two bars black. A resized window shows the
# new picture only from the game's next frame on, so callers wait for this.
letterboxed() {
    text_at $1 && black $2 && black $3
}

describe_bars() {
    echo "bars' brightest values $(brightest $1) and $(brightest $2), text pixels $(bright $3)"
}

# A new game from the title screen; "Bombs:3" at the picture's bottom right
# tells it is running (at 2x: from (1300, 890)).
new_game() {
    wait_for 60 title_shown 0 0 2 || fail "no title screen"
    xdotool key Return
    wait_for 60 text_at 1300 890 200 60 || fail "no game started"
}

case_window_opens() {
    start_desktop 1920x1080
    start_game
    wait_for 20 size_is 1600x960 || fail "window is $(window_size), not 1600x960 (2 x 800 x 480)"
    local class
    class=$(xprop -id "$win" WM_CLASS)
    [ "$class" = "WM_CLASS(STRING) = \"$(basename "$program")\", \"$(basename "$program")\"" ] || fail "$class"
    xprop -id "$win" _NET_WM_ICON | grep -q 'Icon (128 x 128)' || fail "no 128 x 128 icon on the window"
    # The whole window is the picture at 2x: "New Game" at the top left, twice its size.
    wait_for 60 title_shown 0 0 2 || fail "no title screen at 2x"
    shot "$work/title-2x.png"
    [ "$(bright 0 64 280 64)" -ge 100 ] || fail "no \"Options\" at 2x below \"New Game\""
    # Lines and points widen with the picture: the blue arena lights the picture
    # as much at 2x as at 1x (lines that kept their width: about three quarters).
    local blue2x blue1x
    blue2x=$(blue_level)
    xdotool windowsize "$win" 800 480
    wait_for 20 size_is 800x480 || fail "window is $(window_size), not 800x480"
    wait_for 30 title_at_1x || fail "no title screen at 1x"
    blue1x=$(blue_level)
    [ $((blue2x * 10)) -ge $((blue1x * 9)) ] || fail "lines thinner at 2x: blue level $blue2x, $blue1x at 1x"
}

case_full_screen() {
    start_desktop 1920x1080
    start_game
    wait_for 20 size_is 1600x960 || fail "window is $(window_size)"
    wait_for 60 title_shown 0 0 2 || fail "no title screen"
    xdotool key F11
    wait_for 20 size_is 1920x1080 || fail "F11: window is $(window_size), not full screen"
    # 1920 x 1080 holds a 1800 x 1080 picture: a 60-pixel bar on either side.
    wait_for 30 letterboxed "60 0 280 64" "0 0 60 1080" "1860 0 60 1080" ||
        fail "full screen: $(describe_bars "0 0 60 1080" "1860 0 60 1080" "60 0 280 64")"
    xdotool key F11
    wait_for 20 size_is 1600x960 || fail "F11 again: window is $(window_size), not 1600x960"
}

case_full_screen_option() {
    start_desktop 1920x1080
    start_game --fullscreen
    wait_for 20 size_is 1920x1080 || fail "--fullscreen: window is $(window_size)"
}

case_letterbox() {
    start_desktop 1920x1080
    start_game
    wait_for 20 size_is 1600x960 || fail "window is $(window_size)"
    # Taller than 5:3: a 1000 x 600 picture with 150-pixel bars above and below.
    xdotool windowsize "$win" 1000 900
    wait_for 20 size_is 1000x900 || fail "window is $(window_size), not 1000x900"
    wait_for 30 letterboxed "0 150 175 40" "0 0 1000 150" "0 750 1000 150" ||
        fail "1000 x 900: $(describe_bars "0 0 1000 150" "0 750 1000 150" "0 150 175 40")"
    # Wider than 5:3: an 833 x 500 picture with bars of 333 and 334 pixels beside it.
    xdotool windowsize "$win" 1500 500
    wait_for 20 size_is 1500x500 || fail "window is $(window_size), not 1500x500"
    wait_for 30 letterboxed "333 0 145 34" "0 0 333 500" "1166 0 334 500" ||
        fail "1500 x 500: $(describe_bars "0 0 333 500" "1166 0 334 500" "333 0 145 34")"
    # Smaller than the handheld's screen: everything scales down alike.
    xdotool windowsize "$win" 400 240
    wait_for 20 size_is 400x240 || fail "window is $(window_size), not 400x240"
    wait_for 30 text_at 0 0 70 16 || fail "no title screen at half size"
}

# Bright pixels left and right of the ship (the middle of the 1600 x 960 window).
laser_sides() {
    shot && echo "$(bright 180 380 540 200) $(bright 880 380 540 200)"
}

aims_right() { local s; s=$(laser_sides) && set -- $s && [ "$2" -gt $(($1 + 150)) ]; }
aims_left() { local s; s=$(laser_sides) && set -- $s && [ "$1" -gt $(($2 + 150)) ]; }

case_mouse_aim() {
    start_desktop 1920x1080
    start_game
    wait_for 20 size_is 1600x960 || fail "window is $(window_size)"
    new_game
    # Hold the button to the right of the ship, then to its left: the shots follow.
    xdotool mousemove --window "$win" 1500 480 mousedown 1
    wait_for 30 aims_right || fail "aiming right: bright pixels left/right of the ship: $(laser_sides)"
    xdotool mousemove --window "$win" 100 480
    wait_for 30 aims_left || fail "aiming left: bright pixels left/right of the ship: $(laser_sides)"
    xdotool mouseup 1
}

# "Return to menu", the pause menu's third line (at 2x).
pause_menu_shown() { text_at 0 128 400 60; }

case_focus_pause() {
    start_desktop 1920x1080
    start_game
    wait_for 20 size_is 1600x960 || fail "window is $(window_size)"
    new_game
    pause_menu_shown && fail "the pause menu is up before the focus left"
    # Another program's window takes the focus.
    xlogo -geometry 200x200+10+10 &
    pids+=($!)
    wait_for 20 sh -c '[ "$(xdotool getwindowfocus)" != "'"$win"'" ]' || fail "the focus did not move"
    wait_for 30 pause_menu_shown || fail "no pause after the focus left"
}

case_close_button() {
    start_desktop 1920x1080
    start_game
    wait_for 60 title_shown 0 0 2 || fail "no title screen"
    # Into the options, music volume up; the options screen writes its
    # file only when left, so the close button must save it.
    xdotool key Down
    sleep 0.4
    xdotool key Return
    wait_for 30 text_at 320 0 240 64 || fail "no options screen (\"Music Volume: 50%\" at 2x)"
    sleep 0.4
    xdotool key Right
    sleep 0.4
    wmctrl -i -c "$win"
    finish
    [ "$status" = 0 ] || fail "exit status $status after the close button, 0 expected"
    # The volume steps while the key is held: any rise will do.
    awk -F '\t' '$1 == "music" && $2 > 50 { up = 1 } END { exit !up }' config.txt ||
        fail "config.txt holds: $(cat -A config.txt)"
    [ -s highScores.txt ] || fail "no highScores.txt"
}

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
    wait_for 30 pause_menu_shown || fail "no pause menu"
    xdotool key Down sleep 0.4 key Down sleep 0.4 key Return
    wait_for 30 text_at 0 256 480 64 || fail "no name entry (\"New high score!\" at 2x)"
    sleep 0.4
    xdotool type --delay 120 ab
    wait_for 30 text_at 0 384 64 64 || fail "the letters typed do not show"
    wmctrl -i -c "$win"
    finish
    [ "$status" = 0 ] || fail "exit status $status after the close button, 0 expected"
    local expected=$'ann\t900\nbo\t800\ncy\t700\ndi\t600\ned\t500\nab\t0\nfay\t-1\ngus\t-2\nhal\t-3\nivy\t-4\n'
    [ "$(cat highScores.txt)" = "${expected%$'\n'}" ] || fail "highScores.txt holds: $(cat -A highScores.txt)"
}

case_handheld() {
    start_desktop 800x480
    start_game
    wait_for 20 size_is 800x480 || fail "window is $(window_size)"
    xprop -id "$win" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN || fail "not full screen on 800 x 480"
    xwininfo -id "$win" | grep -q 'Absolute upper-left X:  0' || fail "window not at the screen's left edge"
}

"case_$case_name"
echo "PASS ($case_name)"
