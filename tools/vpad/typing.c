/* Desktop key presses for scripts.
 *
 * The game drains its X key events once per menu frame, so a key sent in one
 * frame's sleep and released in a later one is held for exactly the frames in
 * between, however slowly the game runs. The events go straight to the game's
 * windows (XSendEvent); no input extension is needed. */
#include "typing.h"

#include <X11/Xlib.h>
#include <stdlib.h>

#include "vpad.h"

static Display* display;

static Display* connection(void)
{
    static int tried;
    if (!tried) {
        tried = 1;
        display = XOpenDisplay(NULL);
        if (display == NULL)
            vpad_warn("key lines need an X display; none at DISPLAY=%s", getenv("DISPLAY") ? getenv("DISPLAY") : "");
    }
    return display;
}

int vpad_typing_code(const char* keysym_name)
{
    KeySym sym = XStringToKeysym(keysym_name);
    if (sym == NoSymbol || connection() == NULL)
        return 0;
    return XKeysymToKeycode(display, sym);
}

void vpad_typing_send(int code, int down)
{
    Window root = DefaultRootWindow(display), parent, *children = NULL;
    unsigned count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count))
        return;
    for (unsigned i = 0; i < count; i++) {
        XKeyEvent key = {0};
        key.type = down ? KeyPress : KeyRelease;
        key.display = display;
        key.window = children[i];
        key.root = root;
        key.time = CurrentTime;
        key.same_screen = True;
        key.keycode = (unsigned)code;
        XSendEvent(display, children[i], False, down ? KeyPressMask : KeyReleaseMask, (XEvent*)&key);
    }
    if (children)
        XFree(children);
    XSync(display, False);
}
