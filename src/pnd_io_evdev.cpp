#include "pnd_io_evdev.h"

#include <errno.h>
#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <sys/select.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

typedef struct {
    int fd;  // -1 when closed
    union {
        pnd_nubstate_t nub;    // the two nub slots
        unsigned int buttons;  // the d-pad slot: pnd_evdev_dpad_e bits
    } state;
} pnd_evmap_t;

const char* const deviceNames[pnd_evdev_max] = {"gpio-keys", "nub0", "nub1", "power-button"};

struct KeyBit {
    unsigned short code;
    unsigned int bit;
};

const KeyBit keyBits[] = {
    {KEY_LEFT, pnd_evdev_left},
    {KEY_RIGHT, pnd_evdev_right},
    {KEY_UP, pnd_evdev_up},
    {KEY_DOWN, pnd_evdev_down},
    {KEY_PAGEDOWN, pnd_evdev_x},
    {KEY_PAGEUP, pnd_evdev_y},
    {KEY_HOME, pnd_evdev_a},
    {KEY_END, pnd_evdev_b},
    {KEY_RIGHTSHIFT, pnd_evdev_ltrigger},
    {KEY_RIGHTCTRL, pnd_evdev_rtrigger},
    {KEY_LEFTALT, pnd_evdev_start},
    {KEY_LEFTCTRL, pnd_evdev_select},
    {KEY_MENU, pnd_evdev_pandora},
};

// One read takes at most this many events; the rest wait in the kernel for the next frame.
const int maxEventsPerRead = 64;
const int evmapbackSize = 10;

pnd_evmap_t evmap[pnd_evdev_max];
unsigned char evmap_first = 1;
// Owner of each descriptor 0..9, recorded at open. Axis events are routed by the
// slot being read instead, which also covers descriptors beyond this table.
pnd_evdev_e evmapback[evmapbackSize];

bool validKind(int device)
{
    return device >= 0 && device < pnd_evdev_max;
}

// Every access goes through here, so even a close before any open cannot touch
// descriptor 0: the slots are marked closed on first use.
pnd_evmap_t& slot(int device)
{
    if (evmap_first) {
        for (pnd_evmap_t& m : evmap)
            m.fd = -1;
        evmap_first = 0;
    }
    return evmap[device];
}

// 0 for an unmapped code, so its events change nothing.
unsigned int buttonBit(unsigned short code)
{
    for (const KeyBit& k : keyBits)
        if (k.code == code)
            return k.bit;
    return 0;
}

void applyEvent(int device, const struct input_event& ev)
{
    if (ev.type == EV_KEY) {
        unsigned int bit = buttonBit(ev.code);
        unsigned int& buttons = slot(pnd_evdev_dpads).state.buttons;
        if (ev.value) {
            buttons |= bit;
        } else {
            buttons &= ~bit;
        }
    } else if (ev.type == EV_ABS) {
        pnd_nubstate_t& nub = slot(device == pnd_evdev_nub1 ? pnd_evdev_nub1 : pnd_evdev_nub2).state.nub;
        if (ev.code == ABS_X) {
            nub.x = ev.value;
        } else if (ev.code == ABS_Y) {
            nub.y = ev.value;
        }
    }
}

// What one read of a device gave.
enum DrainResult { DRAIN_EVENTS, DRAIN_SHORT, DRAIN_DEAD };

// A node removed under the game (a nub switching modes re-registers its device)
// stays readable but yields end of file or an error other than "try again".
bool deviceGone(ssize_t got)
{
    return got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR);
}

// Applies one read's worth of events.
DrainResult drainDevice(int device)
{
    struct input_event events[maxEventsPerRead];
    ssize_t got = read(slot(device).fd, events, sizeof events);
    if (deviceGone(got))
        return DRAIN_DEAD;
    if (got < (ssize_t)sizeof(struct input_event))
        return DRAIN_SHORT;
    size_t count = (size_t)got / sizeof(struct input_event);
    for (size_t i = 0; i < count; ++i)
        applyEvent(device, events[i]);
    return DRAIN_EVENTS;
}

}  // namespace

int pnd_evdev_open_by_name(const char* devname)
{
    char name[256];
    memset(name, 0, sizeof name);
    for (int id = 0; id < 256; ++id) {
        char path[64];
        snprintf(path, sizeof path, "/dev/input/event%i", id);
        int fd = open(path, O_RDONLY | O_NONBLOCK);
        if (fd < 0)
            return -1;
        if (ioctl(fd, EVIOCGNAME(sizeof name), name) >= 0 && strncmp(name, devname, sizeof name) == 0)
            return fd;
        close(fd);
    }
    return -1;
}

int pnd_evdev_open(pnd_evdev_e device)
{
    if (!validKind(device))
        return 0;
    int fd = pnd_evdev_open_by_name(deviceNames[device]);
    slot(device).fd = fd;
    if (fd < 0)
        return 0;
    if (fd < evmapbackSize)
        evmapback[fd] = device;
    return 1;
}

int pnd_evdev_catchup(int blockp)
{
    fd_set readable;
    FD_ZERO(&readable);
    int maxfd = -1;
    for (int device = 0; device < pnd_evdev_max; ++device) {
        int fd = slot(device).fd;
        if (fd < 0)
            continue;
        FD_SET(fd, &readable);
        if (fd > maxfd)
            maxfd = fd;
    }
    if (maxfd < 0)
        return 0;

    struct timeval noWait = {0, 0};
    int ready = select(maxfd + 1, &readable, nullptr, nullptr, blockp ? nullptr : &noWait);
    if (ready < 0)
        return 0;
    if (ready == 0)
        return 1;

    for (int device = 0; device < pnd_evdev_max; ++device) {
        int fd = slot(device).fd;
        if (fd < 0 || !FD_ISSET(fd, &readable))
            continue;
        DrainResult result = drainDevice(device);
        if (result == DRAIN_DEAD) {
            // Read again, it would end every catch-up here. A lost nub reads 0, 0;
            // without buttons the game cannot go on, as at the start.
            pnd_evdev_close((pnd_evdev_e)device);
            if (device == pnd_evdev_dpads)
                return 0;
            continue;
        }
        // A short read ends this catch-up; later devices are read next frame.
        if (result == DRAIN_SHORT)
            return 1;
    }
    return 1;
}

int pnd_evdev_dpad_state(pnd_evdev_e device)
{
    if (!validKind(device) || slot(device).fd < 0)
        return -1;
    return (int)slot(device).state.buttons;
}

int pnd_evdev_nub_state(pnd_evdev_e nubdevice, pnd_nubstate_t* r_nubstate)
{
    if (!validKind(nubdevice) || slot(nubdevice).fd < 0)
        return -1;
    *r_nubstate = slot(nubdevice).state.nub;
    return 1;
}

void pnd_evdev_close(pnd_evdev_e device)
{
    if (!validKind(device))
        return;
    pnd_evmap_t& m = slot(device);
    if (m.fd >= 0)
        close(m.fd);
    m.fd = -1;
}

void pnd_evdev_closeall()
{
    pnd_evdev_close(pnd_evdev_dpads);
    pnd_evdev_close(pnd_evdev_nub1);
    pnd_evdev_close(pnd_evdev_nub2);
    pnd_evdev_close(pnd_evdev_power);
}

int pnd_evdev_get_fd(pnd_evdev_e device)
{
    return validKind(device) ? slot(device).fd : -1;
}
