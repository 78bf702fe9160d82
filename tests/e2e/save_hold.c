/* A test's hold on the game's saves, preloaded into the unchanged program, so
 * two programs can be made to save at the same moment without racing a clock.
 *
 * With SAVE_HOLD=PREFIX: before taking a save's lock the program creates
 * PREFIX.locking; before renaming a finished temporary over highScores.txt it
 * creates PREFIX.held and waits until the test creates PREFIX.release. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <unistd.h>

static const char* prefix(void)
{
    const char* given = getenv("SAVE_HOLD");
    return given != NULL && *given != '\0' ? given : NULL;
}

static void marker(const char* suffix, char* path, size_t size)
{
    snprintf(path, size, "%s.%s", prefix(), suffix);
}

static void create(const char* suffix)
{
    char path[4096];
    marker(suffix, path, sizeof path);
    int fd = open(path, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0)
        close(fd);
}

static void await_release(void)
{
    char path[4096];
    marker("release", path, sizeof path);
    while (access(path, F_OK) != 0)
        poll(NULL, 0, 20); /* not usleep: that is the game's frame to the pad */
}

static int is_table(const char* path)
{
    const char* slash = strrchr(path, '/');
    return strcmp(slash != NULL ? slash + 1 : path, "highScores.txt") == 0;
}

int rename(const char* from, const char* to)
{
    static int (*real)(const char*, const char*);
    if (real == NULL)
        real = (int (*)(const char*, const char*))dlsym(RTLD_NEXT, "rename");
    if (prefix() != NULL && is_table(to)) {
        create("held");
        await_release();
    }
    return real(from, to);
}

int flock(int fd, int operation)
{
    static int (*real)(int, int);
    if (real == NULL)
        real = (int (*)(int, int))dlsym(RTLD_NEXT, "flock");
    if (prefix() != NULL && (operation & LOCK_EX))
        create("locking");
    return real(fd, operation);
}
