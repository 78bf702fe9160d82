#!/bin/bash
# Plays the handheld's package the way the handheld runs it:
#   pnd_test.sh PND RUN_HANDHELD LIBVPAD SCRIPT.vpad SCRATCH
# Unpacks the image; copies it to a writable folder (the handheld lays the
# application's writable folder over the read-only image); runs the zynthra
# application's exec there under qemu-arm and Xvfb with the scripted virtual
# pad, the nubs' modes in a scratch folder; then checks the status, the files
# the game wrote, the nub modes and the screenshots, and that the image's folder
# was left untouched.
set -u
pnd=$1
run_handheld=$2
vpad=$3
script=$4
scratch=$5

. "$(dirname "$0")/../support/checks.sh"

rm -rf "$scratch"
mkdir -p "$scratch"
image=$scratch/image
writable=$scratch/writable

# The image ends where its own header says; what the package library reads
# after it (pnd_package_test.sh checks that) is ignored here.
unsquashfs -d "$image" "$pnd" >"$scratch/unsquashfs.log" 2>&1 ||
    die "unsquashfs failed: $(cat "$scratch/unsquashfs.log")"

# ---- run the zynthra application as the handheld would ----
cp -a "$image" "$writable"
manifest() {
    (cd "$image" && find . -printf '%p %y %s %m %T@ %l\n' | sort)
}
manifest >"$scratch/image-before"

nubs=$scratch/proc
mkdir -p "$nubs/nub0" "$nubs/nub1"
echo mouse >"$nubs/nub0/mode"
echo mbuttons >"$nubs/nub1/mode"

# The firmware's fbgrab, played by a grab of the X screen.
mkdir -p "$scratch/bin"
cat >"$scratch/bin/fbgrab" <<'SH'
#!/bin/sh
xwd -root -silent | /usr/bin/convert xwd:- "png:$1"
SH
chmod +x "$scratch/bin/fbgrab"

Xvfb -displayfd 3 -screen 0 800x480x24 -nolisten tcp -noreset 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb=$!
watcher=
cleanup() {
    [ -n "$watcher" ] && kill "$watcher" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT
for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
done
[ -s "$scratch/display" ] || die "Xvfb did not start"
display=:$(head -n 1 "$scratch/display")

# Note the nubs' modes while the game runs.
(while :; do echo "$(cat "$nubs/nub0/mode") $(cat "$nubs/nub1/mode")"; sleep 0.5; done) >"$scratch/modes" &
watcher=$!

exec=zynthra.sh
echo "running $exec in the writable folder under qemu-arm"
(cd "$writable" && env DISPLAY="$display" PATH="$scratch/bin:$PATH" SDL_AUDIODRIVER=dummy \
    ZYNTHRA_NUB_DIR="$nubs" ZYNTHRA_RUN_WITH="$run_handheld" ZYNTHRA_HANDHELD_PRELOAD="$vpad" \
    VPAD_SCRIPT="$script" timeout 1200 "./$exec") >"$scratch/game.log" 2>&1
status=$?
kill "$watcher"
watcher=
[ "$status" -eq 0 ] || { fail "$exec ended with status $status; its output:"; sed 's/^/    /' "$scratch/game.log"; }

grep -qx 'absolute absolute' "$scratch/modes" || fail "the nubs were never both in absolute mode while the game ran"
[ "$(cat "$nubs/nub0/mode")" = mouse ] || fail "nub0's mode is '$(cat "$nubs/nub0/mode")', not restored to mouse"
[ "$(cat "$nubs/nub1/mode")" = mbuttons ] || fail "nub1's mode is '$(cat "$nubs/nub1/mode")', not restored to mbuttons"

for own in config.txt highScores.txt; do
    [ -s "$writable/$own" ] || fail "the game did not write $own in the writable folder"
done
check_screen() {
    local size spread
    size=$(/usr/bin/identify -format '%wx%h' "$writable/$1" 2>/dev/null) || { fail "no screenshot $1"; return; }
    [ "$size" = 800x480 ] || fail "$1 is $size, not 800x480"
    spread=$(/usr/bin/convert "$writable/$1" -colorspace Gray -format '%[fx:standard_deviation > 0.02]' info:)
    [ "$spread" = 1 ] || fail "$1 is blank"
}
for shot in title.png playing.png menu.png; do
    check_screen "$shot"
done
rmse=$(/usr/bin/compare -metric RMSE "$writable/title.png" "$writable/playing.png" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p')
awk -v e="${rmse:-0}" 'BEGIN { exit !(e > 0.02) }' || fail "title.png and playing.png show the same screen"

manifest >"$scratch/image-after"
diff "$scratch/image-before" "$scratch/image-after" >"$scratch/image-diff" ||
    { fail "the image's folder changed:"; sed 's/^/    /' "$scratch/image-diff"; }

checks_done "the package played from its writable folder and left the nubs as it found them" "files are in $scratch"
