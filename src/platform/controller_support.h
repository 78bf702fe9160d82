#pragma once

// Xlib's own forward declaration: the display handle without Xlib itself.
typedef struct _XDisplay Display;

// The per-frame snapshot of the handheld's controls: held levels, no edges.
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
// Drains the X key events into keys (1 held, 0 released) and records each key
// going down, in order, for typing.
void updateKeyboard(int* keys, Display* x_display);
void recordKeyPress(int code);
// The oldest recorded press's key code, removed from the record; 0 when none.
int takeKeyPress();
void forgetKeyPresses();
