#!/bin/bash
# The port folder for today's ARM handhelds with the programs built for them,
# started as a 64-bit handheld's ports menu starts it, under qemu-aarch64 on a
# 640 x 480 Xvfb:
#   port_qemu.sh SOURCE_DIR AARCH64_BUILD ARMHF_BUILD SCRATCH_DIR
# Packed by packaging/port/make-port with both machines' programs; every ELF
# file in the zip must pass the ABI check of its machine. Unzipped into a
# scratch "ports" folder and started through Zynthra.sh from another folder,
# with uname saying aarch64 and the in-process script playing a short game;
# started again with getconf saying the userland is 32-bit, it must run the
# armhf program. This machine runs no binfmt handler for either, so each
# program's place in the unzipped folder holds a starter that runs the packed
# program, moved beside it, under qemu-aarch64 or qemu-arm -L / (the
# multi-arch root). The first check that fails ends it, with status 1.
set -u

# Absolute: the game is started from another folder.
source_dir=$(realpath "$1")
aarch64_build=$(realpath "$2")
armhf_build=$(realpath "$3")
scratch=$(realpath -m "$4")

rm -rf "$scratch"
mkdir -p "$scratch/ports" "$scratch/elsewhere" "$scratch/bin" "$scratch/work"
export case_name=port_qemu
work=$scratch/work
# shellcheck source=../e2e/common.sh
. "$source_dir/tests/e2e/common.sh"
port=$scratch/ports/zynthra
program_logs() {
    [ -s "$port/log.txt" ] && { echo "--- log.txt:"; cat "$port/log.txt"; }
    for log in out err; do
        [ -s "$work/$log.txt" ] && { echo "--- Zynthra.sh's std$log:"; cat "$work/$log.txt"; }
    done
}

# ---- packed with both machines' programs ----
# What the screenshot shows is checked where the host's program takes it
# (tests/package/port.sh); here the zip only needs one of the right size.
/usr/bin/convert -size 640x480 xc:black "$scratch/screenshot.png" || fail "cannot make a stand-in screenshot"
"$source_dir/packaging/port/make-port" "$scratch/zynthra.zip" "$scratch/screenshot.png" \
    aarch64="$aarch64_build" armhf="$armhf_build" >"$work/out.txt" 2>&1 || fail "make-port failed"
unzip -q "$scratch/zynthra.zip" -d "$scratch/ports" || fail "the zip does not unpack"

# ---- every ELF file in it loads on every firmware of its machine ----
elves=0
while IFS= read -r -d '' file; do
    [ "$(head -c 4 "$file" | od -An -c | tr -d ' ')" = '177ELF' ] || continue
    case $file in
    *.aarch64 | */libs.aarch64/*) machine=aarch64 ;;
    *.armhf | */libs.armhf/*) machine=armhf ;;
    *) fail "an ELF file of no machine the port names: ${file#"$port"/}" ;;
    esac
    "$source_dir/scripts/check-handheld-abi" --for "$machine" "$file" >"$work/abi.txt" 2>&1 ||
        fail "$(cat "$work/abi.txt")"
    elves=$((elves + 1))
done < <(find "$port" -type f -print0)
[ "$elves" = 4 ] || fail "$elves ELF files in the zip, not the 2 programs of each machine"

# ---- started through its script, as on a 64-bit handheld ----
# pretend COMMAND ARGS ANSWER: COMMAND on the game's PATH answers ARGS with
# ANSWER and anything else as the real one does.
pretend() {
    printf '#!/bin/sh\n[ "$*" = %s ] && echo %s && exit 0\nexec /usr/bin/%s "$@"\n' "$2" "$3" "$1" >"$scratch/bin/$1"
    chmod +x "$scratch/bin/$1"
}
pretend uname -m aarch64
# starter PROGRAM QEMU: PROGRAM's place in the port runs it under QEMU.
starter() {
    mv "$port/game/$1" "$port/game/$1.packed" || fail "no game/$1 in the port"
    printf '#!/bin/sh\nexec %s -L / "$0.packed" "$@"\n' "$2" >"$port/game/$1"
    chmod +x "$port/game/$1"
}
starter zynthra.aarch64 qemu-aarch64
starter zynthra.armhf qemu-arm

cat >"$scratch/game.script" <<'SCRIPT'
seed 20261209
frames 30
snap title.png
tap x
frames 40
nub0 256 0
nub1 0 -256
frames 60
snap playing.png
quit
SCRIPT

start_xvfb 640x480x24
# launch SCRIPT: Zynthra.sh from another folder, playing SCRIPT; sets status.
launch() {
    (cd "$scratch/elsewhere" && PATH=$scratch/bin:$PATH SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=x11 \
        timeout 900 "$port/Zynthra.sh" --script "$1") >"$work/out.txt" 2>"$work/err.txt"
    status=$?
}
launch "$scratch/game.script"
[ "$status" = 0 ] || fail "Zynthra.sh ended with status $status"
grep -q "^zynthra on aarch64" "$port/log.txt" || fail "log.txt does not name the aarch64 program"
conf=$port/conf
[ "$(grep -c . "$conf/config.txt" 2>/dev/null)" = 4 ] || fail "no config.txt of four lines in conf/"
[ "$(grep -c . "$conf/highScores.txt" 2>/dev/null)" = 10 ] || fail "no high-score table in conf/"
# Both snaps taken, and the script's quit ended it: the whole short game played.
for shot in title playing; do
    [ "$(/usr/bin/identify -format '%wx%h' "$conf/$shot.png" 2>/dev/null)" = 640x480 ] ||
        fail "no 640 x 480 $shot.png in conf/"
    # The 5:3 picture across the width: black bars of 48 rows above and below it.
    bars=$(/usr/bin/convert "$conf/$shot.png" \( +clone -crop 640x48+0+0 \) \( -clone 0 -crop 640x48+0+432 \) \
        -delete 0 -append -format '%[fx:maxima.intensity]' info: 2>/dev/null)
    [ "$bars" = 0 ] || fail "$shot.png's bars are not black ($bars)"
done
[ -z "$(ls -A "$scratch/elsewhere")" ] || fail "the game wrote into the folder it was started from"

# ---- a 64-bit kernel with a 32-bit userland runs the armhf program ----
pretend getconf LONG_BIT 32
printf 'frames 30\nquit\n' >"$scratch/quit.script"
launch "$scratch/quit.script"
[ "$status" = 0 ] || fail "Zynthra.sh on a 32-bit userland ended with status $status"
grep -q "^zynthra on armhf" "$port/log.txt" || fail "log.txt does not name the armhf program on a 32-bit userland"
echo "port_qemu: every program in the zip passes its machine's ABI check; Zynthra.sh played under qemu-aarch64, and started armhf's on a 32-bit userland"
