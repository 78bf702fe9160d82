#include "frame_clock.h"

#include <unistd.h>

// The test pad (vpad) holds this clock and stretches this rest to pace
// scripted runs: both stay the plain C library calls.

void readFrameClock(timespec* now)
{
    clock_gettime(CLOCK_MONOTONIC, now);
}

void restAfterFrame()
{
    usleep(5000);
}
