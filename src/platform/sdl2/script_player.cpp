#include "script_player.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "controller_support.h"
#include "pad_script.h"

// The program's scripts run in its own steps: no preload, no child process.
// Only what a line asks beyond the pad is the caller's to do, reported in the
// step it happens in.

namespace {

// The simulation's fixed rate: a script's seconds are whole steps of it.
const int stepsPerSecond = 60;

struct PathOption {
    const char* name;
    const char* ScriptOptions::*field;
};

const PathOption pathOptions[] = {{"--script", &ScriptOptions::scriptFile},
                                  {"--record", &ScriptOptions::recordFile},
                                  {"--frame-file", &ScriptOptions::frameFile}};

bool parseSeed(const char* text, long* seed)
{
    char* end;
    errno = 0;
    const long value = strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < 0 || value > PAD_SEED_MAX) {
        fprintf(stderr, "--seed must be a whole number from 0 to %ld, not \"%s\"\n", PAD_SEED_MAX, text);
        return false;
    }
    *seed = value;
    return true;
}

// Sets the option named by `name` from `value`; false, said, when malformed.
bool setOption(const char* name, const char* value, ScriptOptions* options)
{
    if (strcmp(name, "--seed") == 0) {
        if (options->seed >= 0) {
            fprintf(stderr, "--seed is given twice\n");
            return false;
        }
        return parseSeed(value, &options->seed);
    }
    for (const auto& option : pathOptions) {
        if (strcmp(name, option.name) != 0)
            continue;
        // Two scripts or two recordings cannot both be meant.
        if (options->*option.field != nullptr || *value == '\0') {
            fprintf(stderr, "%s takes one file name\n", name);
            return false;
        }
        options->*option.field = value;
    }
    return true;
}

bool isScriptOption(const char* argument)
{
    for (const auto& option : pathOptions)
        if (strcmp(argument, option.name) == 0)
            return true;
    return strcmp(argument, "--seed") == 0;
}

}  // namespace

bool parseScriptOptions(int argc, char** argv, ScriptOptions* options)
{
    for (int i = 1; i < argc; i++) {
        if (!isScriptOption(argv[i]))
            continue;
        if (i + 1 == argc) {
            fprintf(stderr, "%s needs a value\n", argv[i]);
            return false;
        }
        if (!setOption(argv[i], argv[i + 1], options))
            return false;
        i++;
    }
    return true;
}

namespace {

struct PlayerState {
    pad_script* script = nullptr;
    pad_recorder* recorder = nullptr;
    pad_script_hooks hooks = {};
    pad_state pad = {};
    long seed = 0;
    bool held = false;
    int frameFile = -1;
    bool frameFileFailed = false;
    ScriptStep* step = nullptr;  // what play() is filling
};

PlayerState* of(void* context)
{
    return static_cast<PlayerState*>(context);
}

void warn(void*, const char* message)
{
    fprintf(stderr, "%s\n", message);
}

int keyCode(void*, const char* name)
{
    const int code = keyCodeForName(name);
    if (code == 0)
        fprintf(stderr, "no key %s on the handheld's keyboard\n", name);
    return code;
}

void typeKey(void* context, int code, int down)
{
    (down ? of(context)->step->keysDown : of(context)->step->keysUp).push_back(code);
}

void snap(void* context, const char* file, long)
{
    of(context)->step->snaps.push_back(file);
}

void quit(void* context)
{
    of(context)->step->quit = true;
}

void gamepad(void* context, const pad_gamepad_line* line)
{
    static const GamepadAction::Kind kinds[] = {GamepadAction::ATTACH, GamepadAction::DETACH, GamepadAction::PRESS,
                                                GamepadAction::RELEASE, GamepadAction::AXIS};
    GamepadAction action;
    action.kind = kinds[line->op];
    action.sticks = line->sticks;
    action.name = line->name;
    action.value = line->value;
    of(context)->step->gamepad.push_back(action);
}

// The count only grows, so each write covers the one before it.
void writeFrameCount(PlayerState* s, long step)
{
    char line[32];
    const int length = snprintf(line, sizeof line, "%ld\n", step);
    if (pwrite(s->frameFile, line, length, 0) == length || s->frameFileFailed)
        return;
    s->frameFileFailed = true;
    fprintf(stderr, "step %ld: the frame count could not be written: %s\n", step, strerror(errno));
}

bool openFrameFile(PlayerState* s, const char* path)
{
    s->frameFile = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (s->frameFile < 0)
        fprintf(stderr, "cannot write the frame count into %s: %s\n", path, strerror(errno));
    return s->frameFile >= 0;
}

bool openRecording(PlayerState* s, const char* path, long seed)
{
    char header[4096];
    snprintf(header, sizeof header, "recorded in play; replay with --script %s", path);
    s->recorder = pad_record_open(path, seed, header, &s->hooks);
    return s->recorder != nullptr;
}

}  // namespace

struct ScriptPlayer::State : PlayerState {};

ScriptPlayer::ScriptPlayer() : state(new State)
{
    state->hooks = {static_cast<PlayerState*>(state), warn, keyCode, typeKey, snap, quit, gamepad};
}

ScriptPlayer::~ScriptPlayer()
{
    pad_script_free(state->script);
    pad_record_close(state->recorder);
    if (state->frameFile >= 0)
        close(state->frameFile);
    delete state;
}

bool ScriptPlayer::start(const ScriptOptions& options)
{
    if (options.scriptFile != nullptr) {
        state->script = pad_script_load(options.scriptFile, &state->hooks);
        if (state->script == nullptr)
            return false;
    }
    // A seed given, or the script's, holds the clock. A recording is always held,
    // so that its seed replays it: without a seed it takes the time, as the game would.
    long seed = options.seed;
    if (seed < 0 && state->script != nullptr)
        seed = pad_script_seed(state->script);
    state->held = seed >= 0 || options.recordFile != nullptr;
    state->seed = seed >= 0 ? seed : (long)time(nullptr);
    if (options.recordFile != nullptr && !openRecording(state, options.recordFile, state->seed))
        return false;
    return options.frameFile == nullptr || openFrameFile(state, options.frameFile);
}

bool ScriptPlayer::scripted() const
{
    return state->script != nullptr;
}

bool ScriptPlayer::clockHeld() const
{
    return state->held;
}

long ScriptPlayer::seed() const
{
    return state->seed;
}

void ScriptPlayer::play(long step, ScriptStep* out)
{
    *out = ScriptStep();
    if (state->frameFile >= 0)
        writeFrameCount(state, step);
    if (state->script == nullptr)
        return;
    state->step = out;
    pad_script_step(state->script, step, (double)(step - 1) / stepsPerSecond, &state->pad);
    state->step = nullptr;
    out->buttons = state->pad.buttons;
    memcpy(out->nub, state->pad.nub, sizeof out->nub);
}

void ScriptPlayer::record(long step, unsigned buttons, const int nub[2][2])
{
    if (state->recorder == nullptr)
        return;
    pad_state now = {buttons, {{nub[0][0], nub[0][1]}, {nub[1][0], nub[1][1]}}};
    pad_record_frame(state->recorder, step, &now);
}
