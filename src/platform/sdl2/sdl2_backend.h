#pragma once

#include <SDL.h>

#include <string>

#include "script_player.h"

// What the SDL 2 backend's parts share. SDL has one event queue for the
// window and every control: it is drained in one place and each event handed
// to the part that owns it.

// Drains SDL's queue; called before input is read and before the window's
// events are reported.
void pumpEvents();
// The window's own events (size, focus, close, F11), for the display.
void noteWindowEvent(const SDL_Event& event);
// Keys, typed text, the mouse's buttons and game pads, for the controls.
void noteInputEvent(const SDL_Event& event);

// Writes the whole window, bars included, as the next frame is presented.
void snapWindowAfterDraw(const std::string& path);

// Whether presenting a frame waits for the display (vsync was granted).
bool presentsAtDisplayPace();

// The frames a second of the display a held clock simulates (--frame-rate,
// 60 by default); 0 when the game runs on the real clock.
int heldFrameRate();

// The script's part of the coming step (called once a step, before the live
// input is read), and the pad's state as the step read it, for a recording.
void playScriptStep(ScriptStep* out);
void recordScriptStep(unsigned buttons, const int nub[2][2]);
// The script's game pad, plugged in, played and unplugged like any other.
void playGamepadAction(const GamepadAction& action);
// Ends the run as the close button does, once the snaps asked for are written.
void requestClose();
