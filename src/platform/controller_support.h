#pragma once

// The per-frame snapshot of the handheld's controls: held levels, no edges.
// Every backend fills it in the handheld's units: the nubs as its nub driver
// reports them, the buttons by their places on the handheld.
struct Controller {
    int nub0X, nub0Y;
    int nub1X, nub1Y;
    bool inputA;
    bool inputB;
    bool inputX;
    bool inputY;
    bool inputUp;
    bool inputDown;
    bool inputLeft;
    bool inputRight;
    bool inputL;
    bool inputR;
    bool inputStart;
    bool inputSelect;
};

void setupPandoraControls();
void shutdownPandoraControls();
void getInput(Controller* myController);
// The analogue sticks of the pad the game plays with (0, 1 or 2): the menus
// move a control scheme off a stick the pad does not have.
int padStickCount();

// The keyboard, for typing names: keys holds 256 entries indexed by the
// handheld's key codes (its X key codes: digits 10 to 19, the letter rows
// from 24, 38 and 52, erase 22, return 36), 1 while held and 0 once released.
// updateKeyboard brings keys up to date with what was typed since the last
// call and records each key going down, in order, so a tap shorter than a
// frame is still typed. Another backend translates its own keys to these codes.
void updateKeyboard(int* keys);
void recordKeyPress(int code);
// The oldest recorded press's key code, removed from the record; 0 when none.
int takeKeyPress();
void forgetKeyPresses();
// The handheld's key code of a key named as X names its key symbols: a lower
// case letter or digit ("a", "7"), "Return", "BackSpace", "space" or "Escape";
// 0 for any other. Scripts and typed text reach name entry through it.
int keyCodeForName(const char* name);
