#!/bin/sh
# Regenerates every sound the game loads into DATA_DIR: the synthesised effects, the two
# music loops (Vorbis) and the spoken voice lines.
#   generate.sh DATA_DIR [SOUNDGEN]
# SOUNDGEN is a built synthesiser; without it the script compiles one from this folder.
# Needs espeak-ng, sox and oggenc (vorbis-tools). Reruns give the same files.
set -eu

[ $# -ge 1 ] || { echo "usage: $0 DATA_DIR [SOUNDGEN]" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
out=$1
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ $# -ge 2 ]; then
    gen=$2
else
    gen=$work/soundgen
    set --  # the synthesiser's sources: every .cpp here but its tests
    for source in "$here"/*.cpp; do
        case $source in *_test.cpp) ;; *) set -- "$@" "$source" ;; esac
    done
    ${CXX:-c++} -std=c++17 -O2 -Wall -Wextra -o "$gen" "$@"
fi

"$gen" "$out" "$work"

# A fixed stream serial number, or oggenc picks a random one and every run differs.
oggenc -Q -q 5 --serial 1 -o "$out/menuLoop.ogg" "$work/menuLoop.wav"
oggenc -Q -q 5 --serial 2 -o "$out/musicLoop.ogg" "$work/musicLoop.wav"

# voice FILE TEXT: a clear, slightly deep announcer over the arena's PA.
voice() {
    espeak-ng -v en-us+m3 -s 135 -p 30 -w "$work/raw.wav" "$2"
    # Trim the silence round the words, deepen a little, even out the level, lift the
    # consonants, then a short slap-back echo and a small room. -R: repeatable runs.
    sox -R "$work/raw.wav" -b 16 "$work/shaped.wav" \
        silence 1 0.01 -50d reverse silence 1 0.01 -50d reverse \
        highpass 100 pitch -100 \
        compand 0.002,0.05 3:-70,-70,-40,-18,-10,-12,0,-10 -3 -90 0.004 \
        equalizer 2500 1.2q 3 echo 0.8 0.7 90 0.18 pad 0 0.4 reverb 25 50 40
    # Level and fades need the final length, so they get a pass of their own.
    sox -R -D "$work/shaped.wav" -r 22050 -b 16 -c 1 "$out/$1" norm -1.5 fade q 0.005 0 0.15
}

voice laserUpVoice.wav "Laser up"
voice extraBombVoice.wav "Extra bomb"
voice extraLifeVoice.wav "Extra life"
voice superLaserVoice.wav "Super laser"
voice gameOverVoice.wav "Game over"
voice extraDecoyBombVoice.wav "Extra decoy bomb"
