#include <cstdio>

#include "sdl2_backend.h"

// A script's game pad is SDL's virtual joystick, which SDL maps as a game
// controller: the game reads it through the same code as a pad in the hand.

namespace {

SDL_Joystick* scriptedPad = nullptr;
// The game controller's axes the pad has; the virtual joystick numbers them
// in this order, leaving out those it lacks.
Uint32 axisMask = 0;
// The face, shoulder and d-pad buttons, Back, Guide and Start, the stick
// clicks: the virtual joystick's buttons are numbered as the controller's.
constexpr int buttonCount = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;

Uint32 axisBit(int axis)
{
    return 1u << axis;
}

// The virtual joystick's axis of a controller axis; -1 for one the pad lacks.
int virtualAxis(int axis)
{
    if (axis < 0 || (axisMask & axisBit(axis)) == 0)
        return -1;
    int index = 0;
    for (int a = 0; a < axis; a++)
        if (axisMask & axisBit(a))
            index++;
    return index;
}

// A trigger rests at the bottom of the joystick's range; scripts give the
// controller's 0 (at rest) to 32767 (pulled).
void setAxis(int axis, int value)
{
    const int index = virtualAxis(axis);
    if (index < 0)
        return;
    const bool trigger = axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT || axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
    const int raw = trigger ? value * 2 - 32768 : value;
    SDL_JoystickSetVirtualAxis(scriptedPad, index, (Sint16)(raw < -32768 ? -32768 : raw > 32767 ? 32767 : raw));
}

void attach(int sticks)
{
    if (scriptedPad != nullptr)
        return;
    axisMask = axisBit(SDL_CONTROLLER_AXIS_TRIGGERLEFT) | axisBit(SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
    if (sticks >= 1)
        axisMask |= axisBit(SDL_CONTROLLER_AXIS_LEFTX) | axisBit(SDL_CONTROLLER_AXIS_LEFTY);
    if (sticks >= 2)
        axisMask |= axisBit(SDL_CONTROLLER_AXIS_RIGHTX) | axisBit(SDL_CONTROLLER_AXIS_RIGHTY);
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = (Uint16)(2 + 2 * (sticks < 0 ? 0 : sticks > 2 ? 2 : sticks));
    desc.nbuttons = buttonCount;
    desc.button_mask = (1u << buttonCount) - 1;
    desc.axis_mask = axisMask;
    desc.name = "Scripted pad";
    const int device = SDL_JoystickAttachVirtualEx(&desc);
    scriptedPad = device < 0 ? nullptr : SDL_JoystickOpen(device);
    if (scriptedPad == nullptr) {
        printf("The script's game pad could not be plugged in: %s\n", SDL_GetError());
        return;
    }
    setAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 0);
    setAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);
}

void detach()
{
    if (scriptedPad == nullptr)
        return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(scriptedPad);
    SDL_JoystickClose(scriptedPad);
    scriptedPad = nullptr;
    for (int device = 0; device < SDL_NumJoysticks(); device++)
        if (SDL_JoystickGetDeviceInstanceID(device) == id) {
            SDL_JoystickDetachVirtual(device);
            return;
        }
}

void setButton(const std::string& name, bool down)
{
    const SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name.c_str());
    if (button != SDL_CONTROLLER_BUTTON_INVALID && button < buttonCount)
        SDL_JoystickSetVirtualButton(scriptedPad, button, down ? SDL_PRESSED : SDL_RELEASED);
}

}  // namespace

void playGamepadAction(const GamepadAction& action)
{
    if (action.kind == GamepadAction::ATTACH)
        attach(action.sticks);
    else if (action.kind == GamepadAction::DETACH)
        detach();
    else if (scriptedPad == nullptr)
        return;  // a line for a pad that is not plugged in does nothing
    else if (action.kind == GamepadAction::AXIS)
        setAxis(SDL_GameControllerGetAxisFromString(action.name.c_str()), action.value);
    else
        setButton(action.name, action.kind == GamepadAction::PRESS);
}
