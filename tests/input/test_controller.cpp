#include <linux/input.h>
#include <unistd.h>

#include <string>

#include "controller_support.h"
#include "fake_devices.h"
#include "xvfb.h"

// After GoogleTest: Xlib's macros (None, Bool, ...) would break its headers.
#include <X11/Xlib.h>
#include <X11/keysym.h>

using fake_devices::addNode;
using fake_devices::sendEvent;

namespace {

struct ButtonField {
    uint16_t code;
    bool Controller::*field;
};

const ButtonField buttonFields[] = {
    {KEY_HOME, &Controller::inputA},        {KEY_END, &Controller::inputB},
    {KEY_PAGEDOWN, &Controller::inputX},    {KEY_PAGEUP, &Controller::inputY},
    {KEY_UP, &Controller::inputUp},         {KEY_DOWN, &Controller::inputDown},
    {KEY_LEFT, &Controller::inputLeft},     {KEY_RIGHT, &Controller::inputRight},
    {KEY_RIGHTSHIFT, &Controller::inputL},  {KEY_RIGHTCTRL, &Controller::inputR},
    {KEY_LEFTALT, &Controller::inputStart}, {KEY_LEFTCTRL, &Controller::inputSelect},
};

// The module keeps button state across tests: start each from all released.
void releaseEverything()
{
    for (const ButtonField& b : buttonFields)
        sendEvent(0, EV_KEY, b.code, 0);
    sendEvent(0, EV_KEY, KEY_MENU, 0);
}

void expectOnlyHeld(const Controller& c, const ButtonField* held)
{
    for (const ButtonField& b : buttonFields)
        EXPECT_EQ(c.*b.field, &b == held) << "key code " << b.code;
}

class ControllerTest : public FakeDeviceTest {
protected:
    void openDevices(bool withNubs)
    {
        addNode("gpio-keys");
        if (withNubs) {
            addNode("nub0");
            addNode("nub1");
        }
        setupPandoraControls();
        releaseEverything();
    }
};

using ControllerDeathTest = ControllerTest;

}  // namespace

TEST_F(ControllerTest, EachButtonAndNubReachesItsOwnField)
{
    openDevices(true);
    for (const ButtonField& b : buttonFields) {
        sendEvent(0, EV_KEY, b.code, 1);
        Controller c = {};
        getInput(&c);
        expectOnlyHeld(c, &b);
        sendEvent(0, EV_KEY, b.code, 0);
    }

    sendEvent(1, EV_ABS, ABS_X, 11);
    sendEvent(1, EV_ABS, ABS_Y, -12);
    sendEvent(2, EV_ABS, ABS_X, 13);
    sendEvent(2, EV_ABS, ABS_Y, -14);
    Controller c = {};
    getInput(&c);
    expectOnlyHeld(c, nullptr);
    EXPECT_EQ(c.nub0X, 11);
    EXPECT_EQ(c.nub0Y, -12);
    EXPECT_EQ(c.nub1X, 13);
    EXPECT_EQ(c.nub1Y, -14);
}

TEST_F(ControllerTest, PandoraButtonOnlyPrintsEveryFrameWhileHeld)
{
    openDevices(false);
    sendEvent(0, EV_KEY, KEY_MENU, 1);
    Controller c = {};
    for (int frame = 0; frame < 2; ++frame) {
        testing::internal::CaptureStdout();
        getInput(&c);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Well that was something...\n");
        expectOnlyHeld(c, nullptr);
    }
    sendEvent(0, EV_KEY, KEY_MENU, 0);
    testing::internal::CaptureStdout();
    getInput(&c);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(ControllerTest, MissingNubsReadZero)
{
    openDevices(false);
    Controller c = {};
    c.nub0X = c.nub0Y = c.nub1X = c.nub1Y = 99;
    getInput(&c);
    EXPECT_EQ(c.nub0X, 0);
    EXPECT_EQ(c.nub0Y, 0);
    EXPECT_EQ(c.nub1X, 0);
    EXPECT_EQ(c.nub1Y, 0);
}

TEST_F(ControllerTest, ANubLostDuringTheGameReadsZeroWhileTheRestPlaysOn)
{
    openDevices(true);
    Controller c = {};
    sendEvent(1, EV_ABS, ABS_X, 40);
    sendEvent(2, EV_ABS, ABS_Y, -30);
    getInput(&c);
    ASSERT_EQ(c.nub0X, 40);

    fake_devices::removeDevice(1);
    sendEvent(0, EV_KEY, KEY_HOME, 1);
    getInput(&c);
    EXPECT_EQ(c.nub0X, 0);
    EXPECT_EQ(c.nub0Y, 0);
    EXPECT_EQ(c.nub1Y, -30);
    expectOnlyHeld(c, &buttonFields[0]);

    sendEvent(2, EV_ABS, ABS_Y, 25);
    sendEvent(0, EV_KEY, KEY_HOME, 0);
    getInput(&c);
    EXPECT_EQ(c.nub1Y, 25);
    expectOnlyHeld(c, nullptr);
}

// The messages go to standard output; the death tests look for them on the error stream.
TEST_F(ControllerDeathTest, MissingButtonDeviceIsAFailure)
{
    addNode("nub0");
    addNode("nub1");
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            setupPandoraControls();
        },
        testing::ExitedWithCode(1), "Couldn't open dpads");
}

TEST_F(ControllerDeathTest, CatchUpWithNoDeviceIsAFailure)
{
    Controller c = {};
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            getInput(&c);
        },
        testing::ExitedWithCode(1), "Couldn't catch up events");
}

namespace {

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.ok()) << "Xvfb did not start";
        display = XOpenDisplay(server.display().c_str());
        ASSERT_NE(display, nullptr);
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 64, 64, 0, 0, 0);
        XSelectInput(display, window, KeyPressMask | KeyReleaseMask | StructureNotifyMask);
        XMapWindow(display, window);
        XEvent event;
        do
            XNextEvent(display, &event);
        while (event.type != MapNotify);
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        XSync(display, False);
    }
    void TearDown() override
    {
        if (display)
            XCloseDisplay(display);
    }

    // Runs xdotool against the window, then waits until the server has sent us what it produced.
    void xdotool(const std::string& actions)
    {
        std::string command = "xdotool " + actions;
        std::string id = std::to_string(window);
        for (size_t at = command.find("%w"); at != std::string::npos; at = command.find("%w"))
            command.replace(at, 2, "--window " + id);
        ASSERT_EQ(system(command.c_str()), 0) << command;
        XSync(display, False);
    }

    XvfbServer server;
    Display* display = nullptr;
    Window window = 0;
};

}  // namespace

TEST_F(KeyboardTest, KeyEventsSetAndClearTheirKeyCodes)
{
    int keys[256] = {0};
    int a = XKeysymToKeycode(display, XK_a);
    int b = XKeysymToKeycode(display, XK_b);
    updateKeyboard(keys, display);  // drops the window's own events

    xdotool("keydown %w a");
    updateKeyboard(keys, display);
    EXPECT_EQ(keys[a], 1);
    EXPECT_EQ(XPending(display), 0) << "the queue is drained";

    xdotool("keyup %w a keydown %w b");
    updateKeyboard(keys, display);
    for (int code = 0; code < 256; ++code)
        EXPECT_EQ(keys[code], code == b) << "key code " << code;
}

namespace {

// Sends a key event to the window as the server would, with the given time stamp.
void sendKey(Display* display, Window window, int type, int code, Time time)
{
    XEvent event = {};
    event.xkey.type = type;
    event.xkey.display = display;
    event.xkey.window = window;
    event.xkey.root = DefaultRootWindow(display);
    event.xkey.keycode = code;
    event.xkey.time = time;
    event.xkey.same_screen = True;
    XSendEvent(display, window, False, type == KeyPress ? KeyPressMask : KeyReleaseMask, &event);
}

}  // namespace

TEST_F(KeyboardTest, EveryKeyGoingDownIsRecordedInOrderButNotItsRepeats)
{
    int keys[256] = {0};
    updateKeyboard(keys, display);
    forgetKeyPresses();
    int a = XKeysymToKeycode(display, XK_a);
    int b = XKeysymToKeycode(display, XK_b);

    // Two taps within one drain: both keys are up again, both presses are kept.
    xdotool("keydown %w a keyup %w a keydown %w b keyup %w b");
    updateKeyboard(keys, display);
    EXPECT_EQ(keys[a], 0);
    EXPECT_EQ(takeKeyPress(), a);
    EXPECT_EQ(takeKeyPress(), b);
    EXPECT_EQ(takeKeyPress(), 0);

    // Held a while: the server's repeats come as a release and a press with one
    // time stamp, or (detectable repeat) as presses alone. Neither is a new press.
    sendKey(display, window, KeyPress, a, 1000);
    sendKey(display, window, KeyRelease, a, 1500);
    sendKey(display, window, KeyPress, a, 1500);
    sendKey(display, window, KeyPress, a, 1540);
    XSync(display, False);
    updateKeyboard(keys, display);
    EXPECT_EQ(keys[a], 1);
    EXPECT_EQ(takeKeyPress(), a);
    EXPECT_EQ(takeKeyPress(), 0) << "a repeat was taken for a new press";

    // A real release and a later press are a second key stroke.
    sendKey(display, window, KeyRelease, a, 1600);
    sendKey(display, window, KeyPress, a, 1700);
    XSync(display, False);
    updateKeyboard(keys, display);
    EXPECT_EQ(takeKeyPress(), a);
    forgetKeyPresses();
}
