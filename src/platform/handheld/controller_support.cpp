#include "controller_support.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

#include "pnd_io_evdev.h"
#include "x11_window.h"

namespace {

// A nub whose device is missing reads 0, 0.
void readNub(pnd_evdev_e nub, int* x, int* y)
{
    pnd_nubstate_t state = {0, 0};
    pnd_evdev_nub_state(nub, &state);
    *x = state.x;
    *y = state.y;
}

}  // namespace

void setupPandoraControls()
{
    // The game plays without nubs (they read 0), but not without buttons.
    pnd_evdev_open(pnd_evdev_nub1);
    pnd_evdev_open(pnd_evdev_nub2);
    if (!pnd_evdev_open(pnd_evdev_dpads)) {
        puts("Couldn't open dpads");
        exit(1);
    }
}

void shutdownPandoraControls()
{
    pnd_evdev_closeall();
}

void getInput(Controller* myController)
{
    if (!pnd_evdev_catchup(0)) {
        puts("Couldn't catch up events");
        exit(1);
    }

    unsigned int s = (unsigned int)pnd_evdev_dpad_state(pnd_evdev_dpads);
    myController->inputA = s & pnd_evdev_a;
    myController->inputB = s & pnd_evdev_b;
    myController->inputX = s & pnd_evdev_x;
    myController->inputY = s & pnd_evdev_y;
    myController->inputUp = s & pnd_evdev_up;
    myController->inputDown = s & pnd_evdev_down;
    myController->inputLeft = s & pnd_evdev_left;
    myController->inputRight = s & pnd_evdev_right;
    myController->inputL = s & pnd_evdev_ltrigger;
    myController->inputR = s & pnd_evdev_rtrigger;
    myController->inputStart = s & pnd_evdev_start;
    myController->inputSelect = s & pnd_evdev_select;
    if (s & pnd_evdev_pandora)
        puts("Well that was something...");

    readNub(pnd_evdev_nub1, &myController->nub0X, &myController->nub0Y);
    readNub(pnd_evdev_nub2, &myController->nub1X, &myController->nub1Y);
}

// Both nubs are part of the handheld, whether or not their devices opened.
int padStickCount()
{
    return 2;
}

namespace {

// Auto-repeat without detectable repeat sends a release and a press with the
// same time stamp; together they are no release and no new press.
bool isAutoRepeat(Display* display, const XKeyEvent& release)
{
    if (XEventsQueued(display, QueuedAfterReading) == 0)
        return false;
    XEvent next;
    XPeekEvent(display, &next);
    return next.type == KeyPress && next.xkey.keycode == release.keycode && next.xkey.time == release.time;
}

}  // namespace

void updateKeyboard(int* keys)
{
    updateKeyboard(keys, getDisplay());
}

void updateKeyboard(int* keys, Display* x_display)
{
    while (XPending(x_display)) {
        XEvent event;
        XNextEvent(x_display, &event);
        const int code = event.xkey.keycode & 255;
        if (event.type == KeyPress) {
            // A press of a key already down is a repeat, not a key going down.
            if (keys[code] != 1)
                recordKeyPress(code);
            keys[code] = 1;
        } else if (event.type == KeyRelease) {
            if (isAutoRepeat(x_display, event.xkey))
                XNextEvent(x_display, &event);
            else
                keys[code] = 0;
        } else {
            noteWindowEvent(&event);  // the window's own: resized, focus, close
        }
    }
}
