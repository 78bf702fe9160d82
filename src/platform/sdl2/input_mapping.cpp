#include "input_mapping.h"

#include <cmath>

namespace {

// A key or a game pad's button, and the handheld button it presses.
struct Binding {
    int from;
    int button;
};

const Binding heldKeys[] = {
    {SDLK_UP, PAD_UP},
    {SDLK_DOWN, PAD_DOWN},
    {SDLK_LEFT, PAD_LEFT},
    {SDLK_RIGHT, PAD_RIGHT},
    {SDLK_w, PAD_UP},
    {SDLK_s, PAD_DOWN},
    {SDLK_a, PAD_LEFT},
    {SDLK_d, PAD_RIGHT},
    {SDLK_HOME, PAD_A},
    {SDLK_END, PAD_B},
    {SDLK_PAGEDOWN, PAD_X},
    {SDLK_PAGEUP, PAD_Y},
    {SDLK_RSHIFT, PAD_L},
    {SDLK_RCTRL, PAD_R},
    {SDLK_LCTRL, PAD_SELECT},
    // The usual desktop keys for confirm.
    {SDLK_RETURN, PAD_X},
    {SDLK_KP_ENTER, PAD_X},
};

struct KeypadDirection {
    SDL_Keycode key;
    int dx, dy;
};

const KeypadDirection keypad[] = {
    {SDLK_KP_8, 0, -1},  {SDLK_KP_2, 0, 1},  {SDLK_KP_4, -1, 0}, {SDLK_KP_6, 1, 0},
    {SDLK_KP_7, -1, -1}, {SDLK_KP_9, 1, -1}, {SDLK_KP_1, -1, 1}, {SDLK_KP_3, 1, 1},
};

const Binding padButtons[] = {
    {SDL_CONTROLLER_BUTTON_A, PAD_X},
    {SDL_CONTROLLER_BUTTON_B, PAD_B},
    {SDL_CONTROLLER_BUTTON_X, PAD_A},
    {SDL_CONTROLLER_BUTTON_Y, PAD_Y},
    {SDL_CONTROLLER_BUTTON_BACK, PAD_SELECT},
    {SDL_CONTROLLER_BUTTON_START, PAD_START},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, PAD_L},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, PAD_R},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, PAD_UP},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PAD_DOWN},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PAD_LEFT},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PAD_RIGHT},
};

// Sticks rest a little off centre and the game has no dead zone of its own.
constexpr double stickDeadZone = 32768 / 4.0;
constexpr int stickFull = 32767;
constexpr int triggerPulled = 16384;

unsigned bit(int button)
{
    return 1u << button;
}

bool atRest(const int nub[2])
{
    return nub[0] == 0 && nub[1] == 0;
}

}  // namespace

unsigned heldKeyButtons(const KeyDown& held)
{
    unsigned buttons = 0;
    for (const Binding& binding : heldKeys)
        if (held(binding.from))
            buttons |= bit(binding.button);
    return buttons;
}

unsigned pulsedKeyButtons(const KeyDown& wentDown, bool menusRunning)
{
    // Held, Start would pause and resume every 0.2 s: these press it once.
    unsigned buttons = 0;
    if (wentDown(SDLK_p) || wentDown(SDLK_PAUSE))
        buttons |= bit(PAD_START);
    if (wentDown(SDLK_ESCAPE))
        buttons |= bit(menusRunning ? PAD_B : PAD_START);
    return buttons;
}

void keypadNub(const KeyDown& held, int nub[2])
{
    int dx = 0, dy = 0;
    for (const KeypadDirection& direction : keypad)
        if (held(direction.key)) {
            dx += direction.dx;
            dy += direction.dy;
        }
    fullDeflection(dx, dy, nub);
}

void fullDeflection(int dx, int dy, int nub[2])
{
    const double length = std::sqrt((double)dx * dx + (double)dy * dy);
    nub[0] = length > 0 ? (int)std::lround(NUB_FULL * dx / length) : 0;
    nub[1] = length > 0 ? (int)std::lround(NUB_FULL * dy / length) : 0;
}

void mouseAim(int pointerX, int pointerY, int windowWidth, int windowHeight, int nub[2])
{
    fullDeflection(pointerX - windowWidth / 2, pointerY - windowHeight / 2, nub);
}

int padButtonFor(int controllerButton)
{
    for (const Binding& binding : padButtons)
        if (binding.from == controllerButton)
            return binding.button;
    return -1;
}

unsigned triggerButtons(int leftTrigger, int rightTrigger)
{
    return (leftTrigger > triggerPulled ? bit(PAD_L) : 0) | (rightTrigger > triggerPulled ? bit(PAD_R) : 0);
}

void stickToNub(int x, int y, int nub[2])
{
    const bool centred = std::sqrt((double)x * x + (double)y * y) < stickDeadZone;
    nub[0] = centred ? 0 : (int)std::lround(x * (double)NUB_FULL / stickFull);
    nub[1] = centred ? 0 : (int)std::lround(y * (double)NUB_FULL / stickFull);
}

void addPadState(PadState* into, const PadState& from)
{
    into->buttons |= from.buttons;
    for (int n = 0; n < 2; n++)
        if (atRest(into->nub[n])) {
            into->nub[n][0] = from.nub[n][0];
            into->nub[n][1] = from.nub[n][1];
        }
}

void applyPadState(const PadState& state, Controller* c)
{
    // The Controller's field of each button, in the order of their bits.
    static bool Controller::*const fields[PAD_BUTTON_COUNT] = {
        &Controller::inputUp, &Controller::inputDown, &Controller::inputLeft,  &Controller::inputRight,
        &Controller::inputA,  &Controller::inputB,    &Controller::inputX,     &Controller::inputY,
        &Controller::inputL,  &Controller::inputR,    &Controller::inputStart, &Controller::inputSelect};
    for (int button = 0; button < PAD_BUTTON_COUNT; button++)
        c->*fields[button] = (state.buttons & bit(button)) != 0;
    c->nub0X = state.nub[0][0];
    c->nub0Y = state.nub[0][1];
    c->nub1X = state.nub[1][0];
    c->nub1Y = state.nub[1][1];
}
