/* The desktop's game pads, all at once, as the handheld's controls. */
#ifndef GAMEPAD_PADS_H
#define GAMEPAD_PADS_H

#include <SDL.h>

#include "vpad.h"

/* Applies one SDL event to the pads (a pad plugged in or out, a button, an axis);
 * true when the combined state may have changed. */
int pads_handle(const SDL_Event* event);

/* What all pads hold together: buttons of any pad, the first stick off centre. */
void pads_state(struct pad_state* state);

#endif
