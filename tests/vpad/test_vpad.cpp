// vpad and fbgrab, each run for real in a child process: a probe program that finds
// and drains the devices exactly as the game does, with libvpad.so preloaded.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <png.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "temp_folder.h"
#include "xvfb.h"

// Last: Xlib's macros (None, Bool, ...) would clash with names in the headers above.
#include <X11/Xlib.h>

namespace {

using Env = std::vector<std::pair<std::string, std::string>>;

// A program running with its standard output and error in pipes.
class Child {
public:
    Child(const std::vector<std::string>& argv, const Env& env, bool preload = true)
    {
        int out[2], err[2];
        if (pipe(out) != 0 || pipe(err) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], 1);
            dup2(err[1], 2);
            close(out[0]);
            close(err[0]);
            for (const char* name :
                 {"VPAD_MODE", "VPAD_SCRIPT", "VPAD_PACE_HZ", "VPAD_FBGRAB", "VPAD_SEED", "VPAD_RECORD", "LD_PRELOAD"})
                unsetenv(name);
            if (preload)
                setenv("LD_PRELOAD", VPAD_LIBRARY, 1);
            for (const auto& [name, value] : env)
                setenv(name.c_str(), value.c_str(), 1);
            std::vector<char*> args;
            for (const auto& a : argv)
                args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            execv(args[0], args.data());
            _exit(127);
        }
        close(out[1]);
        close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }

    ~Child()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0)
            close(out_);
        if (err_ >= 0)
            close(err_);
    }

    // The next line of standard output, or false when none came within the time.
    bool readLine(std::string& line, int timeoutMs)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            auto end = outText_.find('\n', outRead_);
            if (end != std::string::npos) {
                line = outText_.substr(outRead_, end - outRead_);
                outRead_ = end + 1;
                return true;
            }
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd p{out_, POLLIN, 0};
            if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0)
                return false;
            if (!drain(out_, outText_))
                return false;
        }
    }

    // Waits for the end; returns the exit status (128 + signal when killed).
    int finish()
    {
        bool outOpen = true, errOpen = true;
        while (outOpen || errOpen) {
            pollfd p[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
            if (poll(p, 2, 60000) <= 0)
                break;
            if (p[0].revents)
                outOpen = drain(out_, outText_);
            if (p[1].revents)
                errOpen = drain(err_, errText_);
        }
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    std::string out() const { return outText_.substr(outRead_); }
    const std::string& err() const { return errText_; }

private:
    static bool drain(int fd, std::string& into)
    {
        char buf[4096];
        ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0)
            return false;
        into.append(buf, static_cast<size_t>(n));
        return true;
    }

    pid_t pid_ = -1;
    int out_ = -1, err_ = -1;
    std::string outText_, errText_;
    size_t outRead_ = 0;
};

// One event as the probe printed it.
struct Event {
    long frame;
    std::string device;
    int type, code, value;
    double seconds;
};

bool parseEvent(const std::string& line, Event& e)
{
    char device[32];
    if (sscanf(line.c_str(), "%ld %31s %d %d %d %lf", &e.frame, device, &e.type, &e.code, &e.value, &e.seconds) != 6)
        return false;
    e.device = device;
    return true;
}

std::vector<Event> parseEvents(const std::string& out)
{
    std::vector<Event> events;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        Event e;
        if (parseEvent(line, e))
            events.push_back(e);
    }
    return events;
}

// Events without the report markers, as "frame device type code value".
std::vector<std::string> withoutReports(const std::vector<Event>& events)
{
    std::vector<std::string> shown;
    for (const auto& e : events)
        if (e.type != 0)
            shown.push_back(std::to_string(e.frame) + " " + e.device + " " + std::to_string(e.type) + " " +
                            std::to_string(e.code) + " " + std::to_string(e.value));
    return shown;
}

class VpadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(temp_.ok());
        dir_ = temp_.path();
    }

    std::string file(const std::string& name, const std::string& text)
    {
        std::string path = dir_ + "/" + name;
        std::ofstream(path) << text;
        return path;
    }

    static std::string slurp(const std::string& path)
    {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // Runs the probe for some frames under a script and returns its events.
    std::vector<Event> runScript(const std::string& script, int frames, Env env = {}, const std::string& lazy = "0")
    {
        env.emplace_back("VPAD_SCRIPT", file("test.vpad", script));
        Child probe({VPAD_PROBE, "frames", std::to_string(frames), lazy}, env);
        EXPECT_EQ(probe.finish(), 0) << probe.err();
        EXPECT_EQ(probe.out().find("partial"), std::string::npos) << probe.out();
        return parseEvents(probe.out());
    }

    TempFolder temp_{"vpad_test."};
    std::string dir_;
};

TEST_F(VpadTest, DeviceSearchFindsThePadAndStopsAtEvent3)
{
    Child probe({VPAD_PROBE, "search"}, {{"VPAD_MODE", "idle"}});
    ASSERT_EQ(probe.finish(), 0) << probe.err();
    // The name lengths include the terminator, as the kernel counts them.
    EXPECT_EQ(probe.out(), "event0 gpio-keys 10\nevent1 nub0 5\nevent2 nub1 5\nevent3 missing ENOENT\n");
}

TEST_F(VpadTest, ScriptedActionsArriveInOrderAtTheirFrames)
{
    auto events = runScript(
        "# a comment\n"
        "frame 3\n"
        "press a\n"
        "nub0 100 -50   # trailing comment\n"
        "frames 2\n"
        "release a\n"
        "tap x 3\n"
        "nub1 -256 0\n"
        "frame 12\n"
        "press up\n"
        "press down\n"
        "nub1 0 0\n",
        15);
    std::vector<std::string> expected = {
        "3 gpio-keys 1 102 1",  "3 nub0 3 0 100",       "3 nub0 3 1 -50",  // press a, left nub
        "5 gpio-keys 1 102 0",  "5 gpio-keys 1 109 1",                     // release a, tap x
        "8 gpio-keys 1 109 0",  "8 nub1 3 0 -256",                         // x let go after 3 frames
        "12 gpio-keys 1 103 1", "12 gpio-keys 1 108 1", "12 nub1 3 0 0",   // only what changed
    };
    EXPECT_EQ(withoutReports(events), expected);
    // Every batch a device sends in a frame ends with its report marker.
    for (size_t i = 0; i < events.size(); i++) {
        bool lastOfBatch = i + 1 == events.size() || events[i + 1].frame != events[i].frame ||
                           events[i + 1].device != events[i].device;
        if (lastOfBatch) {
            EXPECT_EQ(events[i].type, 0) << "frame " << events[i].frame << " " << events[i].device;
        }
    }
}

TEST_F(VpadTest, SecondsCountFromTheFirstFrame)
{
    auto events = runScript("at 0.3\npress start\nwait 0.2\nrelease start\n", 200);
    auto shown = withoutReports(events);
    ASSERT_EQ(shown.size(), 2u);
    const Event& press = events.front();
    const Event* release = nullptr;
    for (const auto& e : events)
        if (e.type == 1 && e.value == 0)
            release = &e;
    ASSERT_NE(release, nullptr);
    EXPECT_EQ(press.code, 56);
    EXPECT_GE(press.seconds, 0.3);
    EXPECT_GE(release->seconds - press.seconds, 0.19);
}

TEST_F(VpadTest, FaultySettingsStopTheProgramBeforeItRuns)
{
    std::string script = file("bad.vpad", "frame 1\npress q\nfrobnicate 3\ntap a 0\nnub0 1\nat -1\nlog fine # here\n");
    Child badScript({VPAD_PROBE, "frames", "3"}, {{"VPAD_SCRIPT", script}});
    EXPECT_EQ(badScript.finish(), 2);
    EXPECT_EQ(badScript.out(), "");
    for (const char* line : {":2:", ":3:", ":4:", ":5:", ":6:"})
        EXPECT_NE(badScript.err().find(line), std::string::npos) << line;
    EXPECT_EQ(badScript.err().find(":7:"), std::string::npos) << badScript.err();
    EXPECT_EQ(badScript.err().find(":1:"), std::string::npos) << badScript.err();

    Child missing({VPAD_PROBE, "frames", "3"}, {{"VPAD_SCRIPT", dir_ + "/none.vpad"}});
    EXPECT_EQ(missing.finish(), 2);
    Child badMode({VPAD_PROBE, "frames", "3"}, {{"VPAD_MODE", "keyboard"}});
    EXPECT_EQ(badMode.finish(), 2);
    Child badRate({VPAD_PROBE, "frames", "3"}, {{"VPAD_MODE", "idle"}, {"VPAD_PACE_HZ", "fast"}});
    EXPECT_EQ(badRate.finish(), 2);
}

// A script that cannot be read, endless waits and rates, and a binary script's
// bytes echoed back: each is refused with its reason, before the program runs.
TEST_F(VpadTest, UnreadableScriptsAndEndlessWaitsAreRefused)
{
    Child folder({VPAD_PROBE, "frames", "3"}, {{"VPAD_SCRIPT", dir_}});
    EXPECT_EQ(folder.finish(), 2);
    EXPECT_NE(folder.err().find("cannot read script " + dir_ + ": Is a directory"), std::string::npos) << folder.err();

    for (const char* wait : {"wait inf\n", "at 1e300\n", "wait nan\n", "frames 999999999\n", "wait 86401\n"}) {
        Child endless({VPAD_PROBE, "frames", "1"}, {{"VPAD_SCRIPT", file("endless.vpad", wait)}});
        EXPECT_EQ(endless.finish(), 2) << wait;
    }
    for (const char* rate : {"1e-300", "0.5", "inf", "nan", "-1"}) {
        Child slow({VPAD_PROBE, "frames", "1"}, {{"VPAD_MODE", "idle"}, {"VPAD_PACE_HZ", rate}});
        EXPECT_EQ(slow.finish(), 2) << rate;
    }

    const std::string binary = "\x1b]0;owned\x07\x1b[2J\x7f\x01 press a\n";
    Child escaped({VPAD_PROBE, "frames", "1"}, {{"VPAD_SCRIPT", file("binary.vpad", binary)}});
    EXPECT_EQ(escaped.finish(), 2);
    EXPECT_NE(escaped.err().find("cannot understand: \\x1b]0;owned\\x07\\x1b[2J\\x7f\\x01 press a"), std::string::npos)
        << escaped.err();
    for (char c : escaped.err())
        EXPECT_TRUE(c == '\n' || !iscntrl((unsigned char)c)) << "a raw control byte reached the terminal";
}

TEST_F(VpadTest, SnapRunsTheScreenshotCommandWithoutThePad)
{
    std::string log = dir_ + "/grabs.log";
    std::string grabber = file("grabber", "#!/bin/sh\necho \"$@ preload=${LD_PRELOAD:-}\" >> '" + log + "'\n");
    chmod(grabber.c_str(), 0755);
    auto events =
        runScript("frame 2\nsnap shot.png\npress b\nframe 4\nsnap second.png\n", 6, {{"VPAD_FBGRAB", grabber}});
    EXPECT_EQ(slurp(log), "shot.png preload=\nsecond.png preload=\n");
    EXPECT_EQ(withoutReports(events), std::vector<std::string>{"2 gpio-keys 1 107 1"});
}

TEST_F(VpadTest, SlowReaderGetsWholeEventsAndTheLatestState)
{
    // One change per frame for 80 frames while the reader sleeps until frame 90:
    // far more than its 1024-byte reads take at once.
    std::string script;
    for (int i = 1; i <= 80; i++)
        script += "frame " + std::to_string(i) + "\nnub0 " + std::to_string(i) + " 0\n" +
                  (i % 2 ? "press a\n" : "release a\n");
    auto events = runScript(script, 100, {}, "90");
    int lastX = 0, lastA = -1;
    for (const auto& e : events) {
        if (e.device == "nub0" && e.type == 3) {
            EXPECT_GT(e.value, lastX) << "nub readings out of order";
            lastX = e.value;
        }
        if (e.device == "gpio-keys" && e.type == 1)
            lastA = e.value;
    }
    EXPECT_EQ(lastX, 80);
    EXPECT_EQ(lastA, 0);
}

TEST_F(VpadTest, OtherOpensIoctlsAndSleepsAreLeftAlone)
{
    std::string text = file("plain.txt", "hello vpad\n");
    Child probe({VPAD_PROBE, "passthrough", text}, {{"VPAD_MODE", "idle"}, {"VPAD_PACE_HZ", "2"}});
    ASSERT_EQ(probe.finish(), 0) << probe.err();
    std::string out = probe.out();
    for (const char* line : {"fionread 0 11\n", "evgname -1 ENOTTY\n", "open hello vpad\n", "openat hello vpad\n",
                             "reused 1 evgname -1 ENOTTY\n", "after-device hello vpad\n"})
        EXPECT_NE(out.find(line), std::string::npos) << line << " not in\n" << out;
    double mainMs = 0, threadMs = 0;
    ASSERT_EQ(sscanf(out.substr(out.find("sleep_ms")).c_str(), "sleep_ms %lf thread_sleep_ms %lf", &mainMs, &threadMs),
              2);
    EXPECT_GE(mainMs, 30.0);     // a frame never sleeps less than asked
    EXPECT_LT(threadMs, 250.0);  // another thread's sleep is not held to the 2 Hz pace
}

TEST_F(VpadTest, PacingHoldsFramesToTheRate)
{
    Child probe({VPAD_PROBE, "frames", "60"}, {{"VPAD_MODE", "idle"}, {"VPAD_PACE_HZ", "60"}});
    ASSERT_EQ(probe.finish(), 0) << probe.err();
    double elapsed = 0;
    ASSERT_EQ(sscanf(probe.out().substr(probe.out().find("elapsed")).c_str(), "elapsed %lf", &elapsed), 1);
    EXPECT_GE(elapsed, 0.9);
}

// The numbers the probe's clock mode printed, by name.
std::map<std::string, double> clockReport(const std::string& out)
{
    std::map<std::string, double> values;
    std::istringstream lines(out);
    std::string name;
    double value;
    while (lines >> name >> value) {
        values[name] = value;
        if (name == "frame_ns") {  // shortest, then longest
            values["frame_ns_longest"] = 0;
            lines >> values["frame_ns_longest"];
        }
    }
    return values;
}

TEST_F(VpadTest, SeedHoldsTheMainThreadsClockToWholeFrames)
{
    // Paced to 20 Hz, the 60 frames last 3 s of real time but exactly 1 s of the game's.
    Child probe({VPAD_PROBE, "clock", "60"},
                {{"VPAD_SCRIPT", file("seeded.vpad", "seed 1234\n")}, {"VPAD_PACE_HZ", "20"}});
    ASSERT_EQ(probe.finish(), 0) << probe.err();
    auto held = clockReport(probe.out());
    EXPECT_EQ(held["start_time"], 1234);
    EXPECT_EQ(held["end_time"], 1235);
    EXPECT_EQ(held["elapsed_ns"], 1e9);
    EXPECT_EQ(held["frame_ns"], 16666666);
    EXPECT_EQ(held["frame_ns_longest"], 16666667);
    EXPECT_GE(held["thread_seconds"], 2.9);  // another thread keeps the real clock

    // VPAD_SEED comes before the script's; without any seed the clocks are real.
    Child overridden({VPAD_PROBE, "clock", "1"},
                     {{"VPAD_SCRIPT", file("seeded.vpad", "seed 1234\n")}, {"VPAD_SEED", "99"}});
    ASSERT_EQ(overridden.finish(), 0) << overridden.err();
    EXPECT_EQ(clockReport(overridden.out())["start_time"], 99);
    Child free({VPAD_PROBE, "clock", "3"}, {{"VPAD_MODE", "idle"}});
    ASSERT_EQ(free.finish(), 0) << free.err();
    auto real = clockReport(free.out());
    EXPECT_GT(real["start_time"], 1.7e9);
    EXPECT_GE(real["elapsed_ns"], 3 * 5e6);
    EXPECT_NE(real["elapsed_ns"], 5e7);
}

TEST_F(VpadTest, HeldSecondsInAScriptAreWholeFrames)
{
    // Seconds count from the first frame, 1/60 s a frame: 0.5 s is frame 31.
    auto events = withoutReports(runScript("seed 7\nat 0.5\npress a\nwait 0.25\nrelease a\n", 60));
    EXPECT_EQ(events, (std::vector<std::string>{"31 gpio-keys 1 102 1", "46 gpio-keys 1 102 0"}));
}

TEST_F(VpadTest, RecordingReplaysTheSameEventsAndSeed)
{
    std::string recording = dir_ + "/recorded.vpad";
    auto live = runScript("frame 2\ntap x 3\nnub1 -256 0\npress l\nframe 9\nnub0 10 20\nrelease l\nnub1 0 0\n", 12,
                          {{"VPAD_RECORD", recording}, {"VPAD_SEED", "4321"}});
    std::string text = slurp(recording);
    EXPECT_NE(text.find("\nseed 4321\n"), std::string::npos) << text;

    Child replay({VPAD_PROBE, "frames", "12"}, {{"VPAD_SCRIPT", recording}});
    ASSERT_EQ(replay.finish(), 0) << replay.err() << text;
    EXPECT_EQ(withoutReports(parseEvents(replay.out())), withoutReports(live)) << text;

    // Without a seed given, the recording takes the real time as the game would.
    runScript("frame 1\npress a\n", 2, {{"VPAD_RECORD", recording}});
    long seed = 0;
    ASSERT_EQ(sscanf(slurp(recording).c_str(), "# %*[^\n]\nseed %ld", &seed), 1) << slurp(recording);
    EXPECT_GT(seed, 1700000000);
}

// Game pads are the SDL 2 edition's: the handheld program has none to plug in.
TEST_F(VpadTest, GamepadLinesAreRefusedByTheHandheldsPad)
{
    Child probe({VPAD_PROBE, "frames", "1"}, {{"VPAD_SCRIPT", file("pad.vpad", "frame 1\ngamepad attach\n")}});
    EXPECT_EQ(probe.finish(), 2);
    EXPECT_NE(probe.err().find("need the SDL 2 edition"), std::string::npos) << probe.err();
    EXPECT_NE(probe.err().find("pad.vpad:2:"), std::string::npos) << probe.err();
}

TEST_F(VpadTest, FaultySeedsStopTheProgramBeforeItRuns)
{
    for (const char* script : {"seed -1\n", "seed x\n", "seed 1 2\n", "seed 3\nseed 4\n", "seed 99999999999\n"}) {
        Child probe({VPAD_PROBE, "frames", "1"}, {{"VPAD_SCRIPT", file("bad.vpad", script)}});
        EXPECT_EQ(probe.finish(), 2) << script;
    }
    Child badEnv({VPAD_PROBE, "frames", "1"}, {{"VPAD_MODE", "idle"}, {"VPAD_SEED", "soon"}});
    EXPECT_EQ(badEnv.finish(), 2);
    Child badRecord({VPAD_PROBE, "frames", "1"},
                    {{"VPAD_MODE", "idle"}, {"VPAD_RECORD", dir_ + "/no/such/folder/r.vpad"}});
    EXPECT_EQ(badRecord.finish(), 2);
    // A recording that cannot be written says so and stops the program.
    Child fullRecord({VPAD_PROBE, "frames", "1"}, {{"VPAD_MODE", "idle"}, {"VPAD_RECORD", "/dev/full"}});
    EXPECT_EQ(fullRecord.finish(), 2);
    EXPECT_NE(fullRecord.err().find("/dev/full cannot be written: No space left on device"), std::string::npos)
        << fullRecord.err();
}

// Reads a PNG as 8-bit RGB.
bool readRgbPng(const std::string& path, png_image& image, std::vector<png_byte>& pixels)
{
    image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGB;
    pixels.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) != 0;
}

TEST_F(VpadTest, FbgrabSavesTheScreenAsPng)
{
    XvfbServer x;
    ASSERT_TRUE(x.ok());
    Display* display = XOpenDisplay(x.display().c_str());
    ASSERT_NE(display, nullptr);
    Window root = DefaultRootWindow(display);
    XSetWindowBackground(display, root, 0xc01020);
    XClearWindow(display, root);
    GC gc = XCreateGC(display, root, 0, nullptr);
    XSetForeground(display, gc, 0x2040f0);
    XFillRectangle(display, root, gc, 100, 100, 200, 50);
    XSync(display, False);

    std::string shot = dir_ + "/screen.png";
    Child grab({FBGRAB_PROGRAM, shot}, {}, false);
    ASSERT_EQ(grab.finish(), 0) << grab.err();
    png_image image;
    std::vector<png_byte> pixels;
    ASSERT_TRUE(readRgbPng(shot, image, pixels));
    EXPECT_EQ(image.width, 800u);
    EXPECT_EQ(image.height, 480u);
    auto at = [&](int px, int py) {
        const png_byte* p = &pixels[(static_cast<size_t>(py) * image.width + px) * 3];
        return std::vector<int>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(at(5, 5), (std::vector<int>{0xc0, 0x10, 0x20}));
    EXPECT_EQ(at(150, 120), (std::vector<int>{0x20, 0x40, 0xf0}));
    EXPECT_EQ(at(299, 149), (std::vector<int>{0x20, 0x40, 0xf0}));
    EXPECT_EQ(at(300, 150), (std::vector<int>{0xc0, 0x10, 0x20}));
    XFreeGC(display, gc);
    XCloseDisplay(display);

    // Failures are reported and leave no file, whole or partial.
    std::string taken = dir_ + "/taken.png";
    mkdir(taken.c_str(), 0755);
    Child cannotRename({FBGRAB_PROGRAM, taken}, {}, false);
    EXPECT_EQ(cannotRename.finish(), 1);
    EXPECT_NE(access((taken + ".part").c_str(), F_OK), 0);
    Child noFolder({FBGRAB_PROGRAM, dir_ + "/missing/screen.png"}, {}, false);
    EXPECT_EQ(noFolder.finish(), 1);
    std::string headless = dir_ + "/headless.png";
    // An empty name, so no X server that happens to run here can answer.
    Child noDisplay({FBGRAB_PROGRAM, headless}, {{"DISPLAY", ""}}, false);
    EXPECT_EQ(noDisplay.finish(), 1);
    EXPECT_NE(access(headless.c_str(), F_OK), 0);
    Child noName({FBGRAB_PROGRAM}, {}, false);
    EXPECT_EQ(noName.finish(), 2);
}

}  // namespace
