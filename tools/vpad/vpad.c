/* vpad: the handheld's input devices for an unchanged game binary (LD_PRELOAD),
 * the handheld programs' test seam on machines without the handheld's controls.
 *
 * open() of /dev/input/event0..2 gives pipe-backed devices named "gpio-keys", "nub0"
 * and "nub1"; event3 and above do not exist, so the game's search by name stops
 * there. ioctl(EVIOCGNAME) on them answers the name. Every other open, ioctl and
 * usleep goes to the C library untouched.
 *
 * The game sleeps once per frame on its main thread; each such usleep is a frame
 * for vpad: it may stretch the sleep to hold a steady pace (VPAD_PACE_HZ), then it
 * takes the pad's state from a script (VPAD_SCRIPT) and writes the changes into
 * the devices. */
#define _GNU_SOURCE
/* vpad defines open() itself, so the headers must not supply inline checking forms. */
#undef _FORTIFY_SOURCE
#include "vpad.h"

#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <linux/input.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>

#include "clock.h"
#include "devices.h"
#include "script.h"

_Static_assert(VPAD_BUTTONS == PAD_BUTTONS, "one button per name in scripts");

const unsigned short vpad_button_codes[VPAD_BUTTONS] = {
    [VPAD_UP] = KEY_UP,        [VPAD_DOWN] = KEY_DOWN,   [VPAD_LEFT] = KEY_LEFT,     [VPAD_RIGHT] = KEY_RIGHT,
    [VPAD_A] = KEY_HOME,       [VPAD_B] = KEY_END,       [VPAD_X] = KEY_PAGEDOWN,    [VPAD_Y] = KEY_PAGEUP,
    [VPAD_L] = KEY_RIGHTSHIFT, [VPAD_R] = KEY_RIGHTCTRL, [VPAD_START] = KEY_LEFTALT, [VPAD_SELECT] = KEY_LEFTCTRL,
};

void vpad_warn(const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    fputs("vpad: ", stderr);
    vfprintf(stderr, fmt, ap);
    fputc('\n', stderr);
    va_end(ap);
}

/* ---- where the pad's state comes from ---- */

enum mode { MODE_IDLE, MODE_SCRIPT };

static enum mode mode;
static struct pad_script* script;
static struct pad_state pad;
static double pace_period; /* seconds per frame; 0 runs unpaced */
static struct pad_recorder* recorder;
static int frame_count_file = -1; /* VPAD_FRAME_FILE, or -1 */

static const char* base_name(const char* path)
{
    const char* slash = strrchr(path, '/');
    return slash ? slash + 1 : path;
}

/* Children (the screenshot command, the shell) must not get their own pad. */
static void leave_children_alone(void)
{
    Dl_info self;
    const char* preload = getenv("LD_PRELOAD");
    if (preload == NULL || !dladdr((void*)leave_children_alone, &self) || self.dli_fname == NULL)
        return;
    const char* own = base_name(self.dli_fname);
    char* rest = calloc(1, strlen(preload) + 1);
    char* copy = strdup(preload);
    char* save = NULL;
    if (rest == NULL || copy == NULL) {
        free(rest);
        free(copy);
        return;
    }
    for (char* entry = strtok_r(copy, " :", &save); entry; entry = strtok_r(NULL, " :", &save)) {
        if (strcmp(base_name(entry), own) == 0)
            continue;
        if (*rest)
            strcat(rest, ":");
        strcat(rest, entry);
    }
    if (*rest)
        setenv("LD_PRELOAD", rest, 1);
    else
        unsetenv("LD_PRELOAD");
    free(rest);
    free(copy);
}

static void choose_mode(void)
{
    const char* wanted = getenv("VPAD_MODE");
    const char* script_path = getenv("VPAD_SCRIPT");
    int has_script = script_path && *script_path;
    if (wanted == NULL || *wanted == '\0')
        mode = has_script ? MODE_SCRIPT : MODE_IDLE;
    else if (strcmp(wanted, "script") == 0)
        mode = MODE_SCRIPT;
    else if (strcmp(wanted, "idle") == 0)
        mode = MODE_IDLE;
    else {
        vpad_warn("VPAD_MODE must be script or idle, not \"%s\"", wanted);
        exit(2);
    }
    if (mode == MODE_SCRIPT) {
        /* A script that cannot run as written must not run half: stop before the game starts. */
        script = has_script ? vpad_script_load(script_path) : NULL;
        if (script == NULL) {
            if (!has_script)
                vpad_warn("script mode needs VPAD_SCRIPT");
            exit(2);
        }
    }
}

static void choose_pace(void)
{
    const char* hz = getenv("VPAD_PACE_HZ");
    if (hz == NULL || *hz == '\0')
        return;
    char* end;
    double rate = strtod(hz, &end);
    /* 0 runs unpaced; below a frame a second a test would only seem to hang. */
    if (*end != '\0' || !(rate == 0 || (rate >= 1 && rate <= 10000))) {
        vpad_warn("VPAD_PACE_HZ must be 0 or a rate from 1 to 10000 frames per second, not \"%s\"", hz);
        exit(2);
    }
    pace_period = rate > 0 ? 1.0 / rate : 0;
}

/* A seed from VPAD_SEED, or -1 when it is not set. */
static long seed_from_environment(void)
{
    const char* text = getenv("VPAD_SEED");
    if (text == NULL || *text == '\0')
        return -1;
    char* end;
    errno = 0;
    long seed = strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || seed < 0 || seed > PAD_SEED_MAX) {
        vpad_warn("VPAD_SEED must be a whole number from 0 to %ld, not \"%s\"", PAD_SEED_MAX, text);
        exit(2);
    }
    return seed;
}

static void finish_recording(void)
{
    pad_record_close(recorder);
    recorder = NULL;
}

/* A seed (VPAD_SEED first, then the script's) holds the clock. A recording is
 * always held, so that its seed replays it: without a seed given it takes the
 * real time, as the game itself would have. */
static void choose_clock(void)
{
    long seed = seed_from_environment();
    if (seed < 0 && script != NULL)
        seed = pad_script_seed(script);
    const char* record_path = getenv("VPAD_RECORD");
    if (record_path != NULL && *record_path != '\0') {
        if (seed < 0)
            seed = (long)time(NULL);
        recorder = vpad_record_open(record_path, seed);
        if (recorder == NULL)
            exit(2);
        atexit(finish_recording);
    }
    if (seed >= 0)
        vpad_clock_hold(seed);
}

/* A test waits for what the game shows for a number of the game's frames, not
 * of seconds: VPAD_FRAME_FILE holds the count of frames so far. */
static void open_frame_count(void)
{
    const char* path = getenv("VPAD_FRAME_FILE");
    if (path == NULL || *path == '\0')
        return;
    frame_count_file = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (frame_count_file < 0) {
        vpad_warn("cannot write the frame count into %s: %s", path, strerror(errno));
        exit(2);
    }
}

/* The count only grows, so each write covers the one before it. */
static void write_frame_count(long frames)
{
    char line[32];
    int length = snprintf(line, sizeof line, "%ld\n", frames);
    if (pwrite(frame_count_file, line, length, 0) != length)
        vpad_warn("frame %ld: the frame count could not be written", frames);
}

__attribute__((constructor)) static void vpad_start(void)
{
    leave_children_alone();
    choose_mode();
    choose_pace();
    choose_clock();
    open_frame_count();
}

/* ---- the C library's own functions ---- */

void* vpad_next_symbol(const char* name)
{
    void* f = dlsym(RTLD_NEXT, name);
    if (f == NULL) {
        vpad_warn("the C library has no %s", name);
        abort();
    }
    return f;
}

/* ---- frames ---- */

static struct timespec timespec_of(double seconds)
{
    struct timespec t;
    t.tv_sec = (time_t)seconds;
    t.tv_nsec = (long)((seconds - t.tv_sec) * 1e9);
    return t;
}

/* Sleeps at least as asked, and until the frame has lasted one pace period. */
static void paced_sleep(useconds_t usec)
{
    static double deadline;
    double now = vpad_clock_real_seconds();
    deadline = deadline == 0 ? now + pace_period : deadline + pace_period;
    /* After a stall, start afresh instead of rushing frames to catch up. */
    if (deadline < now)
        deadline = now;
    double wake = now + usec * 1e-6;
    if (wake < deadline)
        wake = deadline;
    struct timespec until = timespec_of(wake);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, NULL) == EINTR)
        ;
}

static void update_pad(long frame, double seconds)
{
    if (mode == MODE_SCRIPT)
        pad_script_step(script, frame, seconds, &pad);
}

static int frame(useconds_t usec)
{
    static long frames;
    static double first;
    REAL(usleep);
    int result = 0;
    if (pace_period > 0)
        paced_sleep(usec);
    else if (!vpad_clock_held())
        result = real_usleep(usec);
    /* Held and unpaced, a frame is 1/60 s of the game's time however long it
     * takes: its sleep would only make the run longer. */
    vpad_clock_tick();
    /* Script times follow the game's clock: held, they are whole frames too. */
    double now = vpad_clock_game_seconds();
    if (frames++ == 0)
        first = now;
    update_pad(frames, now - first);
    if (recorder)
        pad_record_frame(recorder, frames, &pad);
    vpad_devices_feed(&pad);
    if (frame_count_file >= 0)
        write_frame_count(frames);
    return result;
}

/* ---- the functions vpad stands in for ---- */

/* Everything else in the library stays out of the game's symbol space. */
#define EXPORT __attribute__((visibility("default")))

EXPORT int usleep(useconds_t usec)
{
    REAL(usleep);
    /* Only the game's frame loop paces the game; other threads sleep as they asked. */
    if (gettid() != getpid())
        return real_usleep(usec);
    return frame(usec);
}

static int needs_mode(int flags)
{
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE;
}

/* The answer for a path that is one of ours, or -2 to let the C library open it. */
static int open_device(const char* path, int flags)
{
    int device = vpad_device_for_path(path);
    if (device < 0)
        return -2;
    if (device == VPAD_DEVICES) {
        errno = ENOENT;
        return -1;
    }
    return vpad_device_open(device, flags);
}

/* The open calls differ only in their parameters: params is the wrapper's
 * list, args what it passes on to the C library's own. A mode follows the flags
 * only when they create a file. */
#define OPEN_WRAPPER(name, params, args)         \
    EXPORT int name params                       \
    {                                            \
        REAL(name);                              \
        mode_t m = 0;                            \
        if (needs_mode(flags)) {                 \
            va_list ap;                          \
            va_start(ap, flags);                 \
            m = va_arg(ap, mode_t);              \
            va_end(ap);                          \
        }                                        \
        int fd = open_device(path, flags);       \
        return fd != -2 ? fd : real_##name args; \
    }

/* The fortified forms, used when the caller builds with _FORTIFY_SOURCE: no mode. */
#define OPEN_CHECKED_WRAPPER(name, params, args) \
    EXPORT int name params                       \
    {                                            \
        REAL(name);                              \
        int fd = open_device(path, flags);       \
        return fd != -2 ? fd : real_##name args; \
    }

OPEN_WRAPPER(open, (const char* path, int flags, ...), (path, flags, m))
OPEN_WRAPPER(open64, (const char* path, int flags, ...), (path, flags, m))
OPEN_WRAPPER(openat, (int dirfd, const char* path, int flags, ...), (dirfd, path, flags, m))
OPEN_WRAPPER(openat64, (int dirfd, const char* path, int flags, ...), (dirfd, path, flags, m))
OPEN_CHECKED_WRAPPER(__open_2, (const char* path, int flags), (path, flags))
OPEN_CHECKED_WRAPPER(__open64_2, (const char* path, int flags), (path, flags))
OPEN_CHECKED_WRAPPER(__openat_2, (int dirfd, const char* path, int flags), (dirfd, path, flags))
OPEN_CHECKED_WRAPPER(__openat64_2, (int dirfd, const char* path, int flags), (dirfd, path, flags))

static int is_name_request(unsigned long request)
{
    return _IOC_TYPE(request) == 'E' && _IOC_NR(request) == _IOC_NR(EVIOCGNAME(0)) && _IOC_DIR(request) == _IOC_READ;
}

EXPORT int ioctl(int fd, unsigned long request, ...)
{
    REAL(ioctl);
    va_list ap;
    va_start(ap, request);
    void* arg = va_arg(ap, void*);
    va_end(ap);
    if (is_name_request(request)) {
        int copied = vpad_device_name(fd, arg, _IOC_SIZE(request));
        if (copied >= 0)
            return copied;
    }
    return real_ioctl(fd, request, arg);
}
