#!/bin/bash
# The player's files against what an unlucky player or a hostile neighbour
# does: saves.sh CASE PROGRAM VPAD FBGRAB SEETEXT DATA_DIR CASE_DIR SAVE_HOLD
# [CLASSIC]
#
# The program runs in a fresh folder on a private Xvfb, played from a vpad
# script; SAVE_HOLD (a preload) lets the test hold a save just before its
# rename. Every wait is on what the programs write or log, never on a clock.
set -u
case_name=$1 program=$2 vpad=$3 fbgrab=$4 seetext=$5 data=$6 here=$7 hold=$8 classic=${9:-$2}

work=$(mktemp -d /tmp/zynthra_saves_XXXXXX)
game_dir=$work/game
. "$(dirname "$0")/common.sh"
mounted=""
took=0 resident=0 most_resident=0

# Unmounts a scratch file system before the shared clean-up removes the folder.
unmount_first() {
    if [ -n "$mounted" ]; then
        [ -n "$game_pid" ] && kill -9 "$game_pid" 2>/dev/null && wait "$game_pid" 2>/dev/null
        game_pid=""
        cd / && umount "$mounted"
    fi
    cleanup
}
trap unmount_first EXIT

table=$'ann\t900\nbo\t800\ncy\t700\ndi\t600\ned\t500\nfay\t400\ngus\t300\nhal\t200\nlow\t-1\nlower\t-2\n'
config=$'movement\t0\nfiring\t1\nsound\t40\nmusic\t50\n'

# A fresh game folder with a table whose last two rows a 0-point game beats,
# and settings (so that no save happens at start).
prepare() {
    fresh_game_dir
    printf '%s' "$table" >highScores.txt
    printf '%s' "$config" >config.txt
}

# play SCRIPT NAME [PROGRAM [VAR=VALUE...]]: starts a program in the background
# with the pad script; its output goes to $work/NAME.out and .err, its pid to
# the variable NAME_pid.
play() {
    local script=$1 name=$2 which=${3:-$program}
    shift $(($# < 3 ? $# : 3))
    env "$@" SDL_AUDIODRIVER=dummy VPAD_SCRIPT="$here/$script.vpad" VPAD_FBGRAB="$fbgrab" VPAD_PACE_HZ=30 \
        LD_PRELOAD="$vpad:$hold${LD_PRELOAD:+:$LD_PRELOAD}" "$which" >"$work/$name.out" 2>"$work/$name.err" &
    printf -v "${name}_pid" '%s' "$!"
}

# ended PID: waits for the program and fails unless it ended with status 0.
ended() {
    wait "$1"
    local status=$?
    [ "$status" = 0 ] || fail "exit status $status, expected 0"
}

logged() { grep -q "$2" "$work/$1.err"; }

# The program NAME is still running and (when given) has logged TEXT.
running_and_logged() {
    local pid_var=${1}_pid
    kill -0 "${!pid_var}" 2>/dev/null || fail "$1 ended early: $(cat "$work/$1.out" "$work/$1.err")"
    logged "$1" "$2"
}

until_logged() {  # NAME TEXT
    until running_and_logged "$1" "$2"; do sleep 0.2; done
}

until_exists() {  # FILE NAME: until FILE exists while program NAME runs
    until [ -e "$1" ]; do
        running_and_logged "$2" "" >/dev/null
        sleep 0.1
    done
}

expect_table() {
    [ "$(cat "${2:-highScores.txt}")" = "${1%$'\n'}" ] || fail "${2:-highScores.txt} holds: $(cat -A "${2:-highScores.txt}")"
}

expect_said() {  # NAME LINE
    grep -qxF "$2" "$work/$1.out" || fail "no line \"$2\" from $1: $(cat "$work/$1.out")"
}

no_temporaries() {
    [ -z "$(find . -name '*.tmp*')" ] || fail "temporary files left: $(find . -name '*.tmp*')"
}

both_rows=$'ann\t900\nbo\t800\ncy\t700\ndi\t600\ned\t500\nfay\t400\ngus\t300\nhal\t200\namy\t0\nbea\t0\n'

# Two programs read the table at start, and save a row each: one after the
# other, then at the same time (the first held just before its rename while
# the second asks for the lock). Both rows stay, in the order they were made.
case_two_programs() {
    start_xvfb 800x480x24
    local first_display=$DISPLAY
    pids+=("$xvfb_pid")  # the shared clean-up stops the last one started
    rm -f "$work/display"
    start_xvfb 800x480x24  # each program types on its own display
    local second_display=$DISPLAY

    prepare
    touch first.release
    play saves_first first "$program" DISPLAY="$first_display" SAVE_HOLD="$PWD/first"
    play saves_second second "$classic" DISPLAY="$second_display" SAVE_HOLD="$PWD/second"
    touch second.release
    until_logged second "name typed"
    ended "$first_pid"
    touch first-done
    ended "$second_pid"
    expect_table "$both_rows"
    no_temporaries

    prepare
    play saves_first first "$program" DISPLAY="$first_display" SAVE_HOLD="$PWD/first"
    play saves_second second "$classic" DISPLAY="$second_display" SAVE_HOLD="$PWD/second"
    touch second.release
    until_exists first.held first
    expect_table "$table"  # held: not renamed yet
    touch first-done
    until_exists second.locking second
    touch first.release
    ended "$first_pid"
    ended "$second_pid"
    expect_table "$both_rows"
    no_temporaries
}

# SIGTERM or SIGHUP during name entry: the score stays, with the letters typed.
case_signal_name_entry() {
    start_xvfb 800x480x24
    local signal
    for signal in TERM HUP; do
        prepare
        play saves_unfinished game
        until_logged game "name typed"
        kill -s "$signal" "$game_pid"
        ended "$game_pid"
        game_pid=""
        expect_table $'ann\t900\nbo\t800\ncy\t700\ndi\t600\ned\t500\nfay\t400\ngus\t300\nhal\t200\nab\t0\nlow\t-1\n'
        no_temporaries
    done
}

# A full disk: the save fails with a line, the table stays on the screen and
# the old file whole; once there is room the next save (here at the end) keeps it.
case_full_disk() {
    start_xvfb 800x480x24
    mkdir "$game_dir"
    mount -t tmpfs -o size=64k zynthra-full "$game_dir" || fail "cannot mount a tmpfs (run as root)"
    mounted=$game_dir
    cd "$game_dir" || fail "cannot enter $game_dir"
    local file
    for file in "$data"/*; do ln -s "$file" .; done
    printf '%s' "$table" >highScores.txt
    printf '%s' "$config" >config.txt
    dd if=/dev/zero of=filler bs=4k 2>/dev/null
    play saves_full game
    until_logged game "scores shown"
    expect_said game "highScores.txt could not be saved: No space left on device"
    expect_table "$table"
    text_shown "$work/scores.png" 312 0 "High Scores" || fail "no high-score screen after the failed save: $(seen)"
    text_shown "$work/scores.png" 0 352 "ful" || fail "the new row is not on the table after the failed save: $(seen)"
    rm filler
    kill -s TERM "$game_pid"
    ended "$game_pid"
    game_pid=""
    expect_table $'ann\t900\nbo\t800\ncy\t700\ndi\t600\ned\t500\nfay\t400\ngus\t300\nhal\t200\nful\t0\nlow\t-1\n'
    no_temporaries
}

# Linked files stay links to updated targets; their modes stay; a planted
# temporary link's target is untouched.
case_links() {
    start_xvfb 800x480x24
    prepare
    mkdir ../elsewhere
    mv highScores.txt ../elsewhere/scores
    chmod 600 ../elsewhere/scores
    ln -s ../elsewhere/scores highScores.txt
    echo "the player's own" >../precious
    ln -s ../precious highScores.txt.tmp
    ln -s ../precious config.txt.tmp
    mv config.txt ../elsewhere/config
    chmod 400 ../elsewhere/config
    ln -s ../elsewhere/config config.txt
    play name_entry game
    ended "$game_pid"
    play options game  # changes two settings and saves them
    ended "$game_pid"
    game_pid=""
    [ -L highScores.txt ] && [ -L config.txt ] || fail "the links were replaced"
    expect_table $'ann\t900\nbo\t800\ncy\t700\ndi\t600\ned\t500\nfay\t400\ngus\t300\nhal\t200\nabc\t0\nlow\t-1\n' \
        ../elsewhere/scores
    [ "$(stat -c %a ../elsewhere/scores)" = 600 ] || fail "the table's mode is $(stat -c %a ../elsewhere/scores)"
    expect_table $'movement\t1\nfiring\t1\nsound\t40\nmusic\t55\n' ../elsewhere/config
    [ "$(stat -c %a ../elsewhere/config)" = 400 ] || fail "the settings' mode is $(stat -c %a ../elsewhere/config)"
    [ "$(cat ../precious)" = "the player's own" ] || fail "the planted link's target was written: $(cat ../precious)"
}

# The program's largest resident size so far, in MB.
resident_mb() {
    awk '/^VmHWM:/ { print int($2 / 1024) }' "/proc/$1/status"
}

# start_with FILE KIND: FILE (either saved file) is KIND; the main menu shows,
# with the "cannot be read" lines, in bounded memory. The seconds it took go to took.
start_with() {
    local file=$1 kind=$2 start=$SECONDS
    prepare
    rm "$file"
    case $kind in
    zero) ln -s /dev/zero "$file" ;;
    huge) truncate -s 1G "$file" ;;  # a GiB without a line feed
    pipe) mkfifo "$file" ;;
    none) printf '%s' "$table" >"$file" ;;
    esac
    rm -f "$work/menu.png"
    play saves_start game
    until_exists "$work/menu.png" game
    resident=$(resident_mb "$game_pid")
    [ "$resident" -lt "$most_resident" ] || fail "$file as $kind: $resident MB resident"
    touch measured
    ended "$game_pid"
    game_pid=""
    if [ "$kind" != none ]; then
        local stem=${file%.txt}
        [ "$stem" = config ] && expect_said game "Unable to open config file!" ||
            expect_said game "Unable to open high scores file!"
        [ "$stem" = config ] && expect_said game "config.txt cannot be read: settings will not be saved" ||
            expect_said game "highScores.txt cannot be read: scores will not be saved"
    fi
    took=$((SECONDS - start))
}

# /dev/zero, a 1 GiB file and a pipe as either file: the game reaches its menu
# (a read that blocked or took the whole file never would), says it cannot read
# the file, stays under 150 MB, and the file is left as it was. The seconds each
# start took are shown beside those of a good file, not judged: on a loaded
# machine they say little.
case_not_files() {
    start_xvfb 800x480x24
    local usual file kind
    most_resident=100000
    start_with highScores.txt none
    usual=$took
    # 150 MB; more only where a good file takes more (a sanitized build).
    most_resident=$((resident + 50 > 150 ? resident + 50 : 150))
    for file in highScores.txt config.txt; do
        for kind in zero huge pipe; do
            start_with "$file" "$kind"
            echo "$file as $kind: the menu after $took s ($usual s with a good file), $resident MB"
        done
        [ -p "$file" ] || fail "the pipe $file was replaced"
    done
}

"case_$case_name"
echo "PASS ($case_name)"
