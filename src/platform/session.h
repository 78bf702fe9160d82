#pragma once

// What a run of the program is asked for beyond the game itself, read before
// anything opens. The handheld takes no such options; another backend may
// (scripts, recordings, a held clock).

// false, with the reason printed, when the command line cannot be used.
bool startSession(int argc, char** argv);
// What the game seeds its random numbers with: the time at start, unless the
// run replays a game.
unsigned randomSeed();
