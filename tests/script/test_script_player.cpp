// The SDL 2 edition's script player, played step by step without a display.
#include <gtest/gtest.h>

#include <array>
#include <ctime>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "script_player.h"
#include "temp_folder.h"

namespace {

enum { UP, DOWN, LEFT, RIGHT, A, B, X, Y, L, R, START, SELECT };

unsigned bit(int button)
{
    return 1u << button;
}

class ScriptPlayerTest : public ::testing::Test {
protected:
    TempFolder folder{"script-player-"};

    std::string file(const std::string& name, const std::string& text)
    {
        std::string path = folder.path() + "/" + name;
        std::ofstream(path) << text;
        return path;
    }

    static std::string slurp(const std::string& path)
    {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Starts a player on a script; the steps it gives, 1 to `steps`.
    std::vector<ScriptStep> play(ScriptPlayer* player, const std::string& script, long steps)
    {
        ScriptOptions options;
        options.scriptFile = script.c_str();
        EXPECT_TRUE(player->start(options));
        std::vector<ScriptStep> played(steps + 1);
        for (long step = 1; step <= steps; step++)
            player->play(step, &played[step]);
        return played;
    }

    // What a script that cannot be used says; start must refuse it.
    std::string refusal(const std::string& script)
    {
        ScriptPlayer player;
        ScriptOptions options;
        const std::string path = file("bad.vpad", script);
        options.scriptFile = path.c_str();
        testing::internal::CaptureStderr();
        EXPECT_FALSE(player.start(options)) << script;
        return testing::internal::GetCapturedStderr();
    }
};

// The steps at which the buttons change, and to what.
std::map<long, unsigned> buttonChanges(const std::vector<ScriptStep>& steps)
{
    std::map<long, unsigned> changes;
    unsigned last = 0;
    for (size_t step = 1; step < steps.size(); step++) {
        if (steps[step].buttons != last)
            changes[(long)step] = steps[step].buttons;
        last = steps[step].buttons;
    }
    return changes;
}

TEST_F(ScriptPlayerTest, LinesRunAtTheirStepsUntilQuit)
{
    ScriptPlayer player;
    const std::string script = file("play.vpad",
                                    "# frames count from 1; seconds from the first step, 1/60 s each\n"
                                    "frame 3\npress a\ntap x 2\nnub0 10 -20\n"
                                    "at 0.5\nrelease a\nnub1 -256 0\n"
                                    "wait 0.25\nsnap one.png\nsnap two.png\ntap start\n"
                                    "frames 2\nlog done\nquit\npress b\n");
    auto steps = play(&player, script, 60);
    EXPECT_TRUE(player.scripted());
    EXPECT_FALSE(player.clockHeld());

    // tap x 2 holds for two steps; at 0.5 is step 31; wait 0.25 from there is step 46.
    EXPECT_EQ(buttonChanges(steps),
              (std::map<long, unsigned>{{3, bit(A) | bit(X)}, {5, bit(A)}, {31, 0}, {46, bit(START)}, {47, 0}}));
    EXPECT_EQ(steps[4].nub[0][1], 0);
    EXPECT_EQ(steps[5].nub[0][0], 10);
    EXPECT_EQ(steps[5].nub[0][1], -20);
    EXPECT_EQ(steps[30].nub[1][0], 0);
    EXPECT_EQ(steps[31].nub[1][0], -256);
    EXPECT_EQ(steps[60].nub[0][0], 10);  // held until a line changes it

    for (long step = 1; step <= 60; step++) {
        EXPECT_EQ(steps[step].snaps,
                  step == 46 ? (std::vector<std::string>{"one.png", "two.png"}) : std::vector<std::string>{})
            << step;
        EXPECT_EQ(steps[step].quit, step == 49) << step;  // two steps after the tap's release
    }
}

TEST_F(ScriptPlayerTest, KeysAndGamePadLinesArriveInOrder)
{
    ScriptPlayer player;
    const std::string script = file("keys.vpad",
                                    "frame 2\nkey a 3\nframe 2\nkey Return\n"
                                    "frame 10\ngamepad attach\ngamepad press dpup\ngamepad axis leftx -32768\n"
                                    "frame 11\ngamepad release dpup\ngamepad detach\ngamepad attach 1\n");
    auto steps = play(&player, script, 12);

    // The handheld's key codes: a is 38, Return 36. Each key holds its frames.
    EXPECT_EQ(steps[2].keysDown, std::vector<int>{38});
    EXPECT_EQ(steps[5].keysUp, std::vector<int>{38});
    EXPECT_EQ(steps[5].keysDown, std::vector<int>{36});
    EXPECT_EQ(steps[6].keysUp, std::vector<int>{36});
    for (long step : {1, 3, 4, 7, 8, 9, 10, 11, 12})
        EXPECT_TRUE(steps[step].keysDown.empty() && steps[step].keysUp.empty()) << step;

    ASSERT_EQ(steps[10].gamepad.size(), 3u);
    EXPECT_EQ(steps[10].gamepad[0].kind, GamepadAction::ATTACH);
    EXPECT_EQ(steps[10].gamepad[0].sticks, 2);
    EXPECT_EQ(steps[10].gamepad[1].kind, GamepadAction::PRESS);
    EXPECT_EQ(steps[10].gamepad[1].name, "dpup");
    EXPECT_EQ(steps[10].gamepad[2].kind, GamepadAction::AXIS);
    EXPECT_EQ(steps[10].gamepad[2].name, "leftx");
    EXPECT_EQ(steps[10].gamepad[2].value, -32768);
    ASSERT_EQ(steps[11].gamepad.size(), 3u);
    EXPECT_EQ(steps[11].gamepad[0].kind, GamepadAction::RELEASE);
    EXPECT_EQ(steps[11].gamepad[1].kind, GamepadAction::DETACH);
    EXPECT_EQ(steps[11].gamepad[2].kind, GamepadAction::ATTACH);
    EXPECT_EQ(steps[11].gamepad[2].sticks, 1);
    EXPECT_EQ(steps[11].gamepad[2].name, "");
    EXPECT_TRUE(steps[12].gamepad.empty());
    EXPECT_EQ(steps[12].buttons, 0u);  // a game pad is not the handheld's pad
}

TEST_F(ScriptPlayerTest, FaultyScriptsAreRefusedNamingEveryLine)
{
    std::string said = refusal(
        "frame 1\npress q\ngamepad press nosuch\ngamepad attach 3\ngamepad axis leftx 40000\nkey Z\n"
        "log fine # here\ngamepad wiggle\nseed 1\nseed 2\nwait inf\ntap a 0\n");
    for (const char* line : {":2:", ":3:", ":4:", ":5:", ":6:", ":8:", ":10:", ":11:", ":12:"})
        EXPECT_NE(said.find(line), std::string::npos) << line << "\n" << said;
    for (const char* line : {":1:", ":7:", ":9:"})
        EXPECT_EQ(said.find(line), std::string::npos) << line << "\n" << said;
    EXPECT_NE(said.find("no key Z"), std::string::npos) << said;

    // A folder given as the script names the reason.
    ScriptPlayer player;
    ScriptOptions options;
    options.scriptFile = folder.path().c_str();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(player.start(options));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Is a directory"), std::string::npos);
}

TEST_F(ScriptPlayerTest, SeedsHoldTheClock)
{
    ScriptOptions options;
    const std::string seeded = file("seeded.vpad", "seed 1234\n");
    options.scriptFile = seeded.c_str();
    ScriptPlayer fromScript;
    ASSERT_TRUE(fromScript.start(options));
    EXPECT_TRUE(fromScript.clockHeld());
    EXPECT_EQ(fromScript.seed(), 1234);

    // The command line's seed comes before the script's.
    options.seed = 99;
    ScriptPlayer fromOption;
    ASSERT_TRUE(fromOption.start(options));
    EXPECT_TRUE(fromOption.clockHeld());
    EXPECT_EQ(fromOption.seed(), 99);

    // Without a seed or a recording the clock is free and the seed is the time.
    const long before = (long)time(nullptr);
    ScriptPlayer free;
    ASSERT_TRUE(free.start(ScriptOptions()));
    EXPECT_FALSE(free.clockHeld());
    EXPECT_FALSE(free.scripted());
    EXPECT_GE(free.seed(), before);
    EXPECT_LE(free.seed(), (long)time(nullptr));
}

TEST_F(ScriptPlayerTest, RecordingReplaysTheSameStates)
{
    // What the game read, step by step: changes at steps 2, 5 and 9.
    std::vector<unsigned> buttons(13, 0);
    std::vector<std::array<int, 4>> nubs(13, std::array<int, 4>{});
    for (long step = 2; step <= 12; step++)
        buttons[step] = bit(X) | (step >= 5 && step < 9 ? bit(L) : 0);
    for (long step = 5; step <= 12; step++)
        nubs[step] = step < 9 ? std::array<int, 4>{0, 0, -256, 0} : std::array<int, 4>{10, 20, 0, 0};

    const std::string recording = folder.path() + "/recorded.vpad";
    {
        ScriptOptions options;
        options.recordFile = recording.c_str();
        ScriptPlayer recorder;
        ASSERT_TRUE(recorder.start(options));
        // Recording holds the clock; without a seed given it takes the time.
        EXPECT_TRUE(recorder.clockHeld());
        EXPECT_GT(recorder.seed(), 1700000000);
        for (long step = 1; step <= 12; step++) {
            const int nub[2][2] = {{nubs[step][0], nubs[step][1]}, {nubs[step][2], nubs[step][3]}};
            recorder.record(step, buttons[step], nub);
        }
    }
    const std::string text = slurp(recording);
    EXPECT_NE(text.find("\nframe 5\npress l\nnub1 -256 0\n"), std::string::npos) << text;

    ScriptPlayer replay;
    auto steps = play(&replay, recording, 12);
    EXPECT_TRUE(replay.clockHeld());
    for (long step = 1; step <= 12; step++) {
        EXPECT_EQ(steps[step].buttons, buttons[step]) << step << "\n" << text;
        const std::array<int, 4> nub = {steps[step].nub[0][0], steps[step].nub[0][1], steps[step].nub[1][0],
                                        steps[step].nub[1][1]};
        EXPECT_EQ(nub, nubs[step]) << step << "\n" << text;
    }

    // A recording that cannot be written stops the start.
    ScriptOptions full;
    full.recordFile = "/dev/full";
    full.seed = 5;
    ScriptPlayer unwritable;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(unwritable.start(full));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("/dev/full"), std::string::npos);
}

TEST_F(ScriptPlayerTest, FrameFileHoldsTheStepReached)
{
    const std::string frames = folder.path() + "/frames";
    ScriptOptions options;
    options.frameFile = frames.c_str();
    ScriptPlayer player;
    ASSERT_TRUE(player.start(options));
    ScriptStep step;
    for (long n = 1; n <= 120; n++) {
        player.play(n, &step);
        if (n == 9 || n == 120) {
            EXPECT_EQ(slurp(frames), std::to_string(n) + "\n");
        }
    }
}

struct Arguments {
    std::vector<std::string> words;
    std::vector<char*> argv;
    explicit Arguments(std::vector<std::string> given) : words(std::move(given))
    {
        for (auto& word : words)
            argv.push_back(word.data());
    }
    bool parse(ScriptOptions* options) { return parseScriptOptions((int)argv.size(), argv.data(), options); }
};

TEST(ScriptOptionsTest, OptionsAreReadAndTheRestLeftAlone)
{
    Arguments args({"zynthra", "--fullscreen", "--script", "a.vpad", "--seed", "2147483647", "--record", "r.vpad",
                    "--frame-file", "f", "--other"});
    const std::vector<char*> before = args.argv;
    ScriptOptions options;
    ASSERT_TRUE(args.parse(&options));
    EXPECT_STREQ(options.scriptFile, "a.vpad");
    EXPECT_STREQ(options.recordFile, "r.vpad");
    EXPECT_STREQ(options.frameFile, "f");
    EXPECT_EQ(options.seed, 2147483647);
    EXPECT_EQ(args.argv, before);

    ScriptOptions none;
    ASSERT_TRUE(Arguments({"zynthra", "--fullscreen"}).parse(&none));
    EXPECT_EQ(none.scriptFile, nullptr);
    EXPECT_EQ(none.seed, -1);

    for (auto bad : std::vector<std::vector<std::string>>{{"z", "--script"},
                                                          {"z", "--seed", "-1"},
                                                          {"z", "--seed", "2147483648"},
                                                          {"z", "--seed", "12abc"},
                                                          {"z", "--seed", ""},
                                                          {"z", "--seed", "1", "--seed", "2"},
                                                          {"z", "--record", "a", "--record", "b"},
                                                          {"z", "--frame-file", ""}}) {
        ScriptOptions options;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(Arguments(bad).parse(&options)) << bad.back();
        EXPECT_NE(testing::internal::GetCapturedStderr(), "") << bad.back();
    }
}

}  // namespace
