/* The desktop keyboard and mouse as the handheld's controls (table in README.md). */
#ifndef VPAD_KEYBOARD_H
#define VPAD_KEYBOARD_H

#include "vpad.h"

struct vpad_keyboard;

/* Connects to $DISPLAY; NULL, with a message, when there is none. */
struct vpad_keyboard *vpad_keyboard_open(void);

/* Replaces state with what the keyboard and mouse hold right now. */
void vpad_keyboard_read(struct vpad_keyboard *keyboard, struct vpad_state *state);

#endif
