#pragma once

// The handheld backend's X connection, shared by its display and its keyboard
// reader. Xlib's own forward declarations keep Xlib's macros out of the files
// that include this.
typedef struct _XDisplay Display;
typedef union _XEvent XEvent;

Display* getDisplay();
// Drains the X key events into keys (1 held, 0 released) and records each key
// going down, in order, for typing; the window's other events go on to
// noteWindowEvent.
void updateKeyboard(int* keys, Display* x_display);
// A window event the keyboard reader found: resized, focus, close.
void noteWindowEvent(const XEvent* event);
