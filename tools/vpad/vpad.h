/* The virtual handheld pad: what every part of the library shares. */
#ifndef VPAD_H
#define VPAD_H

/* The handheld's twelve buttons, in the order of vpad_buttons. */
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

struct vpad_button {
    const char* name;    /* as written in scripts */
    unsigned short code; /* the key code the handheld's button block reports */
};

extern const struct vpad_button vpad_buttons[VPAD_BUTTONS];

/* The whole pad at one moment. */
struct vpad_state {
    unsigned buttons; /* bit i set while vpad_buttons[i] is held */
    int nub[2][2];    /* [0] left nub ("nub0"), [1] right nub ("nub1"); each x, y */
};

/* Index into vpad_buttons, or -1 for an unknown name. */
int vpad_button_by_name(const char* name);

/* Messages for the person running the game, on standard error. */
void vpad_warn(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

/* The largest seed a script or VPAD_SEED may give: a time() the game can hold. */
#define VPAD_SEED_MAX 2147483647L

/* The next definition of a function vpad stands in for (the C library's own). */
void* vpad_next_symbol(const char* name);

/* Declares real_NAME, the next definition of NAME after ours. */
#define REAL(name)                        \
    static __typeof__(&name) real_##name; \
    if (real_##name == NULL)              \
    real_##name = (__typeof__(&name))vpad_next_symbol(#name)

#endif
