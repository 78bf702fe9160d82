/* The desktop's game pads, through the vpad-gamepad helper process. */
#ifndef VPAD_GAMEPAD_H
#define VPAD_GAMEPAD_H

#include "vpad.h"

struct vpad_gamepad;

/* Starts the helper program; NULL, with a message, when it cannot start. */
struct vpad_gamepad* vpad_gamepad_start(const char* program);

/* Adds what the pads hold to state (read from the keyboard and mouse): their
 * buttons, and their sticks where the keyboard and mouse leave a nub at rest. */
void vpad_gamepad_read(struct vpad_gamepad* pads, struct pad_state* state);

#endif
