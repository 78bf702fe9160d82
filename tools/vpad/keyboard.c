/* The desktop keyboard and mouse as the handheld's controls.
 *
 * Read once per frame on a connection of our own (the game's event queue is left
 * alone): the held keys through XQueryKeymap, the pointer through XQueryPointer.
 * A quick tap can fall between two frames, so key presses are also heard as events
 * on the root window and its top-level windows (the game's among them), and a key
 * pressed since the last frame counts as held for that frame. Of the letters only
 * W, A, S, D (the d-pad) and P (Start) are bound: the d-pad and Start do nothing
 * in name entry, so every letter still types on the game's own keyboard. */
#include "keyboard.h"

#include <X11/Xlib.h>
#include <X11/cursorfont.h>
#include <X11/keysym.h>
#include <math.h>
#include <stdlib.h>

#include "window.h"

struct button_key {
    KeySym sym;
    int button;
};

/* Held as long as the key is held. */
static const struct button_key button_keys[] = {
    {XK_Up, VPAD_UP},
    {XK_Down, VPAD_DOWN},
    {XK_Left, VPAD_LEFT},
    {XK_Right, VPAD_RIGHT},
    {XK_w, VPAD_UP},
    {XK_s, VPAD_DOWN},
    {XK_a, VPAD_LEFT},
    {XK_d, VPAD_RIGHT},
    {XK_Home, VPAD_A},
    {XK_End, VPAD_B},
    {XK_Next, VPAD_X},
    {XK_Prior, VPAD_Y},
    {XK_Shift_R, VPAD_L},
    {XK_Control_R, VPAD_R},
    {XK_Control_L, VPAD_SELECT},
    /* The usual desktop key for confirm. */
    {XK_Return, VPAD_X},
    {XK_KP_Enter, VPAD_X},
};

/* Pressed for one frame each time the key goes down: held, Start would toggle
 * the pause every 0.2 s. Escape is Start in play and B (back) in the menus. */
#define BACK_OR_START (-1)

static const struct button_key pulse_keys[] = {
    {XK_p, VPAD_START},
    {XK_Pause, VPAD_START},
    {XK_Escape, BACK_OR_START},
};

/* The keypad as the left nub, with or without Num Lock. */
struct nub_key {
    KeySym sym;
    int dx, dy;
};

static const struct nub_key nub_keys[] = {
    {XK_KP_8, 0, -1},  {XK_KP_Up, 0, -1},    {XK_KP_2, 0, 1},  {XK_KP_Down, 0, 1},
    {XK_KP_4, -1, 0},  {XK_KP_Left, -1, 0},  {XK_KP_6, 1, 0},  {XK_KP_Right, 1, 0},
    {XK_KP_7, -1, -1}, {XK_KP_Home, -1, -1}, {XK_KP_9, 1, -1}, {XK_KP_Prior, 1, -1},
    {XK_KP_1, -1, 1},  {XK_KP_End, -1, 1},   {XK_KP_3, 1, 1},  {XK_KP_Next, 1, 1},
};

#define BUTTON_KEYS (sizeof button_keys / sizeof button_keys[0])
#define PULSE_KEYS (sizeof pulse_keys / sizeof pulse_keys[0])
#define NUB_KEYS (sizeof nub_keys / sizeof nub_keys[0])

#define MAX_WATCHED 64

struct vpad_keyboard {
    Display* display;
    /* Key codes of the tables above; 0 where the keyboard has no such key, or where
     * an earlier entry already has the same key (KP_8 and KP_Up are one key). */
    KeyCode button_codes[BUTTON_KEYS];
    KeyCode pulse_codes[PULSE_KEYS];
    KeyCode nub_codes[NUB_KEYS];
    Window watched[MAX_WATCHED]; /* top-level windows whose key events we hear */
    unsigned watched_count;
    char pressed[32];        /* keys pressed since the last frame, as a keymap */
    char last[32];           /* the keys held at the last frame */
    Window game;             /* the game's window, once it is found */
    KeyCode full_screen_key; /* F11 */
};

static Display* own_display;
/* Set when the game drains its X keyboard queue, which it does only while its
 * menus run: then Escape means back. */
static int menus_running;
static XErrorHandler earlier_handler;

/* A window may close between our finding it and listening to it; that error is
 * ours alone and must not end the game. Errors on the game's own connection go to
 * the handler that was there before. */
static int ignore_own_errors(Display* display, XErrorEvent* error)
{
    return display == own_display ? 0 : earlier_handler(display, error);
}

static int seen_before(const KeyCode* codes, size_t count, KeyCode code)
{
    for (size_t i = 0; i < count; i++)
        if (codes[i] == code)
            return 1;
    return 0;
}

struct vpad_keyboard* vpad_keyboard_open(void)
{
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        vpad_warn("keyboard mode needs an X display; none at DISPLAY=%s", getenv("DISPLAY") ? getenv("DISPLAY") : "");
        return NULL;
    }
    struct vpad_keyboard* kb = calloc(1, sizeof *kb);
    if (kb == NULL) {
        XCloseDisplay(display);
        return NULL;
    }
    kb->display = display;
    own_display = display;
    earlier_handler = XSetErrorHandler(ignore_own_errors);
    XSelectInput(display, DefaultRootWindow(display), KeyPressMask);
    for (size_t i = 0; i < BUTTON_KEYS; i++)
        kb->button_codes[i] = XKeysymToKeycode(display, button_keys[i].sym);
    for (size_t i = 0; i < PULSE_KEYS; i++)
        kb->pulse_codes[i] = XKeysymToKeycode(display, pulse_keys[i].sym);
    for (size_t i = 0; i < NUB_KEYS; i++) {
        KeyCode code = XKeysymToKeycode(display, nub_keys[i].sym);
        kb->nub_codes[i] = seen_before(kb->nub_codes, i, code) ? 0 : code;
    }
    kb->full_screen_key = XKeysymToKeycode(display, XK_F11);
    return kb;
}

static int held(const char keymap[32], KeyCode code)
{
    return code != 0 && (keymap[code / 8] >> (code % 8)) & 1;
}

/* A direction as a nub reading: full deflection whichever way it points. */
static void set_nub(int nub[2], int dx, int dy)
{
    double length = sqrt((double)dx * dx + (double)dy * dy);
    nub[0] = length > 0 ? (int)lround(VPAD_NUB_FULL * dx / length) : 0;
    nub[1] = length > 0 ? (int)lround(VPAD_NUB_FULL * dy / length) : 0;
}

static int is_watched(const struct vpad_keyboard* kb, Window w)
{
    for (unsigned i = 0; i < kb->watched_count; i++)
        if (kb->watched[i] == w)
            return 1;
    return 0;
}

/* Listens to key presses on top-level windows that have appeared since last time. */
static void watch_new_windows(struct vpad_keyboard* kb)
{
    Window root, parent, *children = NULL;
    unsigned count = 0;
    if (!XQueryTree(kb->display, DefaultRootWindow(kb->display), &root, &parent, &children, &count))
        return;
    if (count > MAX_WATCHED)
        count = MAX_WATCHED;
    for (unsigned i = 0; i < count; i++)
        if (!is_watched(kb, children[i]))
            XSelectInput(kb->display, children[i], KeyPressMask);
    /* Windows that are gone drop out of the list here. */
    for (unsigned i = 0; i < count; i++)
        kb->watched[i] = children[i];
    kb->watched_count = count;
    if (children)
        XFree(children);
}

/* Once the game's window is there: hear the keys typed into it (a window manager
 * frames it, so it is no top-level window of the root), and show a crosshair
 * over it, where the mouse aims. */
static void find_game_window(struct vpad_keyboard* kb)
{
    if (kb->game != None)
        return;
    kb->game = vpad_window_of_process(kb->display);
    if (kb->game == None)
        return;
    XSelectInput(kb->display, kb->game, KeyPressMask);
    XDefineCursor(kb->display, kb->game, XCreateFontCursor(kb->display, XC_crosshair));
}

static void collect_presses(struct vpad_keyboard* kb)
{
    while (XPending(kb->display)) {
        XEvent event;
        XNextEvent(kb->display, &event);
        if (event.type != KeyPress)
            continue;
        kb->pressed[event.xkey.keycode / 8] |= 1 << (event.xkey.keycode % 8);
        if (event.xkey.keycode == kb->full_screen_key && kb->game != None && event.xkey.window == kb->game)
            vpad_window_toggle_full_screen(kb->display, kb->game);
    }
}

void vpad_keyboard_note_drain(Display* display)
{
    if (display != own_display)
        menus_running = 1;
}

/* The buttons of the keys that went down since the last frame. */
static unsigned pulsed_buttons(const struct vpad_keyboard* kb, const char keymap[32])
{
    unsigned buttons = 0;
    for (size_t i = 0; i < PULSE_KEYS; i++) {
        KeyCode code = kb->pulse_codes[i];
        if (!held(kb->pressed, code) && !(held(keymap, code) && !held(kb->last, code)))
            continue;
        int button = pulse_keys[i].button;
        if (button == BACK_OR_START)
            button = menus_running ? VPAD_B : VPAD_START;
        buttons |= 1u << button;
    }
    return buttons;
}

/* From the ship, in the middle of the game's window, towards the pointer; from
 * the middle of the screen until the window is found. */
static int mouse_aim(struct vpad_keyboard* kb, int* dx, int* dy)
{
    unsigned buttons = 0;
    if (kb->game == None || !vpad_window_pointer_from_centre(kb->display, kb->game, dx, dy, &buttons)) {
        Window root = DefaultRootWindow(kb->display);
        if (!vpad_window_pointer_from_centre(kb->display, root, dx, dy, &buttons))
            return 0;
    }
    return (buttons & (Button1Mask | Button2Mask | Button3Mask)) != 0;
}

void vpad_keyboard_read(struct vpad_keyboard* kb, struct pad_state* state)
{
    char keymap[32];
    find_game_window(kb);
    watch_new_windows(kb);
    collect_presses(kb);
    XQueryKeymap(kb->display, keymap);

    state->buttons = pulsed_buttons(kb, keymap);
    menus_running = 0;
    for (int i = 0; i < 32; i++) {
        kb->last[i] = keymap[i];
        keymap[i] |= kb->pressed[i];
        kb->pressed[i] = 0;
    }

    for (size_t i = 0; i < BUTTON_KEYS; i++)
        if (held(keymap, kb->button_codes[i]))
            state->buttons |= 1u << button_keys[i].button;

    int dx = 0, dy = 0;
    for (size_t i = 0; i < NUB_KEYS; i++)
        if (held(keymap, kb->nub_codes[i])) {
            dx += nub_keys[i].dx;
            dy += nub_keys[i].dy;
        }
    set_nub(state->nub[0], dx, dy);

    /* The right nub aims from the ship towards the pointer while a button is held. */
    int aim_x = 0, aim_y = 0;
    int aiming = mouse_aim(kb, &aim_x, &aim_y);
    set_nub(state->nub[1], aiming ? aim_x : 0, aiming ? aim_y : 0);
}
