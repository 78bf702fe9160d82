/* vpad's side of the pad's scripts and recordings (the language is pad_script's):
 * fbgrab snaps, X key presses, the end of the process on quit. */
#ifndef VPAD_SCRIPT_H
#define VPAD_SCRIPT_H

#include "pad_script.h"

/* Reads and checks a whole script with vpad's hooks; NULL, having said why,
 * when it cannot be used. */
struct pad_script* vpad_script_load(const char* path);

/* Starts a recording at path that begins with `seed seed`; NULL, with a
 * message, when the file cannot be written. */
struct pad_recorder* vpad_record_open(const char* path, long seed);

#endif
