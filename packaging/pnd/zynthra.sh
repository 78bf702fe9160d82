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
# is saved, set, and restored however the game ends. Switching a nub between
# absolute and another mode makes its driver register the input device anew,
# and its /dev/input node comes back a moment later; the game looks for its
# devices once, at its start, so the script waits for the nodes (at most 3 s)
# before starting it, and again after restoring the modes.
#
# Both applications share one writable folder: only one game runs in it at a
# time, so only the first launch's modes are ever restored.
#
# Environment, for tests on other machines:
#   ZYNTHRA_NUB_DIR        the folder with nub0/mode and nub1/mode (default /proc/pandora)
#   ZYNTHRA_INPUT_DEVICES  the kernel's list of input devices (default /proc/bus/input/devices)
#   ZYNTHRA_INPUT_DIR      the folder of their event nodes (default /dev/input)
#   ZYNTHRA_RUN_WITH       a command to start the program with (an emulator)
program=$(basename "$0" .sh)
nubs=${ZYNTHRA_NUB_DIR:-/proc/pandora}
devices=${ZYNTHRA_INPUT_DEVICES:-/proc/bus/input/devices}
nodes=${ZYNTHRA_INPUT_DIR:-/dev/input}
lock=.zynthra-running
poll_limit=30 # polls 0.1 s apart
saved0=
saved1=
waiting=

say() {
    echo "$program.sh: $*" >&2
}

# nub_event N: the event node's name (event3) of device nubN, if the kernel lists it.
nub_event() {
    awk -v want="nub$1" '
        /^N: Name=/ { name = substr($0, 10, length($0) - 10) }
        /^H: Handlers=/ && name == want {
            sub(/^H: Handlers=/, "")
            for (i = 1; i <= NF; i++)
                if ($i ~ /^event[0-9]+$/) { print $i; exit }
        }' "$devices" 2>/dev/null
}

# nub_node N: the inode and path of nubN's event node while it can be read;
# nothing while it is missing.
nub_node() {
    event=$(nub_event "$1")
    [ -n "$event" ] && [ -r "$nodes/$event" ] && ls -di "$nodes/$event" 2>/dev/null
    return 0
}

# switch_nub N MODE: writes the mode; a listed nub's device is registered anew,
# so its current node is noted as the one to see replaced.
switch_nub() {
    listed=$(nub_event "$1")
    eval "stale$1=\$(nub_node $1)"
    echo "$2" >"$nubs/nub$1/mode" || return 0
    [ -n "$listed" ] && waiting="$waiting $1"
}

# await_nodes: polls until every switched nub has a readable node other than
# the one before the switch, or the time is up.
await_nodes() {
    polls=0
    while :; do
        pending=
        for n in $waiting; do
            now=$(nub_node "$n")
            eval "stale=\$stale$n"
            [ -n "$now" ] && [ "$now" != "$stale" ] || pending="$pending $n"
        done
        waiting=$pending
        [ -z "$waiting" ] && return 0
        [ "$polls" -ge "$poll_limit" ] && break
        # A sleep without fractions waits a whole second: ten polls' time.
        sleep 0.1 2>/dev/null || { sleep 1 && polls=$((polls + 9)); }
        polls=$((polls + 1))
    done
    for n in $waiting; do
        say "nub$n's input device did not come back within 3 s"
    done
    waiting=
}

# A nub whose mode cannot be read or written is left as it is; one already
# absolute needs no switch.
set_nub() {
    mode_file=$nubs/nub$1/mode
    [ -r "$mode_file" ] && [ -w "$mode_file" ] || return 0
    mode=$(cat "$mode_file") || return 0
    [ "$mode" = absolute ] && return 0
    eval "saved$1=\$mode"
    switch_nub "$1" absolute
}

restore_nubs() {
    waiting=
    [ -n "$saved0" ] && switch_nub 0 "$saved0"
    [ -n "$saved1" ] && switch_nub 1 "$saved1"
    await_nodes
}

# running PID: whether PID is a launch in this folder. After a crash and a
# restart the number in a left-over lock may belong to any other program.
running() {
    [ -n "$1" ] && [ "$(cd "/proc/$1/cwd" 2>/dev/null && pwd -P)" = "$(pwd -P)" ]
}

claim() {
    (set -C && echo $$ >"$lock") 2>/dev/null
}

# take_lock: succeeds unless a game already runs in this folder. A folder that
# cannot hold the lock at all is played without it.
take_lock() {
    claim && return 0
    [ -e "$lock" ] || return 0
    running "$(cat "$lock" 2>/dev/null)" && return 1
    rm -f "$lock" # left by a launch that never ended (a crash, a flat battery)
    claim || [ ! -e "$lock" ]
}

if ! take_lock; then
    say "a game of this package is already running; not starting another"
    exit 1
fi
trap 'restore_nubs; rm -f "$lock"' EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

set_nub 0
set_nub 1
await_nodes

$ZYNTHRA_RUN_WITH "./$program"
