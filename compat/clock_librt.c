/* clock_gettime moved into libc at GLIBC_2.17; an older library has it in
 * librt only (cmake/Handheld.cmake names librt). */
#define _GNU_SOURCE
#include <time.h>

#include "old_version.h"

OLD_VERSION(int, clock_gettime, (clockid_t clock, struct timespec* now), (clock, now))
