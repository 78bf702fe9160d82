/* Pipe-backed stand-ins for the handheld's event devices. */
#ifndef VPAD_DEVICES_H
#define VPAD_DEVICES_H

#include <stddef.h>

#include "vpad.h"

enum { VPAD_DEV_KEYS, VPAD_DEV_NUB0, VPAD_DEV_NUB1, VPAD_DEVICES };

/* The device a path names: VPAD_DEV_KEYS..VPAD_DEV_NUB1 for /dev/input/event0..2,
 * VPAD_DEVICES for a higher event node (which does not exist), -1 for any other path. */
int vpad_device_for_path(const char* path);

/* Opens a fresh descriptor on a device: the read end of a new pipe, non-blocking
 * and close-on-exec when the open flags ask for it. -1 with errno set on failure. */
int vpad_device_open(int device, int flags);

/* Copies the device name behind fd into buf the way EVIOCGNAME does and returns the
 * number of bytes copied; -1 when fd is not one of ours. */
int vpad_device_name(int fd, void* buf, size_t len);

/* Brings every open descriptor up to the wanted pad state, writing only what changed
 * since it last heard: key events to "gpio-keys", axis events to the nubs. */
void vpad_devices_feed(const struct pad_state* want);

#endif
