#!/bin/bash
# The SDL 2 edition played by its own scripts (no preload):
#   sdl2.sh CASE PROGRAM SEETEXT DATA_DIR SCRIPTS_DIR
#
# Each case runs the real program in a fresh folder on a private Xvfb with the
# dummy sound driver; the program plays a script with the clock held, counts
# its steps into $work/frames and writes its own screenshots (`snap`), which
# are told by their text.
set -u
case_name=$1 program=$2 seetext=$3 data=$4 scripts=$5

work=$(mktemp -d /tmp/zynthra_sdl2_XXXXXX)
game_dir=$work/game
. "$(dirname "$0")/common.sh"

# Plays SCRIPT from the scripts folder in the current folder to its end;
# further arguments go to the program. Its status goes to status.
play() {  # SCRIPT [ARGUMENT...]
    local script=$1
    shift
    SDL_AUDIODRIVER=dummy timeout 600 "$program" --script "$scripts/$script" --frame-file "$work/frames" "$@" \
        >"$work/out.txt" 2>"$work/err.txt" &
    game_pid=$!
    finish
}

png_size() {
    /usr/bin/identify -format '%wx%h' "$1"
}

# At 2x on a 1920 x 1080 screen, the title screen's first line shows in the
# program's own screenshot of its whole window, and the script's quit ends
# the program as "Quit" does.
case_opens() {
    start_xvfb 1920x1080x24
    fresh_game_dir
    play sdl2_title.vpad
    [ "$status" = 0 ] || fail "the script's quit ended the program with status $status"
    [ -f title.png ] || fail "the script's snap wrote no title.png"
    [ "$(png_size title.png)" = 1600x960 ] || fail "the window is $(png_size title.png), not 1600x960 (2x)"
    text_shown title.png 0 0 "New Game" || fail "no \"New Game\" on the title screen: $(seen)"
    text_shown title.png 0 32 "Options" || fail "no \"Options\" below \"New Game\": $(seen)"
    [ -f config.txt ] || fail "quitting saved no settings"
}

# On a screen of the handheld's size the window takes it whole, and its
# picture is the handheld's, pixel for pixel.
case_handheld_pixels() {
    start_xvfb 800x480x24
    fresh_game_dir
    play sdl2_title.vpad
    [ "$status" = 0 ] || fail "status $status"
    [ "$(png_size title.png)" = 800x480 ] || fail "the window is $(png_size title.png), not the whole 800x480 screen"
    local differing
    differing=$(/usr/bin/compare -metric AE title.png "$scripts/../gl/handheld/title.png" null: 2>&1)
    [ "$differing" = 0 ] || {
        cp title.png /tmp/zynthra_sdl2_title.png
        fail "$differing pixels differ from the handheld's title screen (this run's: /tmp/zynthra_sdl2_title.png)"
    }
}

# A game pad the script plugs in (SDL's virtual joystick) reaches the game
# through SDL's game controllers, as a pad in the player's hands does.
case_gamepad() {
    start_xvfb 800x480x24
    fresh_game_dir
    play sdl2_gamepad.vpad
    [ "$status" = 0 ] || fail "status $status"
    grep -q 'Game pad "Scripted pad" plugged in' "$work/out.txt" || fail "no pad was plugged in"
    grep -q 'Game pad "Scripted pad" unplugged' "$work/out.txt" || fail "the pad was never unplugged"
    # Its triggers at rest press no shoulder: no bomb is gone.
    text_shown game.png 650 445 "Bombs:3" || fail "the south button started no game, or a bomb went: $(seen)"
    text_shown paused.png 340 220 "Paused" || fail "Start did not pause the game: $(seen)"
}

# One seeded game at simulated displays of 30, 60 and 144 Hz: the same steps,
# so the same score entered under the same name in the same table.
case_frame_rates() {
    start_xvfb 800x480x24
    local rate steps=()
    for rate in 30 60 144; do
        fresh_game_dir
        # Low scores, so that the game's score enters the table.
        printf 'low\t%d\n' 10 9 8 7 6 5 4 3 2 1 >highScores.txt
        play sdl2_game.vpad --frame-rate "$rate"
        [ "$status" = 0 ] || fail "at $rate Hz the program ended with status $status"
        grep -q "^ratetest	[1-9][0-9]*\$" highScores.txt || fail "at $rate Hz no score of ratetest: $(cat highScores.txt)"
        cp highScores.txt "$work/scores$rate.txt"
        steps+=("$(frames_now)")
    done
    [ "${steps[*]}" = "${steps[0]} ${steps[0]} ${steps[0]}" ] || fail "steps at 30, 60 and 144 Hz: ${steps[*]}"
    cmp -s "$work/scores30.txt" "$work/scores60.txt" && cmp -s "$work/scores60.txt" "$work/scores144.txt" ||
        fail "the tables differ: $(diff "$work/scores30.txt" "$work/scores60.txt"; diff "$work/scores60.txt" "$work/scores144.txt")"
    echo "the same table at 30, 60 and 144 Hz after ${steps[0]} steps: $(grep ratetest "$work/scores60.txt")"
}

"case_$case_name"
echo "PASS ($case_name)"
