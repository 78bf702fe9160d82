/* Writes what the pad does, frame by frame, as a script that replays it. */
#ifndef VPAD_RECORD_H
#define VPAD_RECORD_H

#include "vpad.h"

struct vpad_recorder;

/* Starts a script at path that begins with `seed seed`; NULL, with a message,
 * when the file cannot be written. */
struct vpad_recorder* vpad_record_open(const char* path, long seed);

/* Writes the changes from the state recorded last, as happening in this frame. */
void vpad_record_frame(struct vpad_recorder* recorder, long frame, const struct vpad_state* state);

/* Writes what is still buffered and closes the script. */
void vpad_record_close(struct vpad_recorder* recorder);

#endif
