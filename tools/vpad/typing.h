/* Desktop key presses sent to the game's windows, for scripts that type a name. */
#ifndef VPAD_TYPING_H
#define VPAD_TYPING_H

/* The X key code of a key symbol name ("a", "Return"), or 0 when the display
 * cannot be reached or has no such key. Opens vpad's own connection the first time. */
int vpad_typing_code(const char* keysym_name);

/* Sends a key press (down) or release to every top-level window on the display,
 * and waits until the X server has delivered it. */
void vpad_typing_send(int code, int down);

#endif
