#include "frame_clock.h"

#include "fixed_step.h"
#include "sdl2_backend.h"

// The rules step 60 times a second of the game's clock, whatever the
// display's rate: a 30 Hz display runs two steps a frame, a 144 Hz one a step
// in some frames only. A held clock advances 1/rate s a drawn frame exactly,
// counted in 1/(60 rate) s, so a script replays the same steps at any rate.

namespace {

constexpr int stepsPerSecond = 60;
// Beyond this a frame's time is dropped: a stall must not fast-forward the game.
constexpr int mostStepsAFrame = 4;

FixedStep realSteps(1, mostStepsAFrame);
FixedStep heldSteps(1, mostStepsAFrame);
Uint64 lastReading = 0;

}  // namespace

void startFrameClock()
{
    realSteps = FixedStep((long long)(SDL_GetPerformanceFrequency() / stepsPerSecond), mostStepsAFrame);
    heldSteps = FixedStep(heldFrameRate() > 0 ? heldFrameRate() : 1, mostStepsAFrame);
    lastReading = SDL_GetPerformanceCounter();
}

FrameSteps frameSteps()
{
    int count;
    if (heldFrameRate() > 0) {
        count = heldSteps.advance(stepsPerSecond);
    } else {
        const Uint64 now = SDL_GetPerformanceCounter();
        count = realSteps.advance((long long)(now - lastReading));
        lastReading = now;
    }
    return FrameSteps{count, 1.0 / stepsPerSecond};
}

void postponeSteps(int count)
{
    (heldFrameRate() > 0 ? heldSteps : realSteps).postpone(count);
}

// Without vsync nothing else paces the frames: wait for the next step rather
// than draw the same picture again. A held clock runs as fast as it can.
void restAfterFrame()
{
    if (heldFrameRate() > 0 || presentsAtDisplayPace())
        return;
    const long long ticks = realSteps.ticksToNextStep();
    // Steps already due (postponed by a screenshot) run without a rest.
    if (ticks <= 0)
        return;
    const long long ms = ticks * 1000 / (long long)SDL_GetPerformanceFrequency();
    SDL_Delay(ms > 0 ? (Uint32)ms : 1);
}
