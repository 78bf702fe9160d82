/* The desktop keyboard and mouse as the handheld's controls (table in README.md). */
#ifndef VPAD_KEYBOARD_H
#define VPAD_KEYBOARD_H

#include <X11/Xlib.h>

#include "vpad.h"

struct vpad_keyboard;

/* Connects to $DISPLAY; NULL, with a message, when there is none. */
struct vpad_keyboard* vpad_keyboard_open(void);

/* Replaces state with what the keyboard and mouse hold right now. */
void vpad_keyboard_read(struct vpad_keyboard* keyboard, struct pad_state* state);

/* Tells the keyboard that a program drained the X events of display: for the
 * game's connection, that its menus ran this frame. */
void vpad_keyboard_note_drain(Display* display);

#endif
