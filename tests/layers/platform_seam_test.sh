#!/bin/bash
# The build's platform seam check (cmake/check-platform-seam.cmake) on the tree
# as it is, and on copies with one include added: it must refuse each window,
# input or sound header and each backend header outside a backend's folder,
# and allow them inside one.
#   platform_seam_test.sh CHECK_SCRIPT SOURCE_DIR
check=$1
source_dir=$2
. "$(dirname "$0")/../support/checks.sh"
scratch=$(mktemp -d /tmp/zynthra-seam.XXXXXX)
trap 'rm -rf "$scratch"' EXIT

run_check() {
    cmake -DSOURCE_DIR="$1" -P "$check" >"$scratch/output" 2>&1
}

run_check "$source_dir" || fail "the tree itself is refused: $(cat "$scratch/output")"

# expect allowed|refused FILE LINE: FILE (relative to src/) gains LINE at its end.
expect() {
    local verdict=$1 file=$2 line=$3
    rm -rf "$scratch/src"
    cp -r "$source_dir" "$scratch/src"
    printf '%s\n' "$line" >>"$scratch/src/$file"
    if run_check "$scratch/src"; then
        [ "$verdict" = allowed ] || fail "$file with '$line' passes the check"
    else
        [ "$verdict" = refused ] || fail "$file with '$line' is refused: $(cat "$scratch/output")"
        grep -qF "$file" "$scratch/output" || fail "the refusal of '$line' does not name $file"
    fi
}

expect refused game/Game.cpp '#include <X11/Xlib.h>'
expect refused menus/Menus.cpp '#include <linux/input.h>'
expect refused draw/gl_support.cpp '#  include <EGL/egl.h>'
expect refused menus/Menus.h '#include <SDL/SDL.h>'
expect refused main.cpp '#include "SDL.h"'
expect refused platform/display.h '#include <SDL2/SDL_video.h>'
expect refused menus/Menus.cpp '#include "pnd_io_evdev.h"'
expect refused game/Game.cpp '#include "handheld/x11_window.h"'
expect allowed platform/handheld/display.cpp '#include <SDL/SDL.h>'
expect allowed platform/sdl2/display.cpp '#include <SDL.h>'
expect allowed platform/sdl2/controller_support.cpp '#include "input_mapping.h"'
expect refused platform/letterbox.cpp '#include <SDL.h>'
expect refused main.cpp '#include "sdl2_backend.h"'
expect refused game/Game.cpp '#include "script_player.h"'
expect refused platform/handheld/display.cpp '#include "input_mapping.h"'
expect refused platform/sdl2/display.cpp '#include "x11_window.h"'
# The script language is shared by the backends, not one of them.
expect refused platform/script/pad_script.c '#include <X11/Xlib.h>'
expect allowed platform/sdl2/script_player.cpp '#include "pad_script.h"'
expect allowed game/Game.cpp '// #include <X11/Xlib.h> is not an include'
expect allowed game/Game.cpp '#include <GLES/gl.h>'

checks_done "platform seam: the tree passes; every added include is judged as expected"
