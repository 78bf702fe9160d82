/* clock_gettime without librt: before GLIBC_2.17 only librt had it, which a
 * firmware's program may not ask for; the kernel's call does the same. */
#define _GNU_SOURCE
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

int __wrap_clock_gettime(clockid_t clock, struct timespec* now);
int __wrap_clock_gettime(clockid_t clock, struct timespec* now)
{
    return (int)syscall(SYS_clock_gettime, clock, now);
}
