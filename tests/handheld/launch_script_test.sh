#!/bin/bash
# The handheld's launch script (packaging/pnd/zynthra.sh) with stand-in programs:
#   launch_script_test.sh LAUNCH_SCRIPT SCRATCH
# It must start the program its own name names, set both nubs to absolute mode
# while it runs, and restore their modes however the program ends, passing the
# program's status on.
set -u
launch=$1
scratch=$2

. "$(dirname "$0")/../support/checks.sh"

rm -rf "$scratch"
folder=$scratch/package
nubs=$scratch/proc
mkdir -p "$folder" "$nubs/nub0" "$nubs/nub1"
cp "$launch" "$folder/zynthra.sh"
ln -s zynthra.sh "$folder/zynthra-classic.sh"
# A stand-in program: notes its name and the nubs' modes, then ends as FAKE_END says.
for program in zynthra zynthra-classic; do
    cat >"$folder/$program" <<'SH'
#!/bin/bash
echo "${0##*/}" $(cat "$ZYNTHRA_NUB_DIR"/nub[01]/mode 2>/dev/null) >"$FAKE_LOG"
case $FAKE_END in
exit*) exit "${FAKE_END#exit }" ;;
signal) kill -TERM $$ ;;
sleep) sleep 2 ;;
esac
SH
    chmod +x "$folder/$program"
done

# run NAME ENTRY END EXPECTED-STATUS EXPECTED-LOG: one case; the nubs start in
# the modes mouse and scroll and must be back in them afterwards.
run() {
    local name=$1 entry=$2 end=$3 want_status=$4 want_log=$5
    echo mouse >"$nubs/nub0/mode"
    echo scroll >"$nubs/nub1/mode"
    rm -f "$scratch/log"
    (cd "$folder" && ZYNTHRA_NUB_DIR="$nubs" FAKE_LOG="$scratch/log" FAKE_END="$end" "./$entry") &
    local pid=$!
    if [ "$end" = sleep ]; then
        # The launcher is stopped while the game runs.
        sleep 1
        pkill -TERM -P "$pid" -x "$entry" 2>/dev/null || kill -TERM "$pid"
    fi
    wait "$pid"
    local status=$?
    [ "$status" -eq "$want_status" ] || fail "$name: status $status, expected $want_status"
    [ "$(cat "$scratch/log" 2>/dev/null)" = "$want_log" ] ||
        fail "$name: the program saw '$(cat "$scratch/log" 2>/dev/null)', expected '$want_log'"
    [ "$(cat "$nubs/nub0/mode")" = mouse ] && [ "$(cat "$nubs/nub1/mode")" = scroll ] ||
        fail "$name: nub modes '$(cat "$nubs/nub0/mode")' '$(cat "$nubs/nub1/mode")' were not restored"
}

run "quit from the menu" zynthra.sh "exit 0" 0 "zynthra absolute absolute"
run "the classic entry" zynthra-classic.sh "exit 0" 0 "zynthra-classic absolute absolute"
run "the game fails" zynthra.sh "exit 3" 3 "zynthra absolute absolute"
run "the game is killed" zynthra.sh signal 143 "zynthra absolute absolute"
run "the launcher is stopped" zynthra.sh sleep 143 "zynthra absolute absolute"

# Without nub controls (another machine) the game still starts.
rm -rf "$nubs"
(cd "$folder" && ZYNTHRA_NUB_DIR="$nubs" FAKE_LOG="$scratch/log" FAKE_END="exit 0" ./zynthra.sh) 2>"$scratch/err"
status=$?
[ "$status" -eq 0 ] && [ ! -s "$scratch/err" ] || fail "without nubs: status $status, errors: $(cat "$scratch/err")"

checks_done "the launch script set and restored the nubs in every case"
