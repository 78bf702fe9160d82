#pragma once

#include <ctime>

// The frame loop's clock and its pace. Readings only ever move forward:
// setting the system time must not freeze or jump the game.
void readFrameClock(timespec* now);
// The short rest at the end of every frame, whatever the frame took.
void restAfterFrame();
