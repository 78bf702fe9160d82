/* Every game pad SDL knows, mapped by position onto the handheld:
 *
 *   left stick, d-pad       left nub, d-pad (steer)
 *   right stick             right nub (fire in its direction)
 *   south / east / west / north face buttons   X / B / A / Y (fire down / right / left / up;
 *                           in the menus south confirms and east goes back)
 *   right / left shoulder (or trigger)         R / L (bomb / decoy bomb)
 *   Start, Back             Start (pause), Select (screenshot)
 *
 * State is kept from the events themselves, so a press and release between two
 * reads of the game still reach it as two changes. */
#include "pads.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#define MAX_PADS 8

/* Sticks rest a little off centre, and the game has no dead zone of its own:
 * inside this radius (of 32767) a stick reads as centred. */
#define DEAD_ZONE 8000
/* A trigger pulled past half way is a shoulder. */
#define TRIGGER_PULLED 16384

struct pad {
    SDL_GameController* controller;
    SDL_JoystickID id;
    unsigned buttons;
    int axes[SDL_CONTROLLER_AXIS_MAX];
};

static struct pad pads[MAX_PADS];

static const struct {
    int sdl, vpad;
} button_map[] = {
    {SDL_CONTROLLER_BUTTON_A, VPAD_X},
    {SDL_CONTROLLER_BUTTON_B, VPAD_B},
    {SDL_CONTROLLER_BUTTON_X, VPAD_A},
    {SDL_CONTROLLER_BUTTON_Y, VPAD_Y},
    {SDL_CONTROLLER_BUTTON_BACK, VPAD_SELECT},
    {SDL_CONTROLLER_BUTTON_START, VPAD_START},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, VPAD_L},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, VPAD_R},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, VPAD_UP},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, VPAD_DOWN},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, VPAD_LEFT},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, VPAD_RIGHT},
};

/* The handheld button of an SDL button; -1 for those left out (guide, stick clicks, extras). */
static int vpad_button_of(int button)
{
    for (size_t i = 0; i < sizeof button_map / sizeof button_map[0]; i++)
        if (button_map[i].sdl == button)
            return button_map[i].vpad;
    return -1;
}

static struct pad* pad_with_id(SDL_JoystickID id)
{
    for (int i = 0; i < MAX_PADS; i++)
        if (pads[i].controller && pads[i].id == id)
            return &pads[i];
    return NULL;
}

/* What a pad holds as it is plugged in: no events come for that. */
static void read_held(struct pad* pad)
{
    for (size_t i = 0; i < sizeof button_map / sizeof button_map[0]; i++)
        if (SDL_GameControllerGetButton(pad->controller, button_map[i].sdl))
            pad->buttons |= 1u << button_map[i].vpad;
    for (int axis = 0; axis < SDL_CONTROLLER_AXIS_MAX; axis++)
        pad->axes[axis] = SDL_GameControllerGetAxis(pad->controller, axis);
}

static int add_pad(int device_index)
{
    SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device_index);
    if (pad_with_id(id))
        return 0;
    for (int i = 0; i < MAX_PADS; i++) {
        if (pads[i].controller)
            continue;
        SDL_GameController* controller = SDL_GameControllerOpen(device_index);
        if (controller == NULL)
            return 0;
        memset(&pads[i], 0, sizeof pads[i]);
        pads[i].controller = controller;
        pads[i].id = id;
        read_held(&pads[i]);
        fprintf(stderr, "vpad-gamepad: game pad \"%s\" plugged in\n", SDL_GameControllerName(controller));
        return 1;
    }
    return 0;
}

static int remove_pad(SDL_JoystickID id)
{
    struct pad* pad = pad_with_id(id);
    if (pad == NULL)
        return 0;
    fprintf(stderr, "vpad-gamepad: game pad \"%s\" unplugged\n", SDL_GameControllerName(pad->controller));
    SDL_GameControllerClose(pad->controller);
    memset(pad, 0, sizeof *pad);
    return 1;
}

static int set_button(SDL_JoystickID id, int button, int down)
{
    struct pad* pad = pad_with_id(id);
    int target = vpad_button_of(button);
    if (pad == NULL || target < 0)
        return 0;
    unsigned bit = 1u << target;
    unsigned before = pad->buttons;
    pad->buttons = down ? pad->buttons | bit : pad->buttons & ~bit;
    return pad->buttons != before;
}

static int set_axis(SDL_JoystickID id, int axis, int value)
{
    struct pad* pad = pad_with_id(id);
    if (pad == NULL || axis < 0 || axis >= SDL_CONTROLLER_AXIS_MAX || pad->axes[axis] == value)
        return 0;
    pad->axes[axis] = value;
    return 1;
}

int pads_handle(const SDL_Event* event)
{
    switch (event->type) {
    case SDL_CONTROLLERDEVICEADDED:
        return add_pad(event->cdevice.which);
    case SDL_CONTROLLERDEVICEREMOVED:
        return remove_pad(event->cdevice.which);
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        return set_button(event->cbutton.which, event->cbutton.button, event->cbutton.state == SDL_PRESSED);
    case SDL_CONTROLLERAXISMOTION:
        return set_axis(event->caxis.which, event->caxis.axis, event->caxis.value);
    default:
        return 0;
    }
}

/* A stick as a nub reading: centred inside the dead zone, else scaled so that
 * full deflection is the nub's. */
static void stick_to_nub(int x, int y, int nub[2])
{
    double length = sqrt((double)x * x + (double)y * y);
    nub[0] = length < DEAD_ZONE ? 0 : (int)lround(x * (double)VPAD_NUB_FULL / 32767);
    nub[1] = length < DEAD_ZONE ? 0 : (int)lround(y * (double)VPAD_NUB_FULL / 32767);
}

static unsigned trigger_buttons(const struct pad* pad)
{
    unsigned buttons = 0;
    if (pad->axes[SDL_CONTROLLER_AXIS_TRIGGERLEFT] > TRIGGER_PULLED)
        buttons |= 1u << VPAD_L;
    if (pad->axes[SDL_CONTROLLER_AXIS_TRIGGERRIGHT] > TRIGGER_PULLED)
        buttons |= 1u << VPAD_R;
    return buttons;
}

void pads_state(struct pad_state* state)
{
    memset(state, 0, sizeof *state);
    for (int i = 0; i < MAX_PADS; i++) {
        const struct pad* pad = &pads[i];
        if (!pad->controller)
            continue;
        state->buttons |= pad->buttons | trigger_buttons(pad);
        int nub[2][2];
        stick_to_nub(pad->axes[SDL_CONTROLLER_AXIS_LEFTX], pad->axes[SDL_CONTROLLER_AXIS_LEFTY], nub[0]);
        stick_to_nub(pad->axes[SDL_CONTROLLER_AXIS_RIGHTX], pad->axes[SDL_CONTROLLER_AXIS_RIGHTY], nub[1]);
        for (int n = 0; n < 2; n++)
            if (state->nub[n][0] == 0 && state->nub[n][1] == 0) {
                state->nub[n][0] = nub[n][0];
                state->nub[n][1] = nub[n][1];
            }
    }
}
