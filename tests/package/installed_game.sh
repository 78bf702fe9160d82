#!/bin/bash
# Unpacks this machine's zynthra package into a scratch root and plays a short
# scripted game with each installed command, headless, as a new player:
#   installed_game.sh DEB_DIR SCRIPT.vpad SCRATCH_DIR
# The launcher finds no display, so it starts its own Xvfb and the game plays
# the script itself, with nothing preloaded. Every check that fails is reported; the status is 1
# if any did.
set -u

deb_dir=$1
script=$2
scratch=$3

. "$(dirname "$0")/../support/checks.sh"

arch=$(dpkg --print-architecture)
shopt -s nullglob
debs=("$deb_dir"/zynthra_*_"$arch".deb)
[ ${#debs[@]} -eq 1 ] || die "expected one zynthra_*_$arch.deb in $deb_dir, found ${#debs[@]}"

rm -rf "$scratch"
root=$scratch/root
home=$scratch/home
data_home=$scratch/data-home
player=$data_home/zynthra
mkdir -p "$root" "$home" "$data_home"
dpkg -x "${debs[0]}" "$root" || die "dpkg -x ${debs[0]} failed"
echo "unpacked ${debs[0]##*/}"

manifest() {
    (cd "$root" && find . -printf '%p %y %s %m %T@ %l\n' | sort)
}
manifest >"$scratch/install-before"

# ---- menu entries: each names an installed command and an installed icon ----
entries=("$root"/usr/share/applications/*.desktop)
[ ${#entries[@]} -eq 2 ] || fail "expected 2 menu entries, found ${#entries[@]}"
for entry in "${entries[@]}"; do
    command=$(sed -n 's/^Exec=//p' "$entry")
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [ -n "$command" ] && [ -x "$root/usr/games/$command" ] ||
        fail "${entry##*/}: Exec=$command is not an installed command"
    [ "$(sed -n 's/^StartupWMClass=//p' "$entry")" = "$command" ] ||
        fail "${entry##*/}: StartupWMClass is not the window class $command"
    png=$root/usr/share/icons/hicolor/128x128/apps/$icon.png
    [ "$(/usr/bin/identify -format '%m %wx%h' "$png" 2>/dev/null)" = "PNG 128x128" ] ||
        fail "${entry##*/}: Icon=$icon is not a 128 x 128 PNG in the icon theme"
done

# ---- the desktop's edition: SDL 2, nothing to preload ----
for program in zynthra zynthra-classic; do
    objdump -p "$root/usr/lib/games/zynthra/$program" | grep -q 'NEEDED *libSDL2-2.0.so.0' ||
        fail "the installed $program is not the SDL 2 edition"
done
[ -z "$(find "$root" -name 'libvpad*' -o -name 'vpad-gamepad' -o -name fbgrab)" ] ||
    fail "the package holds what only a preloaded pad needed"

# ---- a game with an installed command ----
play() {
    local command=$1
    echo "playing $command"
    env -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" XDG_DATA_HOME="$data_home" \
        ZYNTHRA_DEMO="$script" ZYNTHRA_DEMO_TIMEOUT=240 \
        "$root/usr/games/$command" >"$scratch/$command.log" 2>&1
    local status=$?
    if [ "$status" -ne 0 ]; then
        fail "$command ended with status $status; its output:"
        sed 's/^/    /' "$scratch/$command.log"
    fi
}

# Screenshot FILE is the game's 800 x 480 screen with something drawn on it.
check_screen() {
    local shot=$player/$1
    local size
    size=$(/usr/bin/identify -format '%wx%h' "$shot" 2>/dev/null) || {
        fail "no screenshot $1 in the player's folder"
        return
    }
    [ "$size" = 800x480 ] || fail "$1 is $size, not 800x480"
    local spread
    spread=$(/usr/bin/convert "$shot" -colorspace Gray -format '%[fx:standard_deviation > 0.02]' info:)
    [ "$spread" = 1 ] || fail "$1 is blank"
}

# Screenshots A and B show different screens.
check_differ() {
    local rmse
    rmse=$(/usr/bin/compare -metric RMSE "$player/$1" "$player/$2" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p')
    awk -v e="${rmse:-0}" 'BEGIN { exit !(e > 0.02) }' || fail "$1 and $2 show the same screen"
}

check_install_untouched() {
    manifest >"$scratch/install-after"
    diff "$scratch/install-before" "$scratch/install-after" >"$scratch/install-diff" ||
        { fail "the install location changed during $1:"; sed 's/^/    /' "$scratch/install-diff"; }
}

# What the script snaps, in the player's folder.
shots="title.png playing.png paused.png game-over.png menu.png"

play zynthra
for shipped in "$root"/usr/share/games/zynthra/data/*; do
    name=${shipped##*/}
    cmp -s "$shipped" "$player/$name" || fail "shipped $name is not in the player's folder"
done
for own in config.txt highScores.txt; do
    [ -s "$player/$own" ] || fail "the game did not create $own in the player's folder"
done
for shot in $shots; do
    check_screen "$shot"
done
check_differ title.png playing.png
check_differ playing.png paused.png
check_install_untouched zynthra

# ---- the classic command shares the folder and keeps the player's files ----
printf 'movement\t2\nfiring\t3\nsound\t0\nmusic\t100\n' >"$player/config.txt"
for row in 1 2 3 4 5 6 7 8 9 10; do
    printf 'ace%s\t999999\n' "$row"
done >"$player/highScores.txt"
cp "$player/config.txt" "$player/highScores.txt" "$scratch/"
(cd "$player" && rm -f $shots)
play zynthra-classic
cmp -s "$scratch/config.txt" "$player/config.txt" || fail "the player's config.txt was replaced"
cmp -s "$scratch/highScores.txt" "$player/highScores.txt" || fail "the player's highScores.txt was replaced"
check_screen title.png
check_install_untouched zynthra-classic

checks_done "the installed package played both programs headless" "files are in $scratch"
