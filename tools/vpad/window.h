/* The game's own window on the desktop, seen from vpad's X connection. */
#ifndef VPAD_WINDOW_H
#define VPAD_WINDOW_H

#include <X11/Xlib.h>

/* This process's top-level window (the one whose _NET_WM_PID is ours), looked
 * for among the root's children and, under a window manager, their children;
 * None while there is none. */
Window vpad_window_of_process(Display* display);

/* Where the pointer is from the middle of window w, in pixels (y grows
 * downwards), and which buttons are held. The game centres its picture in the
 * window, and the ship sits in the middle of the picture. 0 when the pointer is
 * not on w's screen or w is gone. */
int vpad_window_pointer_from_centre(Display* display, Window w, int* dx, int* dy, unsigned* buttons);

/* Asks the window manager to switch w between full screen and a window. */
void vpad_window_toggle_full_screen(Display* display, Window w);

#endif
