#include "controller_support.h"

#include <bitset>
#include <cctype>
#include <cstdio>
#include <vector>

#include "input_mapping.h"
#include "sdl2_backend.h"

// A script, the keyboard, the mouse and every game pad SDL knows, all at once,
// as the handheld's controls. Input is read once a step; a key or button that
// went down and up between two steps still counts as held for one step.

namespace {

struct Pad {
    SDL_GameController* controller;
    SDL_JoystickID id;
    unsigned tapped;  // buttons that went down since the last step
};

std::vector<Pad> pads;
std::bitset<SDL_NUM_SCANCODES> keysWentDown;
// Whether the game read its keyboard in the last step, which it does only
// while its menus run: Escape then means back rather than pause.
bool menusRunning = false;
// The typing keys held, in the handheld's key codes.
int typingKeys[256];
// The last key to go down was the keyboard's own repeat: its text is no new press.
bool lastKeyRepeated = false;

unsigned bit(int button)
{
    return 1u << button;
}

bool keyHeld(SDL_Keycode key)
{
    const SDL_Scancode code = SDL_GetScancodeFromKey(key);
    return code != SDL_SCANCODE_UNKNOWN && (SDL_GetKeyboardState(nullptr)[code] || keysWentDown[code]);
}

bool keyWentDown(SDL_Keycode key)
{
    const SDL_Scancode code = SDL_GetScancodeFromKey(key);
    return code != SDL_SCANCODE_UNKNOWN && keysWentDown[code];
}

// The handheld's key code of a typing key: letters, digits, Return, BackSpace.
int typingCode(SDL_Keycode key)
{
    if (key == SDLK_RETURN)
        return keyCodeForName("Return");
    if (key == SDLK_BACKSPACE)
        return keyCodeForName("BackSpace");
    if ((key >= SDLK_a && key <= SDLK_z) || (key >= SDLK_0 && key <= SDLK_9)) {
        const char name[] = {(char)key, '\0'};
        return keyCodeForName(name);
    }
    return 0;
}

void noteKey(const SDL_KeyboardEvent& key)
{
    const bool down = key.state == SDL_PRESSED;
    if (down) {
        lastKeyRepeated = key.repeat != 0;
        if (!key.repeat)
            keysWentDown.set(key.keysym.scancode);
    }
    const int code = typingCode(key.keysym.sym);
    if (code == 0)
        return;
    // Return and BackSpace type no text: their presses are recorded here.
    if (down && !key.repeat && (key.keysym.sym == SDLK_RETURN || key.keysym.sym == SDLK_BACKSPACE))
        recordKeyPress(code);
    typingKeys[code] = down ? 1 : 0;
}

// Each character typed goes to name entry in the handheld's key codes, so a
// name typed faster than the steps arrives whole and in order.
void noteText(const char* text)
{
    if (lastKeyRepeated)
        return;
    for (const char* c = text; *c != '\0'; c++) {
        const char name[] = {(char)tolower((unsigned char)*c), '\0'};
        const int code = keyCodeForName(name);
        if (code != 0)
            recordKeyPress(code);
    }
}

Pad* padWithId(SDL_JoystickID id)
{
    for (Pad& pad : pads)
        if (pad.id == id)
            return &pad;
    return nullptr;
}

void plugIn(int deviceIndex)
{
    if (padWithId(SDL_JoystickGetDeviceInstanceID(deviceIndex)) != nullptr)
        return;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (controller == nullptr)
        return;
    pads.push_back({controller, SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)), 0});
    printf("Game pad \"%s\" plugged in\n", SDL_GameControllerName(controller));
    fflush(stdout);
}

void unplug(SDL_JoystickID id)
{
    for (auto pad = pads.begin(); pad != pads.end(); ++pad)
        if (pad->id == id) {
            printf("Game pad \"%s\" unplugged\n", SDL_GameControllerName(pad->controller));
            fflush(stdout);
            SDL_GameControllerClose(pad->controller);
            pads.erase(pad);
            return;
        }
}

void notePadButton(const SDL_ControllerButtonEvent& event)
{
    Pad* pad = padWithId(event.which);
    const int button = padButtonFor(event.button);
    if (pad != nullptr && button >= 0 && event.state == SDL_PRESSED)
        pad->tapped |= bit(button);
}

PadState readPad(const Pad& pad)
{
    const auto axis = [&](SDL_GameControllerAxis a) { return SDL_GameControllerGetAxis(pad.controller, a); };
    PadState state;
    state.buttons =
        pad.tapped | triggerButtons(axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT), axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; b++) {
        const int button = padButtonFor(b);
        if (button >= 0 && SDL_GameControllerGetButton(pad.controller, (SDL_GameControllerButton)b))
            state.buttons |= bit(button);
    }
    stickToNub(axis(SDL_CONTROLLER_AXIS_LEFTX), axis(SDL_CONTROLLER_AXIS_LEFTY), state.nub[0]);
    stickToNub(axis(SDL_CONTROLLER_AXIS_RIGHTX), axis(SDL_CONTROLLER_AXIS_RIGHTY), state.nub[1]);
    return state;
}

// A stick counts when the pad's mapping binds both its axes. (What
// SDL_GameControllerHasAxis asks, which older firmwares' SDL lacks.)
bool hasStick(SDL_GameController* controller, SDL_GameControllerAxis x, SDL_GameControllerAxis y)
{
    return SDL_GameControllerGetBindForAxis(controller, x).bindType != SDL_CONTROLLER_BINDTYPE_NONE &&
           SDL_GameControllerGetBindForAxis(controller, y).bindType != SDL_CONTROLLER_BINDTYPE_NONE;
}

PadState readKeyboardAndMouse()
{
    PadState state;
    state.buttons = heldKeyButtons(keyHeld) | pulsedKeyButtons(keyWentDown, menusRunning);
    keypadNub(keyHeld, state.nub[0]);
    // Any button held aims from the ship towards the pointer.
    int x = 0, y = 0, width = 0, height = 0;
    const Uint32 mouseButtons = SDL_GetMouseState(&x, &y);
    SDL_Window* window = SDL_GetMouseFocus();
    if (window != nullptr && mouseButtons != 0) {
        SDL_GetWindowSize(window, &width, &height);
        mouseAim(x, y, width, height, state.nub[1]);
    }
    return state;
}

// What the script does this step besides the pad: keys typed, its game pad,
// snaps and quit.
void actOnScript(const ScriptStep& scripted)
{
    for (int code : scripted.keysDown) {
        recordKeyPress(code);
        typingKeys[code & 255] = 1;
    }
    for (int code : scripted.keysUp)
        typingKeys[code & 255] = 0;
    for (const GamepadAction& action : scripted.gamepad)
        playGamepadAction(action);
    for (const std::string& path : scripted.snaps)
        snapWindowAfterDraw(path);
    if (scripted.quit)
        requestClose();
}

PadState scriptedPadState(const ScriptStep& scripted)
{
    PadState state;
    state.buttons = scripted.buttons;
    for (int n = 0; n < 2; n++)
        for (int axis = 0; axis < 2; axis++)
            state.nub[n][axis] = scripted.nub[n][axis];
    return state;
}

}  // namespace

void noteInputEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        noteKey(event.key);
        break;
    case SDL_TEXTINPUT:
        noteText(event.text.text);
        break;
    case SDL_CONTROLLERDEVICEADDED:
        plugIn(event.cdevice.which);
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        unplug(event.cdevice.which);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        notePadButton(event.cbutton);
        break;
    default:
        break;
    }
}

void setupPandoraControls()
{
    // Pads already plugged in arrive as events of their own.
    SDL_StartTextInput();
}

void shutdownPandoraControls()
{
    for (const Pad& pad : pads)
        SDL_GameControllerClose(pad.controller);
    pads.clear();
}

// The script plays first, so its game pad's changes arrive with this step's events.
void getInput(Controller* controller)
{
    ScriptStep scripted;
    playScriptStep(&scripted);
    actOnScript(scripted);
    pumpEvents();
    PadState state = scriptedPadState(scripted);
    addPadState(&state, readKeyboardAndMouse());
    for (Pad& pad : pads) {
        addPadState(&state, readPad(pad));
        pad.tapped = 0;
    }
    applyPadState(state, controller);
    recordScriptStep(state.buttons, state.nub);
    keysWentDown.reset();
    menusRunning = false;
}

// The pad plugged in last is the one in use. One stick is the left one to the
// game: a pad with only a right stick steers with none. The keyboard and the
// mouse alone steer and aim as the handheld's two nubs do.
int padStickCount()
{
    if (pads.empty())
        return 2;
    SDL_GameController* controller = pads.back().controller;
    if (!hasStick(controller, SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY))
        return 0;
    return hasStick(controller, SDL_CONTROLLER_AXIS_RIGHTX, SDL_CONTROLLER_AXIS_RIGHTY) ? 2 : 1;
}

void updateKeyboard(int* keys)
{
    menusRunning = true;
    for (int code = 0; code < 256; code++)
        keys[code] = typingKeys[code];
}
