#!/bin/sh
# The launcher with stand-in game programs: the player's data folder, and the game
# started headless (its own demo script under Xvfb), on a desktop (X11 or
# Wayland: the desktop's own display, nothing preloaded) and with the options and
# settings passed on.
#
#   launcher_test.sh LAUNCHER
set -u
absolute() { case $1 in /*) echo "$1" ;; *) echo "$PWD/$1" ;; esac; }
launcher=$(absolute "$1")

t=$(mktemp -d "${TMPDIR:-/tmp}/launcher_test.XXXXXX")
outer_pid=
cleanup() {
    [ -n "$outer_pid" ] && kill "$outer_pid" 2>/dev/null && wait "$outer_pid" 2>/dev/null
    rm -rf "$t"
}
trap cleanup EXIT

failures=0
check() {
    what=$1
    shift
    if ! "$@"; then
        echo "FAIL: $what"
        failures=$((failures + 1))
    fi
}
has_line() { grep -qxF -- "$2" "$1"; }
content_is() { [ "$(cat "$1")" = "$2" ]; }

# The stand-in game reports what it was started with, leaves a screenshot as the
# demo's snaps do, and ends with the status it is told.
mkdir "$t/bin"
cat >"$t/bin/zynthra" <<'EOF'
#!/bin/sh
{
    echo "program=${0##*/}"
    echo "cwd=$(pwd)"
    echo "display=${DISPLAY:-}"
    echo "wayland=${WAYLAND_DISPLAY:-}"
    echo "args=$*"
    [ -n "${DISPLAY:-}" ] && echo "screen=$(xdpyinfo | sed -n 's/^ *dimensions: *\([0-9x]*\) .*/\1/p')"
    echo "preload=${LD_PRELOAD:-}"
    echo "audio=${SDL_AUDIODRIVER:-}"
    echo "audiofile=${SDL_DISKAUDIOFILE:-}"
} >"$GAME_REPORT"
echo "a screenshot" >game-shot.png
exit "${GAME_STATUS:-0}"
EOF
chmod +x "$t/bin/zynthra"
cp "$t/bin/zynthra" "$t/bin/zynthra-classic"
# The source tree's build folder names them so.
cp "$t/bin/zynthra" "$t/bin/zynthra-sdl2"
echo "log the stand-in game does not run frames" >"$t/demo.vpad"

# Shipped data against a player's folder from an earlier version.
mkdir -p "$t/data" "$t/xdg/zynthra"
player=$t/xdg/zynthra
echo "font v2" >"$t/data/font.png"
echo "music v2" >"$t/data/menuLoop.ogg"
echo "logo v1" >"$t/data/zyn.png"
echo "shipped config" >"$t/data/config.txt"
echo "shipped scores" >"$t/data/highScores.txt"
echo "music v1" >"$player/menuLoop.ogg"
echo "logo edited by the player" >"$player/zyn.png"
echo "player config" >"$player/config.txt"
echo "player scores" >"$player/highScores.txt"
touch -d 2020-01-01 "$player/menuLoop.ogg" "$player/config.txt" "$player/highScores.txt" "$t/data/zyn.png"

# Runs the launcher from $t, with no display unless one is given among the settings.
launch() {
    (cd "$t" && env -u DISPLAY -u WAYLAND_DISPLAY -u LD_PRELOAD XDG_DATA_HOME="$t/xdg" ZYNTHRA_BIN_DIR="$t/bin" ZYNTHRA_DATA_SRC=data \
        ZYNTHRA_DEMO=demo.vpad "$@" sh "$launcher" $LAUNCH_ARGS)
}

# Headless: the demo under Xvfb, with sound to a file.
LAUNCH_ARGS=
launch GAME_REPORT="$t/headless" >"$t/headless.out" 2>&1
check "headless run succeeds" [ $? -eq 0 ]
check "new data file copied" content_is "$player/font.png" "font v2"
check "newer data file replaces an older one" content_is "$player/menuLoop.ogg" "music v2"
check "older shipped file leaves the player's copy" content_is "$player/zyn.png" "logo edited by the player"
check "config.txt never replaced" content_is "$player/config.txt" "player config"
check "highScores.txt never replaced" content_is "$player/highScores.txt" "player scores"
check "no partial copies left" [ -z "$(find "$player" -name '*.part.*')" ]
check "headless runs the main program" has_line "$t/headless" "program=zynthra"
check "game runs in the player's folder" has_line "$t/headless" "cwd=$player"
check "headless screen is 800 x 480" has_line "$t/headless" "screen=800x480"
check "headless game has nothing preloaded" has_line "$t/headless" "preload="
check "headless plays the demo script, its path made absolute" has_line "$t/headless" "args=--script $t/demo.vpad"
check "headless sound goes to a file" has_line "$t/headless" "audio=disk"
check "screenshot saved in the player's folder" [ -s "$player/game-shot.png" ]
check "screenshot listed" grep -qF "$player/game-shot.png" "$t/headless.out"

# The classic program, and the game's exit status passed on.
LAUNCH_ARGS=--classic
launch GAME_REPORT="$t/classic" GAME_STATUS=3 >"$t/classic.out" 2>&1
check "game's exit status returned" [ $? -eq 3 ]
check "--classic runs the classic program" has_line "$t/classic" "program=zynthra-classic"

# The programs' names in a build folder.
LAUNCH_ARGS=
launch GAME_REPORT="$t/suffix" ZYNTHRA_PROGRAM_SUFFIX=-sdl2 >"$t/suffix.out" 2>&1
check "the suffix names the program" has_line "$t/suffix" "program=zynthra-sdl2"

# On a desktop (here a larger Xvfb): the desktop's own screen, nothing
# preloaded, the desktop's own sound; full screen on request.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$t/outer" 2>/dev/null &
outer_pid=$!
tries=0
while [ ! -s "$t/outer" ] && [ "$tries" -lt 200 ]; do
    tries=$((tries + 1))
    sleep 0.05
done
outer=:$(head -n 1 "$t/outer")
LAUNCH_ARGS=
launch DISPLAY="$outer" GAME_REPORT="$t/desktop" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$t/disk.raw" \
    >"$t/desktop.out" 2>&1
check "desktop run succeeds" [ $? -eq 0 ]
check "desktop game on the desktop's own display" has_line "$t/desktop" "display=$outer"
check "desktop screen as it is" has_line "$t/desktop" "screen=1024x768"
check "a window unless asked" has_line "$t/desktop" "args="
check "desktop game has nothing preloaded" has_line "$t/desktop" "preload="
check "desktop sound settings passed on" has_line "$t/desktop" "audio=disk"

# Sound settings that cannot work (a sound server that is gone, a driver SDL
# does not have) are the game's to handle, in one line of its own: the
# launcher passes them on and says nothing.
launch DISPLAY="$outer" GAME_REPORT="$t/stale" SDL_AUDIODRIVER=pipewire PULSE_SERVER=unix:/nonexistent \
    >"$t/stale.out" 2>&1
check "stale sound settings: the game runs" [ $? -eq 0 ]
check "stale sound settings passed on" has_line "$t/stale" "audio=pipewire"
check "stale sound settings: the launcher says nothing of sound" [ "$(grep -ci "sound" "$t/stale.out")" -eq 0 ]

# A Wayland desktop with no X server: the game on it, no demo.
launch WAYLAND_DISPLAY=wayland-7 GAME_REPORT="$t/wayland" SDL_AUDIODRIVER=dummy >"$t/wayland.out" 2>&1
check "Wayland run succeeds" [ $? -eq 0 ]
check "Wayland: the desktop's own display" has_line "$t/wayland" "wayland=wayland-7"
check "Wayland: no X server started" has_line "$t/wayland" "display="
check "Wayland: no demo" has_line "$t/wayland" "args="

LAUNCH_ARGS=--fullscreen
launch DISPLAY="$outer" GAME_REPORT="$t/full" >"$t/full.out" 2>&1
check "--fullscreen passed to the game" has_line "$t/full" "args=--fullscreen"

# A fresh folder gets everything shipped, settings included.
LAUNCH_ARGS=
launch XDG_DATA_HOME="$t/fresh" GAME_REPORT="$t/fresh.report" >/dev/null 2>&1
check "fresh folder gets the shipped settings" content_is "$t/fresh/zynthra/config.txt" "shipped config"

# Relative folders: a relative XDG_DATA_HOME is ignored for HOME, and a relative
# HOME is taken from where the launcher started; the game gets absolute paths.
LAUNCH_ARGS=
launch XDG_DATA_HOME=rel-xdg HOME=rel-home GAME_REPORT="$t/relative" >"$t/relative.out" 2>&1
check "relative folders: run succeeds" [ $? -eq 0 ]
check "relative XDG_DATA_HOME ignored" [ ! -e "$t/rel-xdg" ]
check "relative HOME resolved once" has_line "$t/relative" "cwd=$t/rel-home/.local/share/zynthra"
check "demo sound file given as an absolute path" \
    has_line "$t/relative" "audiofile=$t/rel-home/.local/share/zynthra/demo-audio.raw"
check "relative HOME gets the data" content_is "$t/rel-home/.local/share/zynthra/font.png" "font v2"
launch XDG_DATA_HOME= HOME= GAME_REPORT="$t/nohome" >"$t/nohome.out" 2>&1
check "no HOME and no XDG_DATA_HOME fails" [ $? -ne 0 ]
check "no HOME starts no game" [ ! -e "$t/nohome" ]

# A wrong option starts nothing.
LAUNCH_ARGS=--fast
launch GAME_REPORT="$t/wrong" >"$t/wrong.out" 2>&1
check "unknown option fails" [ $? -ne 0 ]
check "unknown option named" grep -q -- "--fast" "$t/wrong.out"
check "unknown option starts no game" [ ! -e "$t/wrong" ]

if [ "$failures" -ne 0 ]; then
    echo "$failures launcher check(s) failed; launcher output:"
    cat "$t"/*.out
    exit 1
fi
echo "all launcher checks passed"
