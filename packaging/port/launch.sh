#!/bin/sh
# Starts the game from its port folder, from whatever folder it is started in:
#
#   Zynthra.sh [OPTION...]           the game
#   "Zynthra Classic.sh" [OPTION...]  (the same script) the classic game
#
# The options go to the game after --fullscreen (--script FILE plays a script).
# The game runs in conf/ beside this script, which keeps the player's
# config.txt, highScores.txt and screenshots; the shipped files from game/data/
# are copied there whenever they differ. The program is the machine's, by
# uname -m: game/zynthra.aarch64 or game/zynthra.armhf (any other machine
# its own name; armhf on an aarch64 kernel whose userland is 32-bit), with
# game/libs.<machine>/ searched first for libraries.
# Everything is logged to log.txt beside this script.
#
# A firmware that names its controller mappings in SDL_GAMECONTROLLERCONFIG_FILE
# gets them used, also by an SDL too old to read that file by itself.

port=$(cd "$(dirname "$0")" && pwd) || exit 1
game=$port/game
conf=$port/conf

case $(basename "$0") in
*Classic*) program=zynthra-classic ;;
*) program=zynthra ;;
esac

case $(uname -m) in
aarch64 | arm64) machine=aarch64 ;;
arm*) machine=armhf ;;
*) machine=$(uname -m) ;;
esac
# Some firmwares run a 32-bit userland on a 64-bit kernel: it runs armhf's
# programs only.
if [ "$machine" = aarch64 ] && [ "$(getconf LONG_BIT 2>/dev/null)" = 32 ]; then
    machine=armhf
fi

exec >"$port/log.txt" 2>&1
echo "$program on $machine, started $(date)"

binary=$game/$program.$machine
if [ ! -x "$binary" ]; then
    echo "this port has no $program for $machine"
    exit 1
fi

mkdir -p "$conf" || exit 1
for shipped in "$game"/data/*; do
    copy=$conf/${shipped##*/}
    cmp -s "$shipped" "$copy" || cp "$shipped" "$copy" || echo "cannot copy ${shipped##*/} into $conf"
done

# The mappings go into the environment only while they fit: the kernel refuses
# to start a program with one variable over 128 KiB, and SDL 2.0.22 and later
# read the file by itself anyway.
mappings=${SDL_GAMECONTROLLERCONFIG_FILE:-}
if [ -n "$mappings" ] && [ -r "$mappings" ] && [ "$(wc -c <"$mappings")" -lt 65536 ]; then
    # The firmware's own variable comes last, so its lines win.
    SDL_GAMECONTROLLERCONFIG="$(cat "$mappings")${SDL_GAMECONTROLLERCONFIG:+
$SDL_GAMECONTROLLERCONFIG}"
    export SDL_GAMECONTROLLERCONFIG
    echo "controller mappings from $mappings"
fi

if [ -d "$game/libs.$machine" ]; then
    LD_LIBRARY_PATH=$game/libs.$machine${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}
    export LD_LIBRARY_PATH
fi

cd "$conf" || exit 1
# The game takes this process's place, so the signal a firmware's exit key
# sends reaches it (it saves and quits as "Quit" does).
exec "$binary" --fullscreen "$@"
