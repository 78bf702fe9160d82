/* The game's clock, held to whole frames.
 *
 * A replay repeats only if the game sees the same times: every frame lasts
 * exactly 1/60 s and srand(time(NULL)) gets the same seed. Only calls made from
 * the game's own code on its main thread are answered from the held clock:
 * SDL's audio thread, Mesa's threads and every library keep the real clocks,
 * so their timeouts and timed waits work as before. */
#define _GNU_SOURCE
#include "clock.h"

#include <link.h>
#include <pthread.h>
#include <stdint.h>
#include <time.h>
#include <unistd.h>

#include "vpad.h"

#define NANOS 1000000000LL

static int held;
static long frames;
static long long wall_origin;      /* nanoseconds after the epoch at frame 0 */
static long long monotonic_origin; /* nanoseconds of CLOCK_MONOTONIC at frame 0 */

/* The address range of the program's own code (the executable's loaded segments). */
static uintptr_t program_low, program_high;
static pthread_once_t program_found = PTHREAD_ONCE_INIT;

static int note_program(struct dl_phdr_info* info, size_t size, void* data)
{
    (void)size;
    (void)data;
    program_low = UINTPTR_MAX;
    for (int i = 0; i < info->dlpi_phnum; i++) {
        const ElfW(Phdr)* p = &info->dlpi_phdr[i];
        if (p->p_type != PT_LOAD)
            continue;
        uintptr_t low = info->dlpi_addr + p->p_vaddr;
        if (low < program_low)
            program_low = low;
        if (low + p->p_memsz > program_high)
            program_high = low + p->p_memsz;
    }
    return 1; /* the executable comes first: stop there */
}

static void find_program(void)
{
    dl_iterate_phdr(note_program, NULL);
}

/* Held only for the game's frame loop: its own code, on its main thread. */
static int from_game(const void* caller)
{
    static __thread int on_main_thread = -1;
    if (on_main_thread < 0)
        on_main_thread = gettid() == getpid();
    if (!on_main_thread)
        return 0;
    pthread_once(&program_found, find_program);
    return (uintptr_t)caller >= program_low && (uintptr_t)caller < program_high;
}

static int real_clock(clockid_t id, struct timespec* t)
{
    REAL(clock_gettime);
    return real_clock_gettime(id, t);
}

double vpad_clock_real_seconds(void)
{
    struct timespec t;
    real_clock(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

void vpad_clock_hold(long seed)
{
    struct timespec t;
    real_clock(CLOCK_MONOTONIC, &t);
    /* A whole second, so the nanosecond parts (and so the game's float
     * rounding of frame times) are the same in every run. */
    monotonic_origin = (long long)t.tv_sec * NANOS;
    wall_origin = (long long)seed * NANOS;
    frames = 0;
    held = 1;
}

int vpad_clock_held(void)
{
    return held;
}

void vpad_clock_tick(void)
{
    frames++;
}

static long long held_elapsed(void)
{
    return frames * NANOS / VPAD_HELD_HZ;
}

static struct timespec timespec_of(long long nanos)
{
    struct timespec t = {(time_t)(nanos / NANOS), (long)(nanos % NANOS)};
    return t;
}

double vpad_clock_game_seconds(void)
{
    if (!held)
        return vpad_clock_real_seconds();
    return (monotonic_origin + held_elapsed()) * 1e-9;
}

/* The held answer for a clock, or 0 when that clock is not held. */
static int held_clock(clockid_t id, struct timespec* t)
{
    switch (id) {
    case CLOCK_MONOTONIC:
    case CLOCK_MONOTONIC_RAW:
    case CLOCK_MONOTONIC_COARSE:
    case CLOCK_BOOTTIME:
        *t = timespec_of(monotonic_origin + held_elapsed());
        return 1;
    case CLOCK_REALTIME:
    case CLOCK_REALTIME_COARSE:
        *t = timespec_of(wall_origin + held_elapsed());
        return 1;
    default:
        return 0;
    }
}

/* Everything else in the library stays out of the game's symbol space. */
#define EXPORT __attribute__((visibility("default")))

EXPORT int clock_gettime(clockid_t id, struct timespec* t)
{
    if (held && from_game(__builtin_return_address(0)) && held_clock(id, t))
        return 0;
    return real_clock(id, t);
}

EXPORT time_t time(time_t* out)
{
    REAL(time);
    if (!held || !from_game(__builtin_return_address(0)))
        return real_time(out);
    time_t now = (time_t)((wall_origin + held_elapsed()) / NANOS);
    if (out != NULL)
        *out = now;
    return now;
}
