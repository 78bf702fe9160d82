/* Pipe-backed stand-ins for the handheld's event devices.
 *
 * Every open of /dev/input/event0..2 gets a new pipe: the caller keeps the read end,
 * so select() and read() work on it natively, and vpad writes native input_event
 * records into the write end. The same node may be open several times at once (the
 * game opens and closes nodes while it searches by name); each descriptor is fed on
 * its own. */
#define _GNU_SOURCE
#include "devices.h"

#include <errno.h>
#include <fcntl.h>
#include <linux/input.h>
#include <poll.h>
#include <pthread.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#define EVENT_PATH "/dev/input/event"
#define MAX_OPEN 32

/* The game reads at most 1024 bytes per device and frame and keeps only whole
 * events, so never leave more than the whole events that fit in one such read. */
#define READ_LIMIT ((1024 / sizeof(struct input_event)) * sizeof(struct input_event))

/* Twelve key events and a report marker: the most one batch can hold. */
#define MAX_BATCH (VPAD_BUTTONS + 1)

static const char* const device_names[VPAD_DEVICES] = {"gpio-keys", "nub0", "nub1"};

struct pipe_device {
    int in_use;
    int device;
    int read_fd; /* the caller's end, used only to recognise it */
    int write_fd;
    dev_t st_dev;
    ino_t st_ino;
    struct pad_state sent; /* what this descriptor has been told so far */
};

static struct pipe_device open_devices[MAX_OPEN];
static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;

int vpad_device_for_path(const char* path)
{
    const size_t prefix = sizeof EVENT_PATH - 1;
    if (path == NULL || strncmp(path, EVENT_PATH, prefix) != 0)
        return -1;
    const char* digits = path + prefix;
    if (*digits == '\0' || strspn(digits, "0123456789") != strlen(digits))
        return -1;
    unsigned long id = strtoul(digits, NULL, 10);
    return id < VPAD_DEVICES ? (int)id : VPAD_DEVICES;
}

/* True once nobody holds the read end any more. */
static int reader_gone(const struct pipe_device* d)
{
    struct pollfd p = {.fd = d->write_fd, .events = POLLOUT, .revents = 0};
    return poll(&p, 1, 0) == 1 && (p.revents & POLLERR);
}

static void release_closed(void)
{
    for (int i = 0; i < MAX_OPEN; i++) {
        struct pipe_device* d = &open_devices[i];
        if (d->in_use && reader_gone(d)) {
            close(d->write_fd);
            d->in_use = 0;
        }
    }
}

static struct pipe_device* free_slot(void)
{
    for (int i = 0; i < MAX_OPEN; i++)
        if (!open_devices[i].in_use)
            return &open_devices[i];
    return NULL;
}

int vpad_device_open(int device, int flags)
{
    pthread_mutex_lock(&lock);
    release_closed();
    struct pipe_device* d = free_slot();
    int fds[2];
    struct stat st;
    int result = -1;
    if (d == NULL) {
        errno = ENFILE;
    } else if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        /* The write end stays non-blocking: a stalled reader must never stall the game. */
        if (!(flags & O_NONBLOCK))
            fcntl(fds[0], F_SETFL, fcntl(fds[0], F_GETFL) & ~O_NONBLOCK);
        if (!(flags & O_CLOEXEC))
            fcntl(fds[0], F_SETFD, 0);
        fstat(fds[0], &st);
        memset(d, 0, sizeof *d);
        d->in_use = 1;
        d->device = device;
        d->read_fd = fds[0];
        d->write_fd = fds[1];
        d->st_dev = st.st_dev;
        d->st_ino = st.st_ino;
        result = fds[0];
    }
    pthread_mutex_unlock(&lock);
    return result;
}

/* The record behind fd, recognised by the pipe itself so that a reused descriptor
 * number is never mistaken for ours. */
static struct pipe_device* find_device(int fd)
{
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISFIFO(st.st_mode))
        return NULL;
    for (int i = 0; i < MAX_OPEN; i++) {
        struct pipe_device* d = &open_devices[i];
        if (d->in_use && d->st_dev == st.st_dev && d->st_ino == st.st_ino)
            return d;
    }
    return NULL;
}

int vpad_device_name(int fd, void* buf, size_t len)
{
    pthread_mutex_lock(&lock);
    struct pipe_device* d = find_device(fd);
    int copied = -1;
    if (d != NULL) {
        /* Like the kernel: as much of the name and its terminator as fits. */
        const char* name = device_names[d->device];
        size_t n = strlen(name) + 1;
        if (n > len)
            n = len;
        memcpy(buf, name, n);
        copied = (int)n;
    }
    pthread_mutex_unlock(&lock);
    return copied;
}

static void add_event(struct input_event* batch, int* count, const struct timespec* now, unsigned short type,
                      unsigned short code, int value)
{
    struct input_event* ev = &batch[(*count)++];
    memset(ev, 0, sizeof *ev);
    ev->input_event_sec = now->tv_sec;
    ev->input_event_usec = now->tv_nsec / 1000;
    ev->type = type;
    ev->code = code;
    ev->value = value;
}

/* The events that bring a descriptor from what it was sent to what is wanted. */
static int changes(const struct pipe_device* d, const struct pad_state* want, const struct timespec* now,
                   struct input_event* batch)
{
    int count = 0;
    if (d->device == VPAD_DEV_KEYS) {
        for (int i = 0; i < VPAD_BUTTONS; i++) {
            unsigned bit = 1u << i;
            if ((d->sent.buttons ^ want->buttons) & bit)
                add_event(batch, &count, now, EV_KEY, vpad_button_codes[i], (want->buttons & bit) != 0);
        }
    } else {
        int nub = d->device - VPAD_DEV_NUB0;
        static const unsigned short axes[2] = {ABS_X, ABS_Y};
        for (int axis = 0; axis < 2; axis++)
            if (d->sent.nub[nub][axis] != want->nub[nub][axis])
                add_event(batch, &count, now, EV_ABS, axes[axis], want->nub[nub][axis]);
    }
    if (count > 0)
        add_event(batch, &count, now, EV_SYN, SYN_REPORT, 0);
    return count;
}

static size_t pending_bytes(const struct pipe_device* d)
{
    int n = 0;
    return ioctl(d->write_fd, FIONREAD, &n) == 0 && n > 0 ? (size_t)n : 0;
}

void vpad_devices_feed(const struct pad_state* want)
{
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now); /* evdev's own default event clock */
    pthread_mutex_lock(&lock);
    release_closed();
    for (int i = 0; i < MAX_OPEN; i++) {
        struct pipe_device* d = &open_devices[i];
        struct input_event batch[MAX_BATCH];
        if (!d->in_use)
            continue;
        int count = changes(d, want, &now, batch);
        size_t bytes = count * sizeof batch[0];
        /* A reader that has fallen behind gets the whole change on a later frame:
         * what it was sent stays as it was, so nothing is lost or split. */
        if (count == 0 || pending_bytes(d) + bytes > READ_LIMIT)
            continue;
        /* Below PIPE_BUF a pipe write is all or nothing. */
        if (write(d->write_fd, batch, bytes) == (ssize_t)bytes)
            d->sent = *want;
    }
    pthread_mutex_unlock(&lock);
}
