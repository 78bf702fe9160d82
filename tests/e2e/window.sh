#!/bin/bash
# The game on a desktop, as a player has it: window.sh CASE PROGRAM SEETEXT DATA_DIR CASE_DIR [VPAD]
#
# PROGRAM is the SDL 2 edition, with no preload: each case runs it in a fresh
# folder on a private Xvfb with a window manager (openbox), played with real X
# input from xdotool or by its own --script (game pads, replays), and checks
# its window, the screenshots of it and its files. Waits count the program's
# simulation steps (--frame-file), never seconds; screens are told by their
# text (SEETEXT). The handheld case runs the handheld program with VPAD.
set -u
case_name=$1 program=$2 seetext=$3 data=$4 here=$5 vpad=${6:-}

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

# Starts the program in a fresh folder with the given options, counting its
# steps, and waits for its window to take the focus.
start_game() {
    fresh_game_dir
    launch_game "$@"
    wait_frames_for "its window" 300 find_window || fail "no window of process $game_pid"
    xdotool windowactivate --sync "$win" >/dev/null 2>&1
}

# The program itself is the job (no wrapper), so its pid names its windows.
launch_game() {
    SDL_AUDIODRIVER=dummy "$program" --frame-file "$work/frames" "$@" >"$work/out.txt" 2>"$work/err.txt" &
    game_pid=$!
}

# The game's clock held, a step every four drawn frames: a case that plays a
# while with live input lasts the same few seconds of the game's time (a ship
# that stands still is soon shot down) however fast or slowly it is drawn.
held_clock=(--script "$here/held_clock.vpad" --frame-rate 240)

# Waits up to LIMIT of the game's frames for CHECK..., else fails saying WHAT
# was not there.
within() {  # LIMIT WHAT CHECK...
    local limit=$1 what=$2
    shift 2
    wait_frames_for "$what" "$limit" "$@" || fail "$what: not within $limit frames (last look: $(seen))"
}

find_window() {
    win=$(xdotool search --onlyvisible --pid "$game_pid" 2>/dev/null | head -n 1)
    [ -n "$win" ]
}

# The handheld program names no process on its window: its class tells it.
handheld_window() {
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

# The game's window as the X server shows it, into $work/last.png.
shot() {
    xwd -silent -id "$win" | /usr/bin/convert xwd:- "$work/last.png" 2>/dev/null
}

# The brightest channel value (0..255) in the rectangle X Y W H of the last screenshot.
brightest() {
    /usr/bin/convert "$work/last.png" -crop "${3}x${4}+${1}+${2}" +repage -separate -evaluate-sequence max \
        -format '%[fx:round(maxima*255)]' info:
}

# The game's TEXT at X Y of its picture, at whatever size and place the window
# shows the picture, in a fresh screenshot.
text_at() {  # X Y TEXT
    shot && text_shown "$work/last.png" "$@"
}

title_shown() { text_at 0 0 "New Game" && text_shown "$work/last.png" 0 128 "Quit"; }

# Black bars: nothing at all is drawn in the rectangle X Y W H of the last screenshot.
black() { [ "$(brightest "$@")" = 0 ]; }

# letterboxed "BAR RECT" "BAR RECT": a fresh screenshot shows the title where
# the letterboxed picture begins and the two bars black. A resized window shows
# the new picture only from the game's next frame on, so callers wait for this.
letterboxed() {
    title_shown && black $1 && black $2
}

becomes_letterboxed() {  # BAR RECT, BAR RECT
    wait_frames_for "the picture letterboxed" 600 letterboxed "$1" "$2" ||
        fail "$(window_size) not letterboxed: bars' brightest values $(brightest $1) and $(brightest $2); $(seen)"
}

# Resized to W x H: the picture letterboxed between the two bars.
resized_letterboxed() {  # W H "BAR RECT" "BAR RECT"
    xdotool windowsize "$win" "$1" "$2"
    size_becomes "$1x$2"
    becomes_letterboxed "$3" "$4"
}

# The HUD's "Bombs:" at the picture's bottom right shows only in play.
playing() { text_at 650 445 "Bombs:"; }

# A new game from the title screen.
new_game() {
    within 600 "title screen" title_shown
    # A key sent before the window manager has given the window the focus
    # goes nowhere (seen on a loaded machine): make sure of the focus and
    # press again while no game has started. In play a stray Return only fires.
    local try
    for try in 1 2 3; do
        xdotool windowactivate --sync "$win" >/dev/null 2>&1
        xdotool key Return
        wait_frames_for "a game started" 300 playing && return
    done
    fail "a game started: not after three presses of Return, 300 frames apart"
}

case_window_opens() {
    start_desktop 1920x1080
    start_game
    size_becomes 1600x960
    # The class is the program's name, which the installed menu entries name.
    local class
    class=$(xprop -id "$win" WM_CLASS)
    [[ $class == *\"$(basename "$program")\"* ]] || fail "the window's class is not the program's name: $class"
    xprop -id "$win" _NET_WM_ICON | grep -q 'Icon (128 x 128)' || fail "no 128 x 128 icon on the window"
    # The whole window is the picture at 2x: "New Game" at the top left, twice its size.
    within 600 "title screen at 2x" title_shown
    [ "$(/usr/bin/identify -format '%wx%h' "$work/last.png")" = 1600x960 ] || fail "the screenshot is not 1600 x 960"
    text_shown "$work/last.png" 0 32 "Options" || fail "no \"Options\" at 2x below \"New Game\": $(seen)"
    black 0 0 1600 1 && fail "the picture at 2x leaves a bar at the top"
    xdotool windowsize "$win" 800 480
    size_becomes 800x480
    within 600 "title screen at 1x" title_shown
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
    becomes_letterboxed "0 0 60 1080" "1860 0 60 1080"
}

case_letterbox() {
    start_desktop 1920x1080
    start_game
    size_becomes 1600x960
    # Below the handheld's 800 x 480 too: 640 x 480 holds a 640 x 384 picture
    # between bars of 48 above and below; 720 x 720 a 720 x 432 one between 144s.
    resized_letterboxed 640 480 "0 0 640 48" "0 432 640 48"
    resized_letterboxed 720 720 "0 0 720 144" "0 576 720 144"
    # Taller than 5:3: a 1024 x 614 picture with 77-pixel bars.
    resized_letterboxed 1024 768 "0 0 1024 77" "0 691 1024 77"
    # Wider than 5:3: 1280 x 720 holds a 1200 x 720 picture, 1280 x 800 a 1280 x 768 one.
    resized_letterboxed 1280 720 "0 0 40 720" "1240 0 40 720"
    resized_letterboxed 1280 800 "0 0 1280 16" "0 784 1280 16"
}

# Pixels of the shots' colour left and right of the ship (the middle of the
# 1600 x 960 window).
laser_sides() {
    shot && echo "$(shot_pixels "$work/last.png" 180 380 540 200) $(shot_pixels "$work/last.png" 880 380 540 200)"
}

aims_right() { local s; s=$(laser_sides) && set -- $s && [ "$2" -ge 100 ] && [ "$1" -lt 20 ]; }
aims_left() { local s; s=$(laser_sides) && set -- $s && [ "$1" -ge 100 ] && [ "$2" -lt 20 ]; }

# Live mouse aim on the held clock (below): about two seconds of the game.
case_mouse_aim() {
    start_desktop 1920x1080
    start_game "${held_clock[@]}"
    size_becomes 1600x960
    new_game
    local started
    started=$(frames_now)
    # Hold the button to the right of the ship, then to its left: the shots follow.
    xdotool mousemove --window "$win" 1500 480 mousedown 1
    wait_frames_for "shots to the right" 240 aims_right ||
        fail "aiming right: shot pixels left/right of the ship: $(laser_sides)"
    xdotool mousemove --window "$win" 100 480
    wait_frames_for "shots to the left" 240 aims_left ||
        fail "aiming left: shot pixels left/right of the ship: $(laser_sides)"
    xdotool mouseup 1
    echo "aimed right and left $(($(frames_now) - started)) steps into the game"
}

# ---- the keyboard: on the handheld-sized screen, where the window is the picture

# Keys pressed one after another, each in its own steps: the menus take one
# action per press, at most one each 0.2 s (12 steps).
keys() {
    local key
    for key in "$@"; do
        xdotool key "$key" || fail "xdotool key $key"
        wait_frames 12 "$key to be taken"
    done
}

# Waits for SCREEN (a check of the game's picture), then lets the menus' repeat
# guard open again.
wait_until() {  # WHAT SCREEN
    within 600 "$1" "$2"
    wait_frames 12 "$1"
}

main_menu() { title_shown; }
score_screen() { text_at 312 0 "High Scores"; }
paused() { text_at 340 220 "Paused"; }
pause_menu() { text_at 0 64 "Return to menu"; }
options_open() { text_at 0 0 "Music Volume:" && text_shown "$work/last.png" 0 128 "Back"; }
name_entry() { text_at 0 128 "New high score!" && text_shown "$work/last.png" 0 160 "Enter your name:"; }
# The menus' selection bar (green) on "Quit", the main menu's fifth line.
quit_chosen() { main_menu && selection_on "$work/last.png" 128; }

# The green selection bar behind the line at Y of the 800 x 480 picture in FILE:
# nothing else in the menus is that green there.
selection_on() {  # FILE Y
    [ "$(/usr/bin/convert "$1" -crop "60x24+2+$(($2 + 4))" +repage -fx 'g > 0.25 && r < 0.2 ? 1 : 0' \
        -format '%[fx:round(mean*w*h)]' info:)" -ge 300 ]
}

# Escape is back in the menus (the pause menu's options too) and pause in play,
# P pauses too, Left Alt does not, W A S D are the d-pad, and a name typed as
# fast as xdotool types arrives whole.
case_desktop_keys() {
    start_desktop 800x480
    mkdir "$work/data" && cp "$data"/* "$work/data/" || fail "cannot copy the data"
    local table=$'ann\t900\nbo\t800\ncy\t700\ndi\t600\ned\t500\nfay\t400\ngus\t300\nhal\t200\nivy\t100\n'
    printf '%s' "$table"$'low\t-1\n' >"$work/data/highScores.txt"
    data=$work/data
    start_game "${held_clock[@]}"
    wait_until "main menu" main_menu
    keys s s Return
    wait_until "high-score screen" score_screen
    keys Escape
    wait_until "main menu after Escape" main_menu
    keys Return
    wait_until "game" playing
    keys Alt_L
    playing || fail "Left Alt paused the game ($(seen))"
    keys Escape
    wait_until "pause after Escape" paused
    keys Escape
    wait_until "game again after Escape" playing
    keys p
    wait_until "pause after P" paused
    keys Return  # "Options", the pause menu's first line
    wait_until "options from the pause menu" options_open
    keys Escape
    wait_until "pause menu after Escape in its options" pause_menu
    keys Down Down Return  # "Return to menu"
    wait_until "name entry" name_entry
    xdotool type --delay 1 tester || fail "xdotool type"
    within 600 "the name typed" text_at 0 192 "tester"
    keys Return
    wait_until "high-score screen with the name" score_screen
    [ "$(cat highScores.txt)" = "$table"$'tester\t0' ] || fail "highScores.txt holds: $(cat -A highScores.txt)"
    keys Escape
    wait_until "main menu after the scores" main_menu
    keys w
    wait_until "Quit chosen with W" quit_chosen
    xdotool key Return
    wait_end 600 "Quit" || fail "the program still runs after Quit"
    finish
    [ "$status" = 0 ] || fail "exit status $status after Quit, 0 expected"
}

# ---- a game pad: SDL's virtual pad, plugged in by the program's own script

# The ship's own white at the centre of the 800 x 480 picture in FILE, where it
# stays: it turns when steered. Enemies, shots and the arena are coloured;
# only a burst of sparks there could be as white.
ship_area() {  # FILE OUT
    /usr/bin/convert "$1" -crop 80x80+360+200 +repage -fx 'r > 0.9 && g > 0.9 && b > 0.9 ? 1 : 0' "$2"
}

# A pad plugged in while the game runs starts a game, steers, fires, bombs,
# pauses, is unplugged and plugged in again, resumes, returns to the menu and
# quits: the script only plugs it and moves its sticks and buttons; the game
# reads it through SDL's game-controller support like any pad.
case_gamepad() {
    start_desktop 800x480
    start_game --script "$here/gamepad.vpad"
    wait_end 3000 "the pad's Quit" || fail "the program still runs after the pad chose Quit"
    finish
    [ "$status" = 0 ] || fail "exit status $status after the pad's Quit, 0 expected"
    local f
    for f in menu playing steered fired bombed paused resumed back quit; do
        [ -s "$f.png" ] || fail "the script snapped no $f.png"
    done
    # The places below are the 800 x 480 picture's: the window is the whole screen.
    [ "$(/usr/bin/identify -format '%wx%h' playing.png)" = 800x480 ] || fail "the snaps are not 800 x 480"
    text_shown playing.png 650 445 "Bombs:3" || fail "the pad's south button started no game: $(seen)"
    ship_area playing.png "$work/ship-before.png"
    ship_area steered.png "$work/ship-after.png"
    [ "$(/usr/bin/compare -metric AE "$work/ship-before.png" "$work/ship-after.png" null: 2>&1)" -ge 100 ] ||
        fail "the left stick did not turn the ship"
    [ "$(shot_pixels fired.png 450 225 250 30)" -ge 60 ] && [ "$(shot_pixels fired.png 100 225 250 30)" -lt 20 ] ||
        fail "the right stick did not fire right: shot pixels $(shot_pixels fired.png 450 225 250 30) right, $(shot_pixels fired.png 100 225 250 30) left"
    # Held, the shoulder bombs again as soon as it may: any count below 3 will do.
    text_shown bombed.png 650 445 "Bombs:2" || text_shown bombed.png 650 445 "Bombs:1" ||
        text_shown bombed.png 650 445 "Bombs:0" || fail "the right shoulder dropped no bomb: $(seen)"
    # The pause menu's own line: "Paused" itself may have the ship behind it.
    text_shown paused.png 0 64 "Return to menu" || fail "Start did not pause: $(seen)"
    text_shown resumed.png 650 445 "Bombs:" && text_absent resumed.png 0 64 "Return to menu" ||
        fail "the pad plugged in again did not resume the game: $(seen)"
    text_shown back.png 0 0 "New Game" || fail "the pad did not return to the menu: $(seen)"
    text_shown quit.png 0 128 "Quit" && selection_on quit.png 128 || fail "the d-pad did not choose Quit"
}

# ---- the window manager's focus and close button

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

# The pause menu over the frozen game: "Paused" and its third line.
pause_menu_shown() { text_at 340 220 "Paused" && text_shown "$work/last.png" 0 64 "Return to menu"; }

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
    wait_end 600 "the close button" || fail "the program still runs after the close button"
    finish
    [ "$status" = 0 ] || fail "exit status $status after the close button, 0 expected"
    # The volume steps while the key is held: any rise will do.
    awk -F '\t' '$1 == "music" && $2 > 50 { up = 1 } END { exit !up }' config.txt ||
        fail "config.txt holds: $(cat -A config.txt)"
    [ -s highScores.txt ] || fail "no highScores.txt"
}

# The options screen's volume line no longer at 50%. Right steps it up for as
# long as the game sees the key held, which on a loaded machine can be past 60.
music_raised() { text_at 0 0 "Music Volume: " && ! text_shown "$work/last.png" 0 0 "Music Volume: 50%"; }

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
    keys Down Down Return
    within 600 "name entry" text_at 0 128 "New high score!"
    wait_frames 30 "the keyboard's repeat gate"
    xdotool type ab
    within 600 "the letters typed" text_at 0 192 "ab"
    wmctrl -i -c "$win"
    wait_end 600 "the close button" || fail "the program still runs after the close button"
    finish
    [ "$status" = 0 ] || fail "exit status $status after the close button, 0 expected"
    local expected=$'ann\t900\nbo\t800\ncy\t700\ndi\t600\ned\t500\nab\t0\nfay\t-1\ngus\t-2\nhal\t-3\nivy\t-4\n'
    [ "$(cat highScores.txt)" = "${expected%$'\n'}" ] || fail "highScores.txt holds: $(cat -A highScores.txt)"
}

# ---- replays: a seeded script plays the same game

# One whole seeded game (replay.vpad) in a fresh folder whose table the score
# tops; what it leaves goes into $work/NAME.
replay_run() {  # NAME
    local name=$1 rows=$'r1\t-1\nr2\t-1\nr3\t-1\nr4\t-1\nr5\t-1\nr6\t-1\nr7\t-1\nr8\t-1\nr9\t-1\nr10\t-1\n'
    fresh_game_dir
    printf '%s' "$rows" >highScores.txt
    # Four steps a drawn frame (a held 15 Hz display): the same game in a
    # quarter of the pictures.
    launch_game --script "$here/replay.vpad" --frame-rate 15
    # About 4000 steps, then the script quits.
    wait_end 6000 "the replay's quit" || fail "run $name: the script had not ended after 6000 steps"
    finish
    [ "$status" = 0 ] || fail "run $name: exit status $status, 0 expected"
    grep -qx $'\t[1-9][0-9]*' <(head -n 1 highScores.txt) ||
        fail "run $name: the game's score did not take the top row: $(head -n 2 highScores.txt | cat -A)"
    mkdir "$work/$name" && cp highScores.txt early.png play.png scores.png "$work/$name/" ||
        fail "run $name left no screenshots"
}

# replay.vpad snaps early.png at step 240: some steps later it is whole.
early_snapped() { [ -s early.png ] && [ "$(frames_now)" -gt 260 ]; }

same_game() {  # RUN RUN
    local f
    for f in highScores.txt early.png play.png scores.png; do
        cmp -s "$work/$1/$f" "$work/$2/$f" || fail "runs $1 and $2 left different $f"
    done
}

# The same script and seed play the same game: two runs leave the same
# high-score file and the same screenshots, early, in play and at the end. A run
# with another seed plays differently, so the likeness is the seed's doing.
case_replay() {
    start_desktop 800x480
    replay_run first
    replay_run second
    same_game first second
    echo "both runs: score $(head -n 1 "$work/first/highScores.txt" | cut -f 2), identical files and screenshots"
    fresh_game_dir
    launch_game --script "$here/replay.vpad" --seed 1 --frame-rate 15
    wait_frames_for "the early snap" 1200 early_snapped || fail "the run with another seed snapped nothing"
    cmp -s early.png "$work/first/early.png" && fail "another seed played the same game"
}

# ---- the handheld program on a screen of the handheld's size: full screen

case_handheld() {
    [ -n "$vpad" ] || fail "the handheld case needs vpad"
    start_desktop 800x480
    fresh_game_dir
    SDL_AUDIODRIVER=dummy env LD_PRELOAD="$vpad${LD_PRELOAD:+:$LD_PRELOAD}" VPAD_MODE=idle VPAD_PACE_HZ=30 \
        VPAD_FRAME_FILE="$work/frames" "$program" >"$work/out.txt" 2>"$work/err.txt" &
    game_pid=$!
    wait_frames_for "its window" 300 handheld_window || fail "no window of class zynthra"
    size_becomes 800x480
    xprop -id "$win" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN || fail "not full screen on 800 x 480"
    xwininfo -id "$win" | grep -q 'Absolute upper-left X:  0' || fail "window not at the screen's left edge"
}

"case_$case_name"
echo "PASS ($case_name)"
