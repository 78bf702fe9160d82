/* A virtual game pad (SDL 2's virtual joystick) played from a command pipe, so that
 * tests drive the whole path from SDL to the game. */
#ifndef GAMEPAD_VIRTUAL_PAD_H
#define GAMEPAD_VIRTUAL_PAD_H

/* Opens the command pipe (a FIFO) at path; 0 on success, -1 with a message. */
int virtual_pad_open(const char* path);

/* Carries out the next complete command line that has arrived, if any. */
void virtual_pad_poll(void);

#endif
