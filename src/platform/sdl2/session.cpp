#include "session.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sdl2_backend.h"

// A run of the SDL 2 edition: live play, or a script, a recording or a seed
// played inside the program, one script step to each step of the rules.

namespace {

ScriptPlayer player;
long step = 0;          // steps of the rules so far
long displayRate = 60;  // --frame-rate: the display a held clock simulates

// --frame-rate HZ, a whole number of frames a second; every other argument is
// someone else's.
bool readFrameRate(int argc, char** argv)
{
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--frame-rate") != 0)
            continue;
        char* end = nullptr;
        const long rate = i + 1 < argc ? strtol(argv[i + 1], &end, 10) : 0;
        if (end == nullptr || end == argv[i + 1] || *end != '\0' || rate < 1 || rate > 10000) {
            fprintf(stderr, "--frame-rate wants a number of frames a second, 1 to 10000\n");
            return false;
        }
        displayRate = rate;
        i++;
    }
    return true;
}

}  // namespace

bool startSession(int argc, char** argv)
{
    ScriptOptions options;
    return parseScriptOptions(argc, argv, &options) && readFrameRate(argc, argv) && player.start(options);
}

unsigned randomSeed()
{
    return (unsigned)player.seed();
}

// A seeded script runs on the held clock, as fast as frames can be drawn.
// Live play, even recorded or seeded, keeps the real clock's pace: a replay
// needs only its steps (each 1/60 s of the game's time) and its seed.
int heldFrameRate()
{
    return player.scripted() && player.clockHeld() ? (int)displayRate : 0;
}

void playScriptStep(ScriptStep* out)
{
    player.play(++step, out);
}

void recordScriptStep(unsigned buttons, const int nub[2][2])
{
    player.record(step, buttons, nub);
}
