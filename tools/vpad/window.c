/* The game's own window on the desktop, seen from vpad's X connection. */
#include "window.h"

#include <X11/Xatom.h>
#include <string.h>
#include <unistd.h>

static int belongs_to_us(Display* display, Window w, Atom pid_atom)
{
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = NULL;
    int ours = 0;
    if (XGetWindowProperty(display, w, pid_atom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data) ==
            Success &&
        data != NULL && format == 32 && count == 1)
        ours = *(unsigned long*)data == (unsigned long)getpid();
    if (data)
        XFree(data);
    return ours;
}

/* A child of parent (searched depth levels down) that is ours, or None. */
static Window search(Display* display, Window parent, Atom pid_atom, int depth)
{
    Window root, up, *children = NULL, found = None;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count))
        return None;
    for (unsigned i = 0; i < count && found == None; i++)
        if (belongs_to_us(display, children[i], pid_atom))
            found = children[i];
    for (unsigned i = 0; i < count && found == None && depth > 1; i++)
        found = search(display, children[i], pid_atom, depth - 1);
    if (children)
        XFree(children);
    return found;
}

Window vpad_window_of_process(Display* display)
{
    Atom pid_atom = XInternAtom(display, "_NET_WM_PID", True);
    if (pid_atom == None)
        return None;
    return search(display, DefaultRootWindow(display), pid_atom, 2);
}

int vpad_window_pointer_from_centre(Display* display, Window w, int* dx, int* dy, unsigned* buttons)
{
    Window root, child;
    int rx, ry, wx, wy;
    unsigned width, height, border, depth;
    int x, y;
    if (!XGetGeometry(display, w, &root, &x, &y, &width, &height, &border, &depth))
        return 0;
    if (!XQueryPointer(display, w, &root, &child, &rx, &ry, &wx, &wy, buttons))
        return 0;
    *dx = wx - (int)width / 2;
    *dy = wy - (int)height / 2;
    return 1;
}

void vpad_window_toggle_full_screen(Display* display, Window w)
{
    Atom state = XInternAtom(display, "_NET_WM_STATE", True);
    Atom full_screen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", True);
    /* No window manager has made these: there is nobody to ask. */
    if (state == None || full_screen == None)
        return;
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = w;
    event.xclient.message_type = state;
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2; /* toggle */
    event.xclient.data.l[1] = (long)full_screen;
    event.xclient.data.l[3] = 1; /* asked by an application */
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
}
