#!/bin/bash
# Plays the handheld's package the way the handheld runs it:
#   pnd_test.sh PND ABI_CHECK RUN_HANDHELD LIBVPAD SCRIPT.vpad SCRATCH
# Splits the .pnd into its image, PXML and icon and checks those; unpacks the
# image; copies it to a writable folder (the handheld lays the application's
# writable folder over the read-only image); runs the zynthra application's exec
# there under qemu-arm and Xvfb with the scripted virtual pad, the nubs' modes in
# a scratch folder; then checks the status, the files the game wrote, the nub
# modes and the screenshots, and that the image's folder was left untouched.
set -u
pnd=$1
abi_check=$2
run_handheld=$3
vpad=$4
script=$5
scratch=$6

. "$(dirname "$0")/../support/checks.sh"

rm -rf "$scratch"
mkdir -p "$scratch"
image=$scratch/image
writable=$scratch/writable

# ---- the three parts: squashfs image, PXML, icon ----
xml_at=$(grep -abo '<?xml version' "$pnd" | tail -n 1 | cut -d: -f1)
end_tag='</PXML>'
end_at=$(grep -abo "$end_tag" "$pnd" | tail -n 1 | cut -d: -f1)
[ -n "$xml_at" ] && [ -n "$end_at" ] || die "no PXML appended to $pnd"
pxml_end=$((end_at + ${#end_tag}))
# The icon is the PNG that follows (after a line break, perhaps).
icon_at=$(LC_ALL=C grep -abo $'\x89PNG' "$pnd" | cut -d: -f1 | awk -v after="$pxml_end" '$1 >= after' | head -n 1)
[ -n "$icon_at" ] || die "no icon appended after the PXML"
tail -c +$((xml_at + 1)) "$pnd" | head -c $((pxml_end - xml_at)) >"$scratch/PXML.xml"
tail -c +$((icon_at + 1)) "$pnd" >"$scratch/icon.png"
head -c "$xml_at" "$pnd" >"$scratch/image.squashfs"
unsquashfs -d "$image" "$scratch/image.squashfs" >"$scratch/unsquashfs.log" 2>&1 ||
    die "unsquashfs failed: $(cat "$scratch/unsquashfs.log")"

pxml=$scratch/PXML.xml
xmllint --noout "$pxml" || die "the appended PXML is not well-formed"
# value XPATH: the text of an attribute or element, ignoring the namespace.
value() {
    xmllint --xpath "string($1)" "$pxml" 2>/dev/null
}
ns() {  # /a/b -> /*[local-name()='a']/*[local-name()='b']
    echo "$1" | sed "s#/\([A-Za-z]*\)#/*[local-name()='\1']#g"
}
[ -n "$(value "$(ns /PXML/package)/@id")" ] || fail "the package has no id"
apps=$(value "count($(ns /PXML/application))")
[ "$apps" = 2 ] || fail "expected 2 applications, found $apps"
for i in 1 2; do
    app="$(ns /PXML/application)[$i]"
    id=$(value "$app/@id")
    [ -n "$id" ] || fail "application $i has no id"
    for field in titles/title descriptions/description; do
        [ -n "$(value "$app$(ns "/$field")")" ] || fail "$id: no $field"
    done
    [ -n "$(value "$app$(ns /author)/@name")" ] || fail "$id: no author"
    [ -n "$(value "$app$(ns /version)/@major")" ] || fail "$id: no version"
    [ "$(value "$app$(ns /categories/category)/@name")" = Game ] || fail "$id: not in the Game category"
    [ "$(value "$app$(ns /categories/category/subcategory)/@name")" = ActionGame ] ||
        fail "$id: not an ActionGame"
    exec=$(value "$app$(ns /exec)/@command")
    [ -n "$exec" ] && [ -x "$image/$exec" ] || fail "$id: exec '$exec' is not an executable file in the image"
    icon=$(value "$app$(ns /icon)/@src")
    [ "$(/usr/bin/identify -format '%m' "$image/$icon" 2>/dev/null)" = PNG ] ||
        fail "$id: icon '$icon' is not a PNG in the image"
done
[ "$(/usr/bin/identify -format '%m' "$scratch/icon.png" 2>/dev/null)" = PNG ] || fail "the appended icon is not a PNG"
package_icon=$image/$(value "$(ns /PXML/package/icon)/@src")
cmp -s "$scratch/icon.png" "$package_icon" || fail "the appended icon is not the package's icon"
"$abi_check" "$image/zynthra" "$image/zynthra-classic" || fail "the packed programs break the handheld's ABI"

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

exec=$(value "$(ns /PXML/application)[1]$(ns /exec)/@command")
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
