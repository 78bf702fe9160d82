#pragma once

// The handheld's own input devices, found by the names they report and read
// without blocking. State changes only inside pnd_evdev_catchup.

// Device kinds; each is looked up by its device name.
typedef enum {
    pnd_evdev_dpads = 0,  // "gpio-keys": d-pad and buttons
    pnd_evdev_nub1 = 1,   // "nub0": left nub
    pnd_evdev_nub2 = 2,   // "nub1": right nub
    pnd_evdev_power = 3,  // "power-button"
    pnd_evdev_max = 4
} pnd_evdev_e;

// Bits of the button mask reported by pnd_evdev_dpad_state.
typedef enum {
    pnd_evdev_left = 1,
    pnd_evdev_right = 2,
    pnd_evdev_up = 4,
    pnd_evdev_down = 8,
    pnd_evdev_x = 16,
    pnd_evdev_y = 32,
    pnd_evdev_a = 64,
    pnd_evdev_b = 128,
    pnd_evdev_ltrigger = 256,
    pnd_evdev_rtrigger = 512,
    pnd_evdev_start = 1024,
    pnd_evdev_select = 2048,
    pnd_evdev_pandora = 4096
} pnd_evdev_dpad_e;

// Last absolute X and Y reported by a nub, in the device's own units.
typedef struct {
    int x;
    int y;
} pnd_nubstate_t;

// 1 when the kind's device was found and opened, 0 otherwise.
int pnd_evdev_open(pnd_evdev_e device);
// Open descriptor of the first /dev/input/eventN reporting exactly this name, or -1.
int pnd_evdev_open_by_name(const char* devname);
// Applies every pending event; blockp 0 polls, anything else waits for input.
// A device that went away is closed and the others are read on. 1 on success
// (also when nothing was pending), 0 when no device is open, the wait fails or
// the buttons' device went away.
int pnd_evdev_catchup(int blockp);
// The button mask, or -1 (every bit set) when that slot is closed.
int pnd_evdev_dpad_state(pnd_evdev_e device);
// 1 and a copy of the nub's state; -1 when that slot is closed (output untouched).
int pnd_evdev_nub_state(pnd_evdev_e nubdevice, pnd_nubstate_t* r_nubstate);
void pnd_evdev_close(pnd_evdev_e device);
void pnd_evdev_closeall();
int pnd_evdev_get_fd(pnd_evdev_e device);
