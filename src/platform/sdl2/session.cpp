#include "session.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "sdl2_backend.h"

namespace {

long frameRate = 0;  // --frame-rate: a held clock's simulated display

// A whole number of frames a second a display may have.
bool parseFrameRate(const char* text, long* rate)
{
    char* end = nullptr;
    const long value = strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 1 || value > 10000)
        return false;
    *rate = value;
    return true;
}

}  // namespace

bool startSession(int argc, char** argv)
{
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--frame-rate") != 0)
            continue;
        if (i + 1 >= argc || !parseFrameRate(argv[i + 1], &frameRate)) {
            fprintf(stderr, "--frame-rate wants a number of frames a second, 1 to 10000\n");
            return false;
        }
        i++;
    }
    return true;
}

unsigned randomSeed()
{
    return (unsigned)time(nullptr);
}

int heldFrameRate()
{
    return 0;
}
