#include "controller_support.h"

// The record of keys going down, kept the same way by every backend.

namespace {

// Presses waiting to be typed, oldest first. A tap that goes down and up between
// two drains leaves its key at 0 in keys, but its press is still here.
const int maxKeyPresses = 64;
int keyPresses[maxKeyPresses];
int keyPressCount = 0;

}  // namespace

void recordKeyPress(int code)
{
    // When the player outtypes the frames by 64 keys, the newest are dropped.
    if (keyPressCount < maxKeyPresses)
        keyPresses[keyPressCount++] = code;
}

int takeKeyPress()
{
    if (keyPressCount == 0)
        return 0;
    const int code = keyPresses[0];
    keyPressCount--;
    for (int i = 0; i < keyPressCount; i++)
        keyPresses[i] = keyPresses[i + 1];
    return code;
}

void forgetKeyPresses()
{
    keyPressCount = 0;
}
