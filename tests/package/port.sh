#!/bin/bash
# The port folder for today's ARM handhelds, as a player gets it: packed by
# packaging/port/make-port with this machine's SDL 2 edition standing in for
# the ARM programs (the launch script picks the program by uname -m), unzipped
# into a scratch "ports" folder and started through its launch scripts from
# another folder, under a 640 x 480 Xvfb:
#   port.sh SOURCE_DIR BUILD_DIR SCRATCH_DIR
# The first check that fails ends it, with status 1.
set -u

source_dir=$1
build=$2
scratch=$3

rm -rf "$scratch"
mkdir -p "$scratch/ports" "$scratch/elsewhere" "$scratch/work"
export case_name=package_port
work=$scratch/work
# shellcheck source=../e2e/common.sh
. "$source_dir/tests/e2e/common.sh"
die() { fail "$@"; }
# A failure's report shows what the launches logged.
program_logs() {
    [ -s "$port/log.txt" ] && { echo "--- log.txt:"; cat "$port/log.txt"; }
}
port=$scratch/ports/zynthra

machine=$(uname -m)

# ---- the screenshot, by the game itself, and the zip ----
"$source_dir/packaging/port/screenshot" "$build/zynthra-sdl2" "$scratch/screenshot.png" ||
    die "the game took no screenshot for the port"
"$source_dir/packaging/port/make-port" "$scratch/zynthra.zip" "$scratch/screenshot.png" "$machine=$build" ||
    die "make-port failed"
unzip -q "$scratch/zynthra.zip" -d "$scratch/ports" || die "the zip does not unpack"

# ---- what the folder holds ----
python3 - "$port/port.json" <<'PY' || fail "port.json lacks what the ports menu reads"
import json, sys
port = json.load(open(sys.argv[1]))
assert port["name"] == "zynthra" and port["title"] and port["description"], port
assert port["arch"] == ["aarch64", "armhf"] and port["reqs"] == ["opengl"], port
PY
[ -s "$port/README.md" ] || fail "no README.md"
[ "$(/usr/bin/identify -format '%m %wx%h' "$port/screenshot.png" 2>/dev/null)" = "PNG 640x480" ] ||
    fail "screenshot.png is not a 640 x 480 PNG"
# The 5:3 picture fills the width: 48 black rows above and below it, and a
# picture between them.
bars=$(/usr/bin/convert "$port/screenshot.png" \( +clone -crop 640x48+0+0 \) \( -clone 0 -crop 640x48+0+432 \) \
    -delete 0 -append -format '%[fx:maxima.intensity]' info: 2>/dev/null)
[ "$bars" = 0 ] || fail "the screenshot's bars are not black ($bars)"
spread=$(/usr/bin/convert "$port/screenshot.png" -crop 640x384+0+48 -colorspace Gray \
    -format '%[fx:standard_deviation > 0.02]' info: 2>/dev/null)
[ "$spread" = 1 ] || fail "the screenshot shows no picture"
for script in Zynthra.sh "Zynthra Classic.sh"; do
    [ -x "$port/$script" ] || fail "$script is not executable"
done
shellcheck -s sh "$port/Zynthra.sh" "$port/Zynthra Classic.sh" || fail "the launch scripts are not shellcheck clean"
for program in zynthra zynthra-classic; do
    [ -x "$port/game/$program.$machine" ] || fail "no game/$program.$machine"
done
[ -f "$port/game/data/font.png" ] || fail "no data in game/data"

# ---- played through the launch script, from another folder ----
start_xvfb 640x480x24
export SDL_AUDIODRIVER=dummy

# A firmware's mapping file: the script hands its lines to SDL.
mapping=$scratch/mappings.txt
echo "03000000de2800004211000011010000,Port Test Pad,a:b0,b:b1,platform:Linux," >"$mapping"

launch() {  # SCRIPT_NAME ARGS...
    local name=$1
    shift
    (cd "$scratch/elsewhere" && SDL_GAMECONTROLLERCONFIG_FILE=$mapping timeout 600 "$port/$name" "$@") \
        >"$work/out.txt" 2>"$work/err.txt"
}

find "$port" | sort >"$scratch/before"
launch Zynthra.sh --script "$source_dir/tests/package/port_game.script"
status=$?
[ "$status" = 0 ] || fail "Zynthra.sh ended with status $status"
log=$(cat "$port/log.txt" 2>/dev/null)
grep -q "^zynthra on $machine" <<<"$log" || fail "log.txt does not name the program and the machine"
grep -q "Unable to open config file!" <<<"$log" || fail "log.txt does not hold what the game printed"
grep -q "controller mappings from $mapping" <<<"$log" || fail "the firmware's mappings were not used"
conf=$port/conf
[ "$(grep -c . "$conf/config.txt" 2>/dev/null)" = 4 ] || fail "no config.txt of four lines in conf/"
[ "$(grep -c . "$conf/highScores.txt" 2>/dev/null)" = 10 ] || fail "no high-score table in conf/"
for shot in title playing after; do
    [ "$(/usr/bin/identify -format '%wx%h' "$conf/$shot.png" 2>/dev/null)" = 640x480 ] ||
        fail "no 640 x 480 $shot.png in conf/"
done
[ -z "$(ls -A "$scratch/elsewhere")" ] || fail "the game wrote into the folder it was started from"
# Nothing but conf/ and the log is new.
find "$port" | grep -v -e "^$conf" -e "^$port/log.txt$" | sort | diff "$scratch/before" - ||
    fail "the launch changed the port's own files"

# The classic program from its own script keeps the player's settings.
printf 'movement\t2\nfiring\t3\nsound\t20\nmusic\t30\n' >"$conf/config.txt"
printf 'frames 30\nquit\n' >"$scratch/quit.script"
launch "Zynthra Classic.sh" --script "$scratch/quit.script" || fail "Zynthra Classic.sh failed"
grep -q "^zynthra-classic on $machine" "$port/log.txt" || fail "Zynthra Classic.sh did not start the classic game"
[ "$(cat "$conf/config.txt")" = "$(printf 'movement\t2\nfiring\t3\nsound\t20\nmusic\t30')" ] ||
    fail "a start replaced the player's config.txt"

echo "port: packed, unpacked and played through its scripts"
