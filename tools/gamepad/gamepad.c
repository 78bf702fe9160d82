/* vpad-gamepad: the desktop's game pads as the handheld's controls.
 *
 * vpad starts this program beside the game (which links SDL 1.2; SDL 2 lives
 * here) and reads its standard output: one struct pad_state record, written
 * whole, each time what the pads hold together changes. Pads may be plugged in
 * and out at any time; SDL's controller mapping database names their buttons.
 * The program ends when the game does.
 *
 * VPAD_GAMEPAD_VIRTUAL=FIFO adds a virtual pad played from the commands sent
 * to FIFO (see virtual_pad.c): the tests' pad. */
#define _GNU_SOURCE
#include <SDL.h>
#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include "pads.h"
#include "virtual_pad.h"

/* How long to wait for an event before looking at the command pipe and the parent. */
#define POLL_MS 5

static int send_state(void)
{
    struct pad_state state;
    pads_state(&state);
    ssize_t wrote;
    do
        wrote = write(STDOUT_FILENO, &state, sizeof state);
    while (wrote < 0 && errno == EINTR);
    return wrote == (ssize_t)sizeof state;
}

int main(void)
{
    /* Face buttons by position (south, east, west, north), whatever their labels. */
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    /* Ended by a signal like any other program, not turned into an event. */
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_GAMECONTROLLER) != 0) {
        fprintf(stderr, "vpad-gamepad: no game pads: %s\n", SDL_GetError());
        return 1;
    }
    /* The game has gone when its end of the pipe closes. */
    signal(SIGPIPE, SIG_IGN);
    pid_t parent = getppid();
    const char* fifo = getenv("VPAD_GAMEPAD_VIRTUAL");
    if (fifo && *fifo && virtual_pad_open(fifo) != 0)
        return 1;

    /* Pads already plugged in arrive as "added" events too. */
    int alive = 1;
    while (alive && getppid() == parent) {
        virtual_pad_poll();
        SDL_Event event;
        if (!SDL_WaitEventTimeout(&event, POLL_MS))
            continue;
        do
            if (pads_handle(&event))
                alive = send_state();
        while (alive && SDL_PollEvent(&event));
    }
    SDL_Quit();
    return 0;
}
