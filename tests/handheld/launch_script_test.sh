#!/bin/bash
# The handheld's launch script (packaging/pnd/zynthra.sh) with stand-in programs:
#   launch_script_test.sh LAUNCH_SCRIPT SCRATCH
# It must start the program its own name names, set both nubs to absolute mode
# while it runs, wait for their event nodes to come back after each switch, and
# restore their modes however the program ends, passing the program's status
# on; a second launch in the same folder must leave everything alone.
#
# The launcher's `sleep` is a stand-in too, and also plays the device manager:
# each call is one of the launcher's polls, and a nub whose device was
# registered anew loses its old node at the next poll and gets a new one
# FAKE_LATE polls later ("never": not at all). So every wait is counted in polls.
set -u
launch=$1
scratch=$2

. "$(dirname "$0")/../support/checks.sh"

rm -rf "$scratch"
folder=$scratch/package
nubs=$scratch/proc
dev=$scratch/dev
state=$scratch/state
mkdir -p "$folder" "$nubs/nub0" "$nubs/nub1" "$dev" "$state" "$scratch/bin"
cp "$launch" "$folder/zynthra.sh"
ln -s zynthra.sh "$folder/zynthra-classic.sh"

# The kernel's list of input devices: the buttons, then the two nubs.
cat >"$scratch/devices" <<'LIST'
I: Bus=0019 Vendor=0001 Product=0001 Version=0100
N: Name="gpio-keys"
H: Handlers=kbd event0

I: Bus=0000 Vendor=0000 Product=0000 Version=0000
N: Name="nub0"
H: Handlers=mouse0 event1

I: Bus=0000 Vendor=0000 Product=0000 Version=0000
N: Name="nub1"
H: Handlers=mouse1 event2
LIST

# A node holds the mode its device was registered for.
cat >"$scratch/bin/sleep" <<'SH'
#!/bin/bash
# Builtins only: the launcher may poll a hundred times in one case.
case $1 in
*.*) [ -n "${FAKE_WHOLE_SECONDS:-}" ] && { echo "sleep: invalid number '$1'" >&2; exit 1; } ;;
esac
read -r polls <"$FAKE_STATE/polls"
polls=$((polls + 1))
echo "$polls" >"$FAKE_STATE/polls"
absolute() { [ "$1" = absolute ]; }
for n in 0 1; do
    node=$FAKE_DEV/event$((n + 1))
    read -r mode <"$FAKE_NUBS/nub$n/mode" || continue
    left="$FAKE_STATE/left$n"
    if [ -e "$node" ]; then
        read -r made <"$node"
        absolute "$mode" && absolute "$made" && continue
        ! absolute "$mode" && ! absolute "$made" && continue
        # Kept aside, so the new node is a new file (a new inode).
        mv "$node" "$FAKE_STATE/removed.$polls.$n"
        echo "$FAKE_LATE" >"$left"
    elif [ -e "$left" ]; then
        read -r polls_left <"$left"
        [ "$polls_left" = never ] && continue
        polls_left=$((polls_left - 1))
        echo "$polls_left" >"$left"
        if [ "$polls_left" -eq 0 ]; then
            echo "$mode" >"$node"
            rm "$left"
        fi
    fi
done
SH
chmod +x "$scratch/bin/sleep"

# A stand-in program: notes its name, the nubs' modes, their nodes and the polls
# so far (and, beside that, its launcher), then ends as FAKE_END says.
for program in zynthra zynthra-classic; do
    cat >"$folder/$program" <<'SH'
#!/bin/bash
node() { cat "$FAKE_DEV/event$1" 2>/dev/null || echo none; }
echo "${0##*/}" $(cat "$FAKE_NUBS"/nub[01]/mode 2>/dev/null)";" \
    "nodes $(node 1) $(node 2); after $(<"$FAKE_STATE/polls") polls" >"$FAKE_LOG"
echo $PPID >"$FAKE_LOG.launcher"
case $FAKE_END in
exit*) exit "${FAKE_END#exit }" ;;
signal) kill -TERM $$ ;;
sleep) /bin/sleep 2 ;;
wait)
    for _ in $(seq 600); do
        [ -e "$FAKE_STATE/release" ] && exit 0
        /bin/sleep 0.05
    done
    exit 99
    ;;
esac
SH
    chmod +x "$folder/$program"
done

# prepare MODE0 MODE1: the nubs start in these modes, with their nodes in place.
prepare() {
    rm -f "$state"/* "$scratch"/log*
    echo 0 >"$state/polls"
    echo "$1" >"$nubs/nub0/mode"
    echo "$2" >"$nubs/nub1/mode"
    echo "$1" >"$dev/event1"
    echo "$2" >"$dev/event2"
}

# launch LOG ENTRY END [VARIABLE=VALUE...]: runs the entry in the package folder.
launch() {
    local log=$1 entry=$2 end=$3
    shift 3
    (cd "$folder" && env PATH="$scratch/bin:$PATH" ZYNTHRA_NUB_DIR="$nubs" ZYNTHRA_INPUT_DEVICES="$scratch/devices" \
        ZYNTHRA_INPUT_DIR="$dev" FAKE_NUBS="$nubs" FAKE_DEV="$dev" FAKE_STATE="$state" FAKE_LATE=4 \
        FAKE_LOG="$log" FAKE_END="$end" "$@" "./$entry") 2>>"$scratch/errors"
}

# wait_for FILE: until the stand-in program has started.
wait_for() {
    for _ in $(seq 600); do
        [ -e "$1" ] && return 0
        /bin/sleep 0.05
    done
    return 1
}

seen() {
    cat "$1" 2>/dev/null
}

polls() {
    cat "$state/polls"
}

# expect_after NAME MODE0 MODE1: the modes are back and so are their nodes,
# for the right modes (the launcher waited after restoring), the lock is gone.
expect_after() {
    [ "$(cat "$nubs/nub0/mode") $(cat "$nubs/nub1/mode")" = "$2 $3" ] ||
        fail "$1: nub modes '$(cat "$nubs/nub0/mode")' '$(cat "$nubs/nub1/mode")', expected '$2' '$3'"
    [ "$(seen "$dev/event1") $(seen "$dev/event2")" = "$2 $3" ] ||
        fail "$1: the launcher ended before the nodes came back ('$(seen "$dev/event1")' '$(seen "$dev/event2")')"
    [ ! -e "$folder/.zynthra-running" ] || fail "$1: the lock was left behind"
}

# run NAME ENTRY END EXPECTED-STATUS EXPECTED-LOG: one case; the nubs start in
# the modes mouse and scroll, each node comes back 4 polls after it went away,
# and the program must start only once both are back (5 polls), and the
# launcher end only once they are back again.
run() {
    local name=$1 entry=$2 end=$3 want_status=$4 want_log=$5
    prepare mouse scroll
    : >"$scratch/errors"
    launch "$scratch/log" "$entry" "$end" &
    local pid=$!
    if [ "$end" = sleep ]; then
        # The launcher is stopped while the game runs.
        wait_for "$scratch/log.launcher" || fail "$name: the program never started"
        kill -TERM "$(cat "$scratch/log.launcher")"
    fi
    wait "$pid"
    local status=$?
    [ "$status" -eq "$want_status" ] || fail "$name: status $status, expected $want_status"
    [ "$(seen "$scratch/log")" = "$want_log" ] ||
        fail "$name: the program saw '$(seen "$scratch/log")', expected '$want_log'"
    expect_after "$name" mouse scroll
    [ "$(polls)" -eq 10 ] || fail "$name: $(polls) polls in all, expected 5 before and 5 after the game"
    # (A shell may report the game's death by a signal.)
    [ -z "$(grep -vx Terminated "$scratch/errors")" ] || fail "$name: said '$(cat "$scratch/errors")'"
}

started="absolute absolute; nodes absolute absolute; after 5 polls"
run "quit from the menu" zynthra.sh "exit 0" 0 "zynthra $started"
run "the classic entry" zynthra-classic.sh "exit 0" 0 "zynthra-classic $started"
run "the game fails" zynthra.sh "exit 3" 3 "zynthra $started"
run "the game is killed" zynthra.sh signal 143 "zynthra $started"
run "the launcher is stopped" zynthra.sh sleep 143 "zynthra $started"

# Nodes that never come back: the game starts when the 3 s (30 polls) are up,
# and each wait says so.
never=$(printf "zynthra.sh: nub%s's input device did not come back within 3 s\n" 0 1 0 1)
for whole in "" yes; do
    name="nodes that never come back${whole:+, a sleep in whole seconds}"
    prepare mouse scroll
    : >"$scratch/errors"
    launch "$scratch/log" zynthra.sh "exit 0" FAKE_LATE=never ${whole:+FAKE_WHOLE_SECONDS=1}
    status=$?
    bound=30
    [ -n "$whole" ] && bound=3
    [ "$status" -eq 0 ] || fail "$name: status $status"
    [ "$(seen "$scratch/log")" = "zynthra absolute absolute; nodes none none; after $bound polls" ] ||
        fail "$name: the program saw '$(seen "$scratch/log")', expected it after $bound polls"
    [ "$(polls)" -eq $((2 * bound)) ] || fail "$name: $(polls) polls in all, expected $((2 * bound))"
    [ "$(cat "$scratch/errors")" = "$never" ] || fail "$name: said '$(cat "$scratch/errors")'"
done

# A nub already in absolute mode is neither switched nor restored, nor waited for.
prepare absolute scroll
: >"$scratch/errors"
launch "$scratch/log" zynthra.sh "exit 0"
[ "$(seen "$scratch/log")" = "zynthra absolute absolute; nodes absolute absolute; after 5 polls" ] ||
    fail "one nub absolute: the program saw '$(seen "$scratch/log")'"
expect_after "one nub absolute" absolute scroll
for removed in "$state"/removed.*.0; do
    [ -e "$removed" ] && fail "one nub absolute: nub0's device was registered anew"
done

# A second launch while a game runs: it says so, starts nothing and leaves the
# modes alone; the first restores what it found.
prepare mouse scroll
: >"$scratch/errors"
launch "$scratch/log" zynthra.sh wait &
first=$!
wait_for "$scratch/log" || fail "a second launch: the first game never started"
launch "$scratch/log2" zynthra-classic.sh "exit 0"
status=$?
[ "$status" -eq 1 ] || fail "a second launch: status $status, expected 1"
[ ! -e "$scratch/log2" ] || fail "a second launch started a game: $(cat "$scratch/log2")"
[ "$(cat "$scratch/errors")" = "zynthra-classic.sh: a game of this package is already running; not starting another" ] ||
    fail "a second launch said '$(cat "$scratch/errors")'"
[ "$(cat "$nubs/nub0/mode") $(cat "$nubs/nub1/mode")" = "absolute absolute" ] &&
    [ "$(polls)" -eq 5 ] || fail "a second launch touched the nubs"
touch "$state/release"
wait "$first"
status=$?
[ "$status" -eq 0 ] || fail "a second launch: the first ended with status $status"
expect_after "a second launch" mouse scroll

# A lock left by a launch that never ended (its number now another program's) holds nothing up.
prepare mouse scroll
: >"$scratch/errors"
echo $$ >"$folder/.zynthra-running"
launch "$scratch/log" zynthra.sh "exit 0"
[ "$(seen "$scratch/log")" = "zynthra $started" ] || fail "a left-over lock: the program saw '$(seen "$scratch/log")'"
expect_after "a left-over lock" mouse scroll

# Without nub controls (another machine) the game still starts.
rm -rf "$nubs"
(cd "$folder" && ZYNTHRA_NUB_DIR="$nubs" FAKE_LOG="$scratch/log" FAKE_END="exit 0" FAKE_NUBS="$nubs" FAKE_DEV="$dev" \
    FAKE_STATE="$state" ./zynthra.sh) 2>"$scratch/err"
status=$?
[ "$status" -eq 0 ] && [ ! -s "$scratch/err" ] || fail "without nubs: status $status, errors: $(cat "$scratch/err")"

checks_done "the launch script set and restored the nubs and waited for their nodes in every case" "files are in $scratch"
