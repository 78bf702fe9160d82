/* What programs for an older C library than the cross toolchain's would
 * otherwise ask of the newer one (cmake/OldGlibc.cmake routes these names here
 * with --wrap): the old version, OLD_GLIBC (e.g. "GLIBC_2.4"), where the old
 * library has the function, our own where it has none. */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <setjmp.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/select.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "old_version.h"

/* Fortified longjmp (from the static libpng) without the check the old library lacks. */
OLD_VERSION(void, longjmp, (struct __jmp_buf_tag * env, int value), (env, value))
void __wrap___longjmp_chk(struct __jmp_buf_tag* env, int value)
{
    old_longjmp(env, value);
}

/* FD_SET's bounds check under _FORTIFY_SOURCE (GLIBC_2.15): the descriptor's
 * word in the set, or the end of the program if it lies outside the set. */
long int __wrap___fdelt_chk(long int fd)
{
    if (fd < 0 || fd >= FD_SETSIZE)
        abort();
    return fd / __NFDBITS;
}

/* The old library has stat and its kin only as inline calls of these, with
 * the structure's layout version (3 on 32-bit ARM, 0 on aarch64). */
#ifdef __aarch64__
#define OLD_STAT_VERSION 0
#else
#define OLD_STAT_VERSION 3
#endif
OLD_VERSION(int, __xstat, (int version, const char* path, struct stat* info), (version, path, info))
OLD_VERSION(int, __lxstat, (int version, const char* path, struct stat* info), (version, path, info))
OLD_VERSION(int, __fxstat, (int version, int fd, struct stat* info), (version, fd, info))
int __wrap_stat(const char* path, struct stat* info)
{
    return old___xstat(OLD_STAT_VERSION, path, info);
}
int __wrap_lstat(const char* path, struct stat* info)
{
    return old___lxstat(OLD_STAT_VERSION, path, info);
}
int __wrap_fstat(int fd, struct stat* info)
{
    return old___fxstat(OLD_STAT_VERSION, fd, info);
}
OLD_VERSION(int, __fxstat64, (int version, int fd, struct stat64* info), (version, fd, info))
int __wrap_fstat64(int fd, struct stat64* info)
{
    return old___fxstat64(OLD_STAT_VERSION, fd, info);
}

/* Maths functions the new library versioned again when it dropped their
 * error-handling wrappers; the old versions give the same values. */
OLD_VERSION(double, exp, (double x), (x))
OLD_VERSION(double, exp2, (double x), (x))
OLD_VERSION(double, log, (double x), (x))
OLD_VERSION(double, log2, (double x), (x))
OLD_VERSION(double, pow, (double x, double y), (x, y))
OLD_VERSION(float, expf, (float x), (x))
OLD_VERSION(float, exp2f, (float x), (x))
OLD_VERSION(float, logf, (float x), (x))
OLD_VERSION(float, log2f, (float x), (x))
OLD_VERSION(float, powf, (float x, float y), (x, y))

/* 32-bit ARM's fcntl was versioned again (GLIBC_2.28) with the large-file
 * variant; for a program built without large-file offsets the old one does the
 * same. Its third argument, when there is one, is an integer or a pointer. */
int old_fcntl(int fd, int command, ...);
__asm__(".symver old_fcntl,fcntl@" OLD_GLIBC);
int __wrap_fcntl(int fd, int command, ...)
{
    va_list args;
    va_start(args, command);
    void* argument = va_arg(args, void*);
    va_end(args);
    return old_fcntl(fd, command, argument);
}

/* The old sscanf differs from the C99 one only in reading "%a" as an allocating
 * conversion, which nothing here uses. */
int old_vsscanf(const char* text, const char* format, va_list args);
__asm__(".symver old_vsscanf,vsscanf@" OLD_GLIBC);

int __wrap___isoc99_sscanf(const char* text, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int matched = old_vsscanf(text, format, args);
    va_end(args);
    return matched;
}

/* Never single-threaded, as far as libstdc++ can tell: its reference counts then
 * always take the atomic path, which is right whatever threads exist. */
char __wrap___libc_single_threaded = 0;

/* The handheld's kernel predates getrandom(2), and the old library has no
 * getentropy: read the kernel's pool. */
int __wrap_getentropy(void* buffer, size_t length)
{
    if (length > 256) {
        errno = EIO;
        return -1;
    }
    int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    size_t got = 0;
    while (got < length) {
        ssize_t n = read(fd, (char*)buffer + got, length - got);
        if (n > 0) {
            got += (size_t)n;
        } else if (n == 0 || errno != EINTR) {
            int saved = n == 0 ? EIO : errno;
            close(fd);
            errno = saved;
            return -1;
        }
    }
    close(fd);
    return 0;
}

uint32_t __wrap_arc4random(void)
{
    uint32_t value;
    if (__wrap_getentropy(&value, sizeof value) != 0)
        abort(); /* arc4random cannot fail: there is no safe value to return */
    return value;
}
