#!/bin/sh
# Starts a program of this package on the handheld. The handheld runs it in the
# package's folder: the image's files with the application's writable folder
# laid over them, so the game reads its data here and config.txt,
# highScores.txt and screenshots land in the writable folder.
#
#   zynthra.sh          the game
#   zynthra-classic.sh  (a link to this script) the classic game
#
# The nubs must report absolute positions while the game runs: each nub's mode
# is saved, set, and restored however the game ends.
#
# Environment, for tests on other machines:
#   ZYNTHRA_NUB_DIR   the folder with nub0/mode and nub1/mode (default /proc/pandora)
#   ZYNTHRA_RUN_WITH  a command to start the program with (an emulator)
program=$(basename "$0" .sh)
nubs=${ZYNTHRA_NUB_DIR:-/proc/pandora}
saved0=
saved1=

restore_nubs() {
    [ -n "$saved0" ] && echo "$saved0" >"$nubs/nub0/mode"
    [ -n "$saved1" ] && echo "$saved1" >"$nubs/nub1/mode"
}
trap restore_nubs EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# A nub whose mode cannot be read or written is left as it is.
set_nub() {
    mode_file=$nubs/nub$1/mode
    [ -r "$mode_file" ] && [ -w "$mode_file" ] || return 0
    mode=$(cat "$mode_file") || return 0
    eval "saved$1=\$mode"
    echo absolute >"$mode_file"
}
set_nub 0
set_nub 1

$ZYNTHRA_RUN_WITH "./$program"
