#pragma once

#include <SDL.h>

#include <functional>

#include "controller_support.h"

// The desktop's keyboard, mouse and game pads as the handheld's controls, in
// the handheld's units: the nubs' full deflection is 256, negative y is up.

// The handheld's buttons, by bit.
enum PadButton {
    PAD_UP,
    PAD_DOWN,
    PAD_LEFT,
    PAD_RIGHT,
    PAD_A,
    PAD_B,
    PAD_X,
    PAD_Y,
    PAD_L,
    PAD_R,
    PAD_START,
    PAD_SELECT,
    PAD_BUTTON_COUNT
};

constexpr int NUB_FULL = 256;

// What one step reads from one source: held buttons by bit, the two nubs.
struct PadState {
    unsigned buttons = 0;
    int nub[2][2] = {};
};

// Whether a key (by SDL's key code, so by the letters the layout shows) is
// down, or went down since the last step.
using KeyDown = std::function<bool(SDL_Keycode)>;

// The buttons the held keys press: arrows and W A S D, Home / End / Page Down
// / Page Up (A / B / X / Y), Return (X), Right Shift / Right Ctrl (L / R),
// Left Ctrl (Select).
unsigned heldKeyButtons(const KeyDown& held);
// The buttons pressed for one step by keys that went down: P and Pause are
// Start; Escape is B (back) while the menus run and Start (pause) in play.
unsigned pulsedKeyButtons(const KeyDown& wentDown, bool menusRunning);
// The keypad's eight directions (with or without Num Lock) as the left nub.
void keypadNub(const KeyDown& held, int nub[2]);

// A direction as a nub reading at full deflection; 0, 0 for none.
void fullDeflection(int dx, int dy, int nub[2]);
// The mouse aims from the ship, in the middle of the window, towards the pointer.
void mouseAim(int pointerX, int pointerY, int windowWidth, int windowHeight, int nub[2]);

// A game pad's button as a handheld button by its place (south X, east B,
// west A, north Y); -1 for those the handheld has none of.
int padButtonFor(int controllerButton);
// The triggers pulled past half way are the shoulders.
unsigned triggerButtons(int leftTrigger, int rightTrigger);
// A stick as a nub: centred within a quarter of its travel, else scaled to the nub's.
void stickToNub(int x, int y, int nub[2]);

// The sources together: every button held anywhere; a nub moves with the
// first source that moves it.
void addPadState(PadState* into, const PadState& from);
void applyPadState(const PadState& state, Controller* controller);
