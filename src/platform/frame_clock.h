#pragma once

// The frame loop's clock and its pace. Readings only ever move forward:
// setting the system time must not freeze or jump the game.

// How many steps of the rules the coming frame runs before it is drawn, and
// the time each step stands for.
struct FrameSteps {
    int count;
    double dT;
};

// The clock starts as the first frame does.
void startFrameClock();
FrameSteps frameSteps();
// Steps the coming frame did not run (it drew early for a screenshot) are
// owed to the next one.
void postponeSteps(int count);
// The short rest at the end of every frame, whatever the frame took.
void restAfterFrame();
