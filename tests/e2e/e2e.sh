#!/bin/bash
# One end-to-end case: e2e.sh CASE PROGRAM VPAD FBGRAB SEETEXT DATA_DIR CASE_DIR [EXTRA]
# (EXTRA: the classic program, for the cases that run both programs)
#
# The program runs unchanged in a fresh folder that holds only the data files,
# on a private Xvfb, with its pad played from CASE_DIR/<script>.vpad and its
# audio mixed into a file. Scripts count frames, never seconds: held to at most
# 30 frames a second, a one-frame tap is one menu action and taps 12 frames
# apart clear the menus' 0.2 s repeat guard, however slowly the program runs.
# The test itself waits only on what the program shows or writes, for a count of
# the program's frames; screens are told by their text (SEETEXT).
set -u
case_name=$1 program=$2 vpad=$3 fbgrab=$4 seetext=$5 data=$6 here=$7 classic=${8:-}

work=$(mktemp -d /tmp/zynthra_e2e_XXXXXX)
game_dir=$work/game
. "$(dirname "$0")/common.sh"
as_player=""  # a command that runs the program as an ordinary user (without_override)
audio_driver=disk
pace=30  # frames a second the pad holds the program to (see above)

fresh_folder() {
    fresh_game_dir
    rm -f "$work/audio.raw"
}

start_x() {
    start_xvfb 800x480x24
}

# Starts the program (or the one given) in the background with the named pad script.
launch() {
    SDL_AUDIODRIVER=$audio_driver SDL_DISKAUDIOFILE="$work/audio.raw" VPAD_SCRIPT="$here/$1.vpad" \
        VPAD_FBGRAB="$fbgrab" VPAD_PACE_HZ=$pace VPAD_FRAME_FILE="$work/frames" $as_player timeout "${run_limit:-300}" \
        env LD_PRELOAD="$vpad${LD_PRELOAD:+:$LD_PRELOAD}" "${2:-$program}" >"$work/out.txt" 2>"$work/err.txt" &
    game_pid=$!
}

run() {
    launch "$@"
    finish
}

expect_status() {
    [ "$status" = "$1" ] || fail "exit status $status, expected $1"
}

expect_line() {
    grep -qxF "$1" "$work/out.txt" || fail "no line \"$1\" on standard output"
}

expect_file() {
    printf '%s' "$2" | cmp -s - "$1" || fail "$1 holds: $(cat -A "$1" 2>&1)"
}

expect_text() {  # FILE X Y TEXT
    [ -s "$1" ] || fail "no screenshot $1"
    text_shown "$@" || fail "$1: not shown: $(seen)"
}

expect_no_text() {  # FILE X Y TEXT
    [ -s "$1" ] || fail "no screenshot $1"
    text_absent "$@" || fail "$1: shown, not expected: $(seen)"
}

# Peak of the mixed audio after its first second (22050 Hz, 16-bit stereo).
expect_audible() {
    local peak
    [ -s "$work/audio.raw" ] || fail "no audio was mixed"
    peak=$(sox -t raw -r 22050 -e signed -b 16 -c 2 "$work/audio.raw" -n trim 1 stat 2>&1 |
        awk '/Maximum amplitude/ { print $3 }')
    awk -v p="${peak:-0}" 'BEGIN { exit !(p > 0.01) }' || fail "$1 silent (peak ${peak:-none})"
}

default_scores=$'kovar\t935808\nmirel\t500000\nquil\t250000\ntalva\t125000\nruka\t100000\nbrenn\t75000\nhallem\t50000\nveska\t25000\nondri\t12500\npelio\t10000\n'
default_config=$'movement\t0\nfiring\t1\nsound\t40\nmusic\t50\n'

case_first_start() {
    start_x
    fresh_folder
    run first_start
    expect_status 0
    expect_line "Unable to open high scores file!"
    expect_line "Unable to open config file!"
    expect_file highScores.txt "$default_scores"
    expect_file config.txt "$default_config"
    expect_main_menu menu.png
}

# The main menu's five lines, each where it belongs.
expect_main_menu() {
    local y=0 line
    for line in "New Game" "Options" "High Scores" "Credits" "Quit"; do
        expect_text "$1" 0 $y "$line"
        y=$((y + 32))
    done
}

case_no_display() {
    fresh_folder
    env -u DISPLAY "$program" >"$work/out.txt" 2>"$work/err.txt"
    status=$?
    expect_status 255
    expect_line "cannot connect to X server"
    expect_line "initialising display failed - quiting"
}

case_options() {
    start_x
    fresh_folder
    run options
    expect_status 0
    expect_file config.txt $'movement\t1\nfiring\t1\nsound\t40\nmusic\t55\n'
}

case_pause_return() {
    start_x
    fresh_folder
    run pause_return
    expect_status 0
    expect_text paused.png 340 220 "Paused"
    expect_text paused.png 0 64 "Return to menu"
    expect_no_text paused.png 0 128 "Quit"
    expect_main_menu menu.png
    expect_file highScores.txt "$default_scores"
}

case_name_entry() {
    start_x
    fresh_folder
    # The last row is negative, so even a game abandoned at 0 points enters it.
    local table=$'ann\t900\nbo\t800\ncy\t700\ndi\t600\ned\t500\nfay\t400\ngus\t300\nhal\t200\nivy\t100\n'
    printf '%s' "$table"$'low\t-1\n' >highScores.txt
    run name_entry
    expect_status 0
    expect_file highScores.txt "$table"$'abc\t0\n'
    expect_text scores.png 312 0 "High Scores"
    expect_text scores.png 0 384 "abc"  # the last row
    expect_text scores.png 630 384 "0000000000"
}

case_audio() {
    start_x
    fresh_folder
    printf 'movement\t0\nfiring\t1\nsound\t0\nmusic\t50\n' >config.txt
    run audio
    expect_status 0
    expect_audible "the menu music"

    fresh_folder
    printf 'movement\t0\nfiring\t1\nsound\t100\nmusic\t0\n' >config.txt
    run audio
    expect_status 0
    expect_audible "the menu effects"
}

need_classic() {
    [ -n "$classic" ] || fail "the classic program was not given"
}

case_game_over() {
    start_x
    fresh_folder
    # Every row is below 0, so the game's 0 points take the top row.
    local rows=$'r1\t-1\nr2\t-1\nr3\t-1\nr4\t-1\nr5\t-1\nr6\t-1\nr7\t-1\nr8\t-1\nr9\t-1\n'
    printf '%s' "$rows"$'r10\t-1\n' >highScores.txt
    pace=0  # the script's seed holds the clock: 60 frames a second of game time
    launch game_over
    wait_for_log "game started" || fail "the program ended before its game started"
    # Four ships taken and five seconds of "Game over!": under a minute of play.
    wait_until "name entry" name_entry 7200
    touch name-entry-shown
    finish
    expect_status 0
    expect_file highScores.txt $'zed\t0\n'"$rows"
}

# The classic program has no decoy bombs: its bomb count takes the bottom-left
# corner, where the main program counts the decoys, and the bottom right stays empty.
case_classic_hud() {
    need_classic
    start_x
    fresh_folder
    run classic_hud
    expect_status 0
    expect_text hud.png 0 445 "Decoy Bombs:2"
    expect_text hud.png 650 445 "Bombs:3"

    fresh_folder
    run classic_hud "$classic"
    expect_status 0
    expect_text hud.png 0 445 "Bombs:3"
    expect_no_text hud.png 0 445 "Decoy Bombs:"
    expect_no_text hud.png 650 445 "Bombs:"
}

# Both programs keep their settings and scores in one folder in the same formats.
case_shared_folder() {
    need_classic
    start_x
    fresh_folder
    run options  # the main program creates both files, then changes two settings
    expect_status 0
    expect_line "Unable to open config file!"
    expect_line "Unable to open high scores file!"
    local config=$'movement\t1\nfiring\t1\nsound\t40\nmusic\t55\n'
    expect_file config.txt "$config"
    expect_file highScores.txt "$default_scores"
    local first_config
    first_config=$(stat -c %i config.txt)

    run options_unchanged "$classic"
    expect_status 0
    if grep -q "Unable to open" "$work/out.txt"; then
        fail "the classic program could not read the folder"
    fi
    # Leaving the options wrote back the settings the classic program had read.
    [ "$(stat -c %i config.txt)" != "$first_config" ] || fail "config.txt was not written again"
    expect_file config.txt "$config"
    expect_file highScores.txt "$default_scores"
}

# Waits while the program runs until vpad has logged TEXT; false if it ended first.
wait_for_log() {
    while ! grep -q "$1" "$work/err.txt"; do
        kill -0 "$game_pid" 2>/dev/null || return 1
        sleep 0.2
    done
}

# The same script and seed play the same game: two runs leave the same
# high-score file and the same screenshots, early, in play and at the end. A run with
# another seed plays differently, so the likeness is the seed's doing and not
# a game without chance.
case_replay() {
    start_x
    local rows=$'r1\t-1\nr2\t-1\nr3\t-1\nr4\t-1\nr5\t-1\nr6\t-1\nr7\t-1\nr8\t-1\nr9\t-1\nr10\t-1\n'
    # About 4500 frames each: give slow machines time.
    run_limit=600
    pace=0  # the held clock makes each frame 1/60 s of game time at any speed
    for n in 1 2; do
        fresh_folder
        printf '%s' "$rows" >highScores.txt
        run replay
        expect_status 0
        grep -qx $'\t[1-9][0-9]*' <(head -n 1 highScores.txt) ||
            fail "the game's score did not take the top row: $(head -n 2 highScores.txt | cat -A)"
        mkdir "$work/run$n" && cp highScores.txt early.png play.png scores.png "$work/run$n/" ||
            fail "run $n left no screenshots"
    done
    for f in highScores.txt early.png play.png scores.png; do
        cmp -s "$work/run1/$f" "$work/run2/$f" || fail "the two runs left different $f"
    done
    echo "both runs: score $(head -n 1 "$work/run1/highScores.txt" | cut -f 2), identical files and screenshots"

    # Three seconds into the game the enemies already differ: no need to play on.
    fresh_folder
    VPAD_SEED=1 launch replay
    wait_for_log "early" || fail "the run with another seed ended early"
    kill "$game_pid" 2>/dev/null
    finish
    cmp -s early.png "$work/run1/early.png" && fail "another seed played the same game"
}

# Start resumes the game straight from the options screen: the options are saved.
case_options_resume() {
    start_x
    fresh_folder
    run options_resume
    expect_status 0
    expect_file config.txt $'movement\t0\nfiring\t1\nsound\t40\nmusic\t55\n'
}

# X held during the countdown after resuming with "Return to menu" highlighted:
# the game goes on.
case_countdown() {
    start_x
    fresh_folder
    run countdown
    expect_status 0
    expect_text countdown.png 320 156 "Get ready!"
    expect_text playing.png 650 0 "Lives:3"
    expect_no_text playing.png 320 156 "Get ready!"
    expect_main_menu menu.png  # after leaving
}

# Runs what follows as an ordinary user would: permission bits apply (root
# keeps its user but loses the capabilities that override them).
without_override() {
    [ "$(id -u)" = 0 ] && as_player="setpriv --inh-caps=-dac_override,-dac_read_search --bounding-set=-dac_override,-dac_read_search"
}

# A settings file that is a directory and a score table that cannot be read:
# defaults in memory, and neither is replaced.
case_unreadable_files() {
    start_x
    fresh_folder
    local table=$'ann\t900\nbo\t800\ncy\t700\ndi\t600\ned\t500\nfay\t400\ngus\t300\nhal\t200\nivy\t100\nlow\t-1\n'
    mkdir config.txt
    printf '%s' "$table" >highScores.txt
    chmod 000 highScores.txt
    without_override
    run options
    expect_status 0
    expect_line "Unable to open config file!"
    expect_line "config.txt cannot be read: settings will not be saved"
    expect_line "Unable to open high scores file!"
    expect_line "highScores.txt cannot be read: scores will not be saved"
    [ -d config.txt ] || fail "config.txt was replaced"
    chmod 600 highScores.txt
    expect_file highScores.txt "$table"
    [ -z "$(find . -name '*.tmp')" ] || fail "a temporary file was left behind"
}

# A read-only working folder: the game plays with the defaults and saves nothing.
case_read_only_folder() {
    start_x
    fresh_folder
    rm -f menu.png
    chmod 555 .
    without_override
    run first_start
    chmod 755 .
    expect_status 0
    expect_line "Unable to open config file!"
    expect_line "Unable to open high scores file!"
    [ ! -e config.txt ] && [ ! -e highScores.txt ] || fail "a file was written into the read-only folder"
}

# Replaces data file NAME in the working folder with a damaged one of KIND.
damage() {
    local name=$1 kind=$2
    case $kind in
    missing) rm -f "$name" ;;
    empty) : >"$name" ;;
    text) echo "not what the name says" >"$name" ;;
    truncated) head -c 300 "$data/$name" >"$name" ;;
    # 4 GB declared in the data chunk of a 44-byte header, a few bytes present.
    oversized.wav) { head -c 40 "$data/$name" && printf '\360\377\377\377' && tail -c +45 "$data/$name"; } >"$name.new" &&
        mv "$name.new" "$name" ;;
    # Twenty copies chained: a valid stream 20 times as long.
    oversized.ogg) for _ in $(seq 20); do cat "$data/$name"; done >"$name" ;;
    # 4096 x 4096, twice the largest side the game takes.
    oversized.png) /usr/bin/convert -size 4096x4096 xc:black "PNG8:$name" ;;
    # 57 bytes that declare 100000 x 100000 pixels.
    header.png) printf '\211PNG\r\n\032\n\0\0\0\rIHDR\0\001\206\240\0\001\206\240\010\006\0\0\0\250R\013\310\0\0\0\0IDAT5\257\006\036\0\0\0\0IEND\256B`\202' >"$name" ;;
    esac
}

# The font or the logo missing or damaged: the game names it and ends with status 1.
case_broken_images() {
    start_x
    local name kind
    for name in font.png zyn.png; do
        for kind in missing empty text truncated oversized.png header.png; do
            fresh_folder
            damage "$name" "$kind"
            run first_start
            expect_status 1
            expect_line "Unable to open image $name!"
        done
    done
}

# Sound files missing or damaged: the game plays on without them.
case_broken_sounds() {
    start_x
    local kind name
    for kind in missing empty text truncated oversized; do
        fresh_folder
        for name in menuSelect.wav menuChange.wav menuLoop.ogg musicLoop.ogg; do
            case $kind in
            oversized) damage "$name" "oversized.${name##*.}" ;;
            *) damage "$name" "$kind" ;;
            esac
        done
        run pause_return
        expect_status 0
        expect_text paused.png 340 220 "Paused"
        expect_main_menu menu.png
    done
}

# No sound device: the game cannot open audio and ends.
case_no_audio() {
    start_x
    fresh_folder
    audio_driver=dsp AUDIODEV=/nonexistent/dsp run first_start
    expect_status 1
    expect_line "Unable to open audio!"
}

# The display goes away during a game.
case_display_lost() {
    start_x
    fresh_folder
    launch display_lost
    wait_frames_for "the HUD" 300 test -s hud.png || fail "the game never showed its HUD"
    kill "$xvfb_pid"
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
    finish
    expect_status 1
    grep -q "X connection to .* broken\|fatal IO error" "$work/err.txt" || fail "no word of the lost display"
}

# Takes screenshots until CHECK (a command given the screenshot's name) holds,
# for at most LIMIT of the program's frames (default 300: 10 s at 30 a
# second), then lets 12 frames pass: the menus' 0.2 s repeat guard after the
# press that got there is open again.
wait_until() {  # DESCRIPTION CHECK [LIMIT]
    local limit=${3:-300}
    wait_frames_for "$1" "$limit" grab_and "$2" || fail "no $1 on the screen in $limit frames (last look: $(seen))"
    wait_frames 12 "$1"
}

grab_and() {  # CHECK: on a fresh screenshot
    "$fbgrab" "$work/now.png" 2>/dev/null && "$1" "$work/now.png"
}

# Name entry, told by text that only it shows at that place.
name_entry() { text_shown "$1" 0 128 "New high score!" && text_shown "$1" 0 160 "Enter your name:"; }

"case_$case_name"
echo "PASS ($case_name)"
