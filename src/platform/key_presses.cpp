#include <cstring>

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

int keyCodeForName(const char* name)
{
    // The handheld keyboard's rows, as its X server numbers them.
    static const char* const rows[] = {"1234567890", "qwertyuiop", "asdfghjkl", "zxcvbnm"};
    static const int firstCodes[] = {10, 24, 38, 52};
    static const struct {
        const char* name;
        int code;
    } named[] = {{"Escape", 9}, {"BackSpace", 22}, {"Return", 36}, {"space", 65}};

    if (name[0] != '\0' && name[1] == '\0') {
        for (int r = 0; r < 4; r++) {
            const char* place = strchr(rows[r], name[0]);
            if (place != nullptr)
                return firstCodes[r] + (int)(place - rows[r]);
        }
        return 0;
    }
    for (const auto& key : named)
        if (strcmp(name, key.name) == 0)
            return key.code;
    return 0;
}
