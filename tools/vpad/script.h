/* Timed scripts of pad actions (format in README.md). */
#ifndef VPAD_SCRIPT_H
#define VPAD_SCRIPT_H

#include "vpad.h"

struct vpad_script;

/* Reads and checks a whole script. Reports every faulty line on standard error and
 * returns NULL if there was any, or if the file cannot be read. */
struct vpad_script* vpad_script_load(const char* path);

/* The seed the script names (`seed N`), or -1 when it names none. */
long vpad_script_seed(const struct vpad_script* script);

/* Runs every command that is due by this frame (the frame-th sleep of the game,
 * counted from 1) and time (seconds since the first frame), changing state. */
void vpad_script_step(struct vpad_script* script, long frame, double seconds, struct vpad_state* state);

#endif
