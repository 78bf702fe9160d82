#include "frame_clock.h"

#include <time.h>
#include <unistd.h>

// The test pad (vpad) holds this clock and stretches this rest to pace
// scripted runs: both stay the plain C library calls.

namespace {

timespec frameStart;

// Seconds from start to end; the sub-second part carries single precision.
double diff(timespec start, timespec end)
{
    long seconds = end.tv_sec - start.tv_sec;
    long nanoseconds = end.tv_nsec - start.tv_nsec;
    if (nanoseconds < 0) {
        seconds -= 1;
        nanoseconds += 1000000000;
    }
    return (double)seconds + (double)((float)nanoseconds * 1e-9f);
}

}  // namespace

void startFrameClock()
{
    clock_gettime(CLOCK_MONOTONIC, &frameStart);
}

// One step a frame, as long as the frame took: the handheld's screen sets the pace.
FrameSteps frameSteps()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const double dT = diff(frameStart, now);
    clock_gettime(CLOCK_MONOTONIC, &frameStart);
    return FrameSteps{1, dT};
}

// Never called: a frame here runs its one step.
void postponeSteps(int) {}

void restAfterFrame()
{
    usleep(5000);
}
