// Arbitrary bytes as a pad script: a script that loads plays its first ten
// seconds without fault, holds only the pad's twelve buttons, and the
// recording of what it did loads again and replays the same states.
#include <cstdint>
#include <vector>

#include "fuzz_folder.h"
#include "pad_script.h"

namespace {

const long playedFrames = 600;

void quiet(void*, const char*) {}
int anyKey(void*, const char*)
{
    return 38;
}
void noKey(void*, int, int) {}
void noSnap(void*, const char*, long) {}
void noQuit(void*) {}
void noGamepad(void*, const pad_gamepad_line*) {}

const pad_script_hooks hooks = {nullptr, quiet, anyKey, noKey, noSnap, noQuit, noGamepad};

// The states a script sets in each of its first frames, at the held 60 a second.
std::vector<pad_state> play(pad_script* script)
{
    std::vector<pad_state> states;
    pad_state state = {};
    for (long frame = 1; frame <= playedFrames; frame++) {
        pad_script_step(script, frame, (double)(frame - 1) / 60.0, &state);
        states.push_back(state);
    }
    return states;
}

bool same(const pad_state& a, const pad_state& b)
{
    return a.buttons == b.buttons && a.nub[0][0] == b.nub[0][0] && a.nub[0][1] == b.nub[0][1] &&
           a.nub[1][0] == b.nub[1][0] && a.nub[1][1] == b.nub[1][1];
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    enterPrivateFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    writeBytes("script.vpad", data, size);
    pad_script* script = pad_script_load("script.vpad", &hooks);
    if (script == nullptr)
        return 0;
    const long seed = pad_script_seed(script);
    const std::vector<pad_state> played = play(script);
    pad_script_free(script);

    pad_recorder* recorder = pad_record_open("recorded.vpad", seed < 0 ? 0 : seed, "fuzz", &hooks);
    FUZZ_CHECK(recorder != nullptr);
    for (long frame = 1; frame <= playedFrames; frame++) {
        FUZZ_CHECK(played[frame - 1].buttons < (1u << PAD_BUTTONS));
        pad_record_frame(recorder, frame, &played[frame - 1]);
    }
    pad_record_close(recorder);

    pad_script* replay = pad_script_load("recorded.vpad", &hooks);
    FUZZ_CHECK(replay != nullptr);
    const std::vector<pad_state> replayed = play(replay);
    pad_script_free(replay);
    for (long frame = 0; frame < playedFrames; frame++)
        FUZZ_CHECK(same(played[frame], replayed[frame]));
    return 0;
}
