/* Stands in for the game under vpad: finds the devices the way the game does,
 * drains them once per frame the way the game does, and prints what it saw.
 *
 *   vpad_probe search               every event node the search opens, then where it stops
 *   vpad_probe frames N [LAZY]      N frames of catch-up and usleep(5000); no reads before
 *                                   frame LAZY; one line per event: FRAME DEVICE TYPE CODE VALUE SECONDS
 *   vpad_probe passthrough FILE     calls vpad must leave alone, and what they gave
 *   vpad_probe clock N              the clocks over N frames, as the main thread and another see them */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <linux/input.h>
#include <pthread.h>
#include <semaphore.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/select.h>
#include <time.h>
#include <unistd.h>

static const char* const names[3] = {"gpio-keys", "nub0", "nub1"};

static double now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

static int open_node(int id)
{
    char path[64];
    snprintf(path, sizeof path, "/dev/input/event%i", id);
    return open(path, O_RDONLY | O_NONBLOCK);
}

/* The game's search: nodes in order until one fails to open, matched by name. */
static int open_by_name(const char* wanted)
{
    char name[256];
    memset(name, 0, sizeof name);
    for (int id = 0;; id++) {
        int fd = open_node(id);
        if (fd < 0)
            return -1;
        if (ioctl(fd, EVIOCGNAME(sizeof name), name) >= 0 && strcmp(name, wanted) == 0)
            return fd;
        close(fd);
    }
}

static int search(void)
{
    char name[256];
    for (int id = 0;; id++) {
        int fd = open_node(id);
        if (fd < 0) {
            printf("event%d missing %s\n", id, strerrorname_np(errno));
            return 0;
        }
        memset(name, 0, sizeof name);
        int got = ioctl(fd, EVIOCGNAME(sizeof name), name);
        printf("event%d %s %d\n", id, name, got);
        close(fd);
    }
}

/* The game's catch-up: one zero-timeout select, at most 1024 bytes per device. */
static void catch_up(const int fds[3], long frame, double start)
{
    fd_set readable;
    int top = -1;
    struct timeval zero = {0, 0};
    FD_ZERO(&readable);
    for (int d = 0; d < 3; d++) {
        FD_SET(fds[d], &readable);
        if (fds[d] > top)
            top = fds[d];
    }
    if (select(top + 1, &readable, NULL, NULL, &zero) <= 0)
        return;
    for (int d = 0; d < 3; d++) {
        struct input_event events[1024 / sizeof(struct input_event)];
        char bytes[1024];
        if (!FD_ISSET(fds[d], &readable))
            continue;
        ssize_t got = read(fds[d], bytes, sizeof bytes);
        if (got <= 0)
            continue;
        if (got % sizeof events[0] != 0)
            printf("%ld %s partial %zd\n", frame, names[d], got);
        memcpy(events, bytes, got - got % sizeof events[0]);
        for (size_t i = 0; i < got / sizeof events[0]; i++)
            printf("%ld %s %d %d %d %.3f\n", frame, names[d], events[i].type, events[i].code, events[i].value,
                   now() - start);
    }
}

static int frames(long count, long lazy)
{
    int fds[3];
    /* The game's own order: both nubs, then the buttons. */
    fds[1] = open_by_name(names[1]);
    fds[2] = open_by_name(names[2]);
    fds[0] = open_by_name(names[0]);
    for (int d = 0; d < 3; d++)
        if (fds[d] < 0) {
            printf("no %s\n", names[d]);
            return 1;
        }
    printf("ready\n");
    double start = now();
    for (long frame = 0; frame <= count; frame++) {
        if (frame >= lazy)
            catch_up(fds, frame, start);
        if (frame < count)
            usleep(5000);
    }
    printf("elapsed %.3f\n", now() - start);
    return 0;
}

static void* short_sleep(void* ms)
{
    double start = now();
    usleep(1000);
    *(double*)ms = (now() - start) * 1000;
    return NULL;
}

static void print_file(const char* how, int fd)
{
    char text[64] = "";
    ssize_t got = fd >= 0 ? read(fd, text, sizeof text - 1) : -1;
    printf("%s %s\n", how, got > 0 ? strtok(text, "\n") : "failed");
}

static int passthrough(const char* file)
{
    int fd = open(file, O_RDONLY);
    int size = -1;
    char name[256];
    int got = ioctl(fd, FIONREAD, &size);
    printf("fionread %d %d\n", got, size);
    got = ioctl(fd, EVIOCGNAME(sizeof name), name);
    printf("evgname %d %s\n", got, strerrorname_np(errno));
    print_file("open", fd);
    close(fd);
    print_file("openat", openat(AT_FDCWD, file, O_RDONLY));

    /* A descriptor number that was a pad device and now is a file is the file's. */
    int device = open_node(1);
    close(device);
    int reused = open(file, O_RDONLY);
    got = ioctl(reused, EVIOCGNAME(sizeof name), name);
    printf("reused %d evgname %d %s\n", reused == device, got, strerrorname_np(errno));
    print_file("after-device", reused);

    double thread_ms = 0;
    pthread_t thread;
    pthread_create(&thread, NULL, short_sleep, &thread_ms);
    pthread_join(thread, NULL);
    double start = now();
    usleep(30000);
    printf("sleep_ms %.1f thread_sleep_ms %.1f\n", (now() - start) * 1000, thread_ms);
    return 0;
}

static long long nanos(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

static sem_t frames_done;

static void* watch_clock(void* seconds)
{
    double start = now();
    sem_wait(&frames_done);
    *(double*)seconds = now() - start;
    return NULL;
}

/* The game's frame loop reads the clock and time() each frame. */
static int clock_frames(long count)
{
    double thread_seconds = 0;
    pthread_t thread;
    sem_init(&frames_done, 0, 0);
    pthread_create(&thread, NULL, watch_clock, &thread_seconds);
    printf("start_time %lld\n", (long long)time(NULL));
    long long first = nanos(), last = first, shortest = -1, longest = -1;
    for (long frame = 0; frame < count; frame++) {
        usleep(5000);
        long long t = nanos();
        if (shortest < 0 || t - last < shortest)
            shortest = t - last;
        if (t - last > longest)
            longest = t - last;
        last = t;
    }
    sem_post(&frames_done);
    pthread_join(thread, NULL);
    printf("frame_ns %lld %lld\nelapsed_ns %lld\nend_time %lld\nthread_seconds %.3f\n", shortest, longest, last - first,
           (long long)time(NULL), thread_seconds);
    return 0;
}

int main(int argc, char** argv)
{
    setvbuf(stdout, NULL, _IOLBF, 0);
    if (argc == 2 && strcmp(argv[1], "search") == 0)
        return search();
    if (argc >= 3 && argc <= 4 && strcmp(argv[1], "frames") == 0)
        return frames(atol(argv[2]), argc == 4 ? atol(argv[3]) : 0);
    if (argc == 3 && strcmp(argv[1], "passthrough") == 0)
        return passthrough(argv[2]);
    if (argc == 3 && strcmp(argv[1], "clock") == 0)
        return clock_frames(atol(argv[2]));
    fprintf(stderr, "usage: vpad_probe search | frames N [LAZY] | passthrough FILE | clock N\n");
    return 2;
}
