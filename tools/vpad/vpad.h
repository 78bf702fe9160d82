/* The virtual handheld pad: what every part of the library shares. */
#ifndef VPAD_H
#define VPAD_H

#include "pad_script.h"

/* The handheld's twelve buttons, in the order of pad_button_names. */
enum {
    VPAD_UP,
    VPAD_DOWN,
    VPAD_LEFT,
    VPAD_RIGHT,
    VPAD_A,
    VPAD_B,
    VPAD_X,
    VPAD_Y,
    VPAD_L,
    VPAD_R,
    VPAD_START,
    VPAD_SELECT,
    VPAD_BUTTONS
};

/* A full deflection of a nub, in the units the game reads. */
#define VPAD_NUB_FULL 256

/* The key code the handheld's button block reports for each button. */
extern const unsigned short vpad_button_codes[VPAD_BUTTONS];

/* Messages for the person running the game, on standard error. */
void vpad_warn(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

/* The next definition of a function vpad stands in for (the C library's own). */
void* vpad_next_symbol(const char* name);

/* Declares real_NAME, the next definition of NAME after ours. */
#define REAL(name)                        \
    static __typeof__(&name) real_##name; \
    if (real_##name == NULL)              \
    real_##name = (__typeof__(&name))vpad_next_symbol(#name)

#endif
