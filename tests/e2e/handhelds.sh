#!/bin/bash
# The SDL 2 edition as today's ARM handhelds run it: full screen on their
# screens, and played with pads of fewer sticks.
#
#   handhelds.sh CASE PROGRAM SEETEXT DATA_DIR
#   CASE: screen_WxH (640x480, 720x720, 1024x768, 1280x720, 800x480) or sticks_N (0, 1, 2)
#
# Each case runs PROGRAM --fullscreen in a fresh folder on a private Xvfb of
# the case's size (no window manager, as on a handheld), played by its own
# --script, which snaps the whole screen as drawn; screens are told by their
# text (SEETEXT), waits count the program's steps (--frame-file).
set -u
case_name=$1 program=$2 seetext=$3 data=$4

work=$(mktemp -d /tmp/zynthra_handhelds_XXXXXX)
game_dir=$work/game
. "$(dirname "$0")/common.sh"

# Plays SCRIPT (its text) on a screen of SIZE until the script's quit.
play_full_screen() {  # SIZE SCRIPT
    start_xvfb "$1x24"
    fresh_game_dir
    printf '%s\n' "$2" >"$work/script"
    SDL_AUDIODRIVER=dummy timeout 600 "$program" --fullscreen --frame-file "$work/frames" --script "$work/script" \
        >"$work/out.txt" 2>"$work/err.txt" &
    game_pid=$!
    finish
    [ "$status" = 0 ] || fail "exit status $status after the script's quit, 0 expected"
}

# The brightest channel value (0..255) in the rectangle X Y W H of FILE.
brightest() {  # FILE X Y W H
    /usr/bin/convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -separate -evaluate-sequence max \
        -format '%[fx:round(maxima*255)]' info:
}

# ---- screens: the whole 5:3 picture, letterboxed, its text legible

# The title screen and a game just started, snapped by the game.
readonly screens_script='seed 5
frames 60
snap title.png
frames 1
tap x
frames 90
snap playing.png
frames 1
quit'

# screen SIZE BAR BAR: the snaps are the whole screen; the bars (rectangles
# X Y W H, or "none") are black; the title's first and last lines and the
# HUD in all four corners of the picture are legible at this size.
screen() {  # SIZE "BAR RECT" "BAR RECT"
    play_full_screen "$1" "$screens_script"
    local shot bar
    for shot in title playing; do
        [ "$(/usr/bin/identify -format '%wx%h' "$shot.png" 2>/dev/null)" = "$1" ] ||
            fail "$shot.png is not the whole $1 screen"
        for bar in "$2" "$3"; do
            [ "$bar" = none ] && continue
            # shellcheck disable=SC2086 # the rectangle's four numbers
            [ "$(brightest "$shot.png" $bar)" = 0 ] || fail "$shot.png: the bar $bar is not black"
        done
    done
    title_legible || fail "the title screen is not legible at $1: $(seen)"
    hud_legible || fail "the HUD's corners are not all legible at $1: $(seen)"
}

title_legible() { text_shown title.png 0 0 "New Game" && text_shown title.png 0 128 "Quit"; }

# The game's text in the picture's four corners (PROGRAM is the main game).
hud_legible() {
    text_shown playing.png 0 0 "Score:" && text_shown playing.png 650 0 "Lives:" &&
        text_shown playing.png 0 445 "Decoy Bombs:" && text_shown playing.png 650 445 "Bombs:"
}

# 640 x 480 shows the picture smallest: 640 x 384 between bars of 48.
case_screen_640x480() { screen 640x480 "0 0 640 48" "0 432 640 48"; }
case_screen_720x720() { screen 720x720 "0 0 720 144" "0 576 720 144"; }
case_screen_1024x768() { screen 1024x768 "0 0 1024 77" "0 691 1024 77"; }
case_screen_1280x720() { screen 1280x720 "0 0 40 720" "1240 0 40 720"; }
case_screen_800x480() { screen 800x480 none none; }

# ---- sticks: on the first start the game plays with what the pad has

# A pad of N sticks plugged in on the title screen; down to Options, open it,
# snap it, and go back (which saves config.txt); quit. A snap shows the step
# its line runs in, so a press waits a step after it.
sticks_script() {  # N
    printf '%s\n' "seed 5" "frames 30" "gamepad attach $1" "frames 30"
    local button
    for button in dpdown a; do
        printf '%s\n' "gamepad press $button" "frames 2" "gamepad release $button" "frames 22"
    done
    printf '%s\n' "frames 30" "snap options.png" "frames 1" \
        "gamepad press b" "frames 2" "gamepad release b" "frames 30" "snap back.png" "frames 1" "quit"
}

sticks() {  # N MOVEMENT FIRING: the Options screen's lines for them
    play_full_screen 800x480 "$(sticks_script "$1")"
    text_shown options.png 0 0 "Music Volume:" || fail "the pad did not open Options: $(seen)"
    text_shown options.png 0 64 "Movement: $2" || fail "a pad of $1 sticks does not steer with $2: $(seen)"
    text_shown options.png 0 96 "Firing: $3" || fail "a pad of $1 sticks does not fire with $3: $(seen)"
    text_shown back.png 0 0 "New Game" || fail "the pad's back button did not leave Options: $(seen)"
    # The file keeps the player's choice (none yet), not what this pad plays.
    [ "$(cat config.txt)" = "$(printf 'movement\t0\nfiring\t1\nsound\t40\nmusic\t50')" ] ||
        fail "config.txt holds: $(cat -A config.txt)"
}

case_sticks_0() { sticks 0 "D-Pad" "ABXY Buttons"; }
case_sticks_1() { sticks 1 "Left Nub" "ABXY Buttons"; }
case_sticks_2() { sticks 2 "Left Nub" "Right Nub"; }

"case_$case_name"
echo "PASS ($case_name)"
