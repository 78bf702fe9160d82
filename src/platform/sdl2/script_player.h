#pragma once

// The SDL 2 edition's scripts, replays and seeds, played inside the program:
// the script language of the handheld's test pad (tools/vpad), read from
// --script FILE; --record FILE writes what the pad did as such a script;
// --seed N (or a script's seed line, or a recording) holds the clock, so a
// seeded script replays the same game at any display rate.

#include <string>
#include <vector>

struct ScriptOptions {
    const char* scriptFile = nullptr;
    const char* recordFile = nullptr;
    long seed = -1;                   // -1: none given
    const char* frameFile = nullptr;  // --frame-file FILE: the count of steps so far, rewritten every step
};

// Reads --script FILE, --record FILE, --seed N and --frame-file FILE from the command line and
// leaves every other argument alone; false, with a line on standard error,
// for a malformed one.
bool parseScriptOptions(int argc, char** argv, ScriptOptions* options);

// A game pad the script plugs in (SDL's virtual joystick, so the game reads it
// through the game-controller API like any other): script lines
// "gamepad attach [STICKS]", "gamepad detach", "gamepad press NAME",
// "gamepad release NAME" and "gamepad axis NAME VALUE", with SDL's game
// controller button and axis names ("a", "dpup", "start", "leftx", "righty").
struct GamepadAction {
    enum Kind { ATTACH, DETACH, PRESS, RELEASE, AXIS };
    Kind kind = ATTACH;
    int sticks = 2;    // ATTACH: the analogue sticks the pad has, 0 to 2
    std::string name;  // PRESS, RELEASE: a button; AXIS: an axis
    int value = 0;     // AXIS: -32768 to 32767
};

// What one simulation step gets from the script.
struct ScriptStep {
    unsigned buttons = 0;                // bit i held: up down left right a b x y l r start select
    int nub[2][2] = {};                  // left and right nub: x, y; full deflection about 256, negative y up
    std::vector<int> keysDown;           // keys going down this step, in the handheld's key codes, in order
    std::vector<int> keysUp;             // keys let go this step
    std::vector<GamepadAction> gamepad;  // in order
    std::vector<std::string> snaps;      // screenshots of the whole window as drawn after this step
    bool quit = false;                   // end as "Quit" does, saving as it does
};

class ScriptPlayer {
public:
    ScriptPlayer();
    ~ScriptPlayer();
    ScriptPlayer(const ScriptPlayer&) = delete;
    ScriptPlayer& operator=(const ScriptPlayer&) = delete;

    // Loads the script and opens the recording: false, the reason on standard
    // error, when either fails.
    bool start(const ScriptOptions& options);
    // A script drives the pad.
    bool scripted() const;
    // Every step lasts 1/60 s and the game's time starts at the seed.
    bool clockHeld() const;
    // What the game seeds its random numbers with: the held seed, else the
    // time at start.
    long seed() const;
    // Runs the script's lines up to simulation step `step` (counted from 1;
    // seconds count from step 1, 1/60 s a step). Call it every step, scripted
    // or not: it also writes the step into the frame file.
    void play(long step, ScriptStep* out);
    // Writes the pad's state as the game read it at simulation step `step`.
    void record(long step, unsigned buttons, const int nub[2][2]);

private:
    struct State;
    State* state;
};
