/* Commands, one a line, carried out as soon as they arrive:
 *
 *   attach                 plug in a virtual game pad (every button and axis)
 *   detach                 unplug it
 *   press NAME, release NAME   a button by SDL's name: a b x y back start
 *                          leftshoulder rightshoulder dpup dpdown dpleft dpright ...
 *   axis NAME VALUE        leftx lefty rightx righty lefttrigger righttrigger, -32768..32767
 *
 * A line that cannot be carried out is reported on standard error and skipped. */
#define _GNU_SOURCE
#include "virtual_pad.h"

#include <SDL.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int commands = -1;
static char pending[1024];
static size_t pending_length;
static int device_index = -1;
static SDL_Joystick* joystick;

int virtual_pad_open(const char* path)
{
    /* Read and write: the pipe then never reads as ended between two writers. */
    commands = open(path, O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (commands < 0)
        fprintf(stderr, "vpad-gamepad: cannot open %s: %s\n", path, strerror(errno));
    return commands < 0 ? -1 : 0;
}

static void attach(void)
{
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.name = "vpad virtual pad";
    device_index = SDL_JoystickAttachVirtualEx(&desc);
    joystick = device_index >= 0 ? SDL_JoystickOpen(device_index) : NULL;
    if (joystick == NULL) {
        fprintf(stderr, "vpad-gamepad: no virtual pad: %s\n", SDL_GetError());
        return;
    }
    /* Triggers rest at the bottom of their range. */
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
}

static void detach(void)
{
    if (joystick == NULL)
        return;
    SDL_JoystickClose(joystick);
    SDL_JoystickDetachVirtual(device_index);
    joystick = NULL;
    device_index = -1;
}

static int run(const char* line)
{
    char verb[32], name[32];
    int value;
    if (sscanf(line, "%31s", verb) != 1)
        return 1; /* blank */
    if (strcmp(verb, "attach") == 0) {
        attach();
        return joystick != NULL;
    }
    if (strcmp(verb, "detach") == 0) {
        detach();
        return 1;
    }
    if (joystick == NULL)
        return 0;
    if (sscanf(line, "%*s %31s", name) != 1)
        return 0;
    if (strcmp(verb, "press") == 0 || strcmp(verb, "release") == 0) {
        SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name);
        return button != SDL_CONTROLLER_BUTTON_INVALID &&
               SDL_JoystickSetVirtualButton(joystick, button, verb[0] == 'p') == 0;
    }
    if (strcmp(verb, "axis") == 0 && sscanf(line, "%*s %*s %d", &value) == 1) {
        SDL_GameControllerAxis axis = SDL_GameControllerGetAxisFromString(name);
        return axis != SDL_CONTROLLER_AXIS_INVALID && value >= -32768 && value <= 32767 &&
               SDL_JoystickSetVirtualAxis(joystick, axis, (Sint16)value) == 0;
    }
    return 0;
}

/* One line a call: a press and its release sent together then reach SDL, and the
 * game, as two changes rather than cancelling out within one update. */
void virtual_pad_poll(void)
{
    if (commands < 0)
        return;
    char* end = strchr(pending, '\n');
    if (end == NULL) {
        ssize_t got = read(commands, pending + pending_length, sizeof pending - 1 - pending_length);
        if (got > 0) {
            pending_length += got;
            pending[pending_length] = '\0';
        }
        end = strchr(pending, '\n');
    }
    if (end == NULL) {
        /* A line longer than the buffer can never end: drop it. */
        if (pending_length == sizeof pending - 1) {
            pending_length = 0;
            pending[0] = '\0';
        }
        return;
    }
    *end = '\0';
    if (!run(pending))
        fprintf(stderr, "vpad-gamepad: cannot carry out \"%s\"\n", pending);
    pending_length -= end + 1 - pending;
    memmove(pending, end + 1, pending_length + 1);
}
