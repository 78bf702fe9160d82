#include <dirent.h>
#include <linux/input.h>

#include <cstring>

#include "fake_devices.h"
#include "pnd_io_evdev.h"

using fake_devices::addNode;
using fake_devices::sendEvent;

namespace {

int openDescriptors()
{
    int count = 0;
    DIR* dir = opendir("/proc/self/fd");
    while (dir && readdir(dir))
        ++count;
    if (dir)
        closedir(dir);
    return count;
}

int buttons()
{
    return pnd_evdev_dpad_state(pnd_evdev_dpads);
}

pnd_nubstate_t nub(pnd_evdev_e kind)
{
    pnd_nubstate_t state = {0, 0};
    EXPECT_EQ(pnd_evdev_nub_state(kind, &state), 1);
    return state;
}

}  // namespace

using EvdevTest = FakeDeviceTest;

TEST_F(EvdevTest, FindsDevicesByNameAndStopsAtTheFirstMissingNode)
{
    addNode("power-button");
    addNode("nub0");
    addNode("gpio-keys");
    addNode("");  // a gap in the numbering
    addNode("nub1");

    int before = openDescriptors();
    EXPECT_EQ(pnd_evdev_open(pnd_evdev_dpads), 1);
    EXPECT_EQ(openDescriptors(), before + 1) << "devices passed on the way stay open";
    EXPECT_EQ(pnd_evdev_open(pnd_evdev_nub1), 1);
    EXPECT_EQ(pnd_evdev_open(pnd_evdev_nub2), 0);
    EXPECT_EQ(pnd_evdev_get_fd(pnd_evdev_nub2), -1);
    EXPECT_EQ(fake_devices::opens(4), 0) << "the search went past the gap";
    EXPECT_EQ(pnd_evdev_open(pnd_evdev_max), 0);

    // Each slot holds the node that carries its name.
    sendEvent(2, EV_KEY, KEY_HOME, 1);
    sendEvent(1, EV_ABS, ABS_X, 4321);
    ASSERT_EQ(pnd_evdev_catchup(0), 1);
    EXPECT_TRUE(buttons() & pnd_evdev_a);
    EXPECT_EQ(nub(pnd_evdev_nub1).x, 4321);
}

TEST_F(EvdevTest, KeyEventsApplyInOrderFromAnyDevice)
{
    addNode("gpio-keys");
    addNode("power-button");
    ASSERT_EQ(pnd_evdev_open(pnd_evdev_dpads), 1);
    ASSERT_EQ(pnd_evdev_open(pnd_evdev_power), 1);

    sendEvent(0, EV_KEY, KEY_HOME, 1);
    sendEvent(0, EV_KEY, KEY_HOME, 0);
    sendEvent(0, EV_KEY, KEY_END, 1);
    sendEvent(0, EV_KEY, KEY_END, 2);  // auto-repeat
    sendEvent(1, EV_KEY, KEY_MENU, 1);
    ASSERT_EQ(pnd_evdev_catchup(0), 1);
    EXPECT_FALSE(buttons() & pnd_evdev_a) << "press and release in one frame";
    EXPECT_TRUE(buttons() & pnd_evdev_b);
    EXPECT_TRUE(buttons() & pnd_evdev_pandora) << "the power device's keys reach the same mask";

    int held = buttons();
    sendEvent(0, EV_KEY, KEY_Q, 1);
    sendEvent(0, EV_SYN, SYN_REPORT, 0);
    sendEvent(0, EV_MSC, KEY_HOME, 1);
    ASSERT_EQ(pnd_evdev_catchup(0), 1);
    EXPECT_EQ(buttons(), held) << "unmapped keys and other event types change nothing";

    sendEvent(0, EV_KEY, KEY_END, 0);
    sendEvent(1, EV_KEY, KEY_MENU, 0);
    ASSERT_EQ(pnd_evdev_catchup(0), 1);
    EXPECT_FALSE(buttons() & (pnd_evdev_b | pnd_evdev_pandora));
}

TEST_F(EvdevTest, AxisEventsSetTheirNubsXAndYOnly)
{
    addNode("gpio-keys");
    addNode("nub0");
    addNode("nub1");
    for (pnd_evdev_e kind : {pnd_evdev_dpads, pnd_evdev_nub1, pnd_evdev_nub2})
        ASSERT_EQ(pnd_evdev_open(kind), 1);

    sendEvent(1, EV_ABS, ABS_X, 100);
    sendEvent(1, EV_ABS, ABS_Y, -50);
    sendEvent(1, EV_ABS, ABS_Z, 7);
    sendEvent(1, EV_ABS, ABS_RX, 9);
    sendEvent(2, EV_ABS, ABS_X, -20);
    sendEvent(2, EV_ABS, ABS_Y, 30);
    ASSERT_EQ(pnd_evdev_catchup(0), 1);
    EXPECT_EQ(nub(pnd_evdev_nub1).x, 100);
    EXPECT_EQ(nub(pnd_evdev_nub1).y, -50);
    EXPECT_EQ(nub(pnd_evdev_nub2).x, -20);
    EXPECT_EQ(nub(pnd_evdev_nub2).y, 30);

    // Axes from a device that is not the left nub belong to the right nub.
    sendEvent(0, EV_ABS, ABS_Y, 77);
    ASSERT_EQ(pnd_evdev_catchup(0), 1);
    EXPECT_EQ(nub(pnd_evdev_nub2).y, 77);
    EXPECT_EQ(nub(pnd_evdev_nub1).y, -50);
}

TEST_F(EvdevTest, AxisEventsFromHighDescriptorsReachTheirOwnNub)
{
    fake_devices::setLowestDescriptor(20);
    addNode("nub0");
    addNode("nub1");
    ASSERT_EQ(pnd_evdev_open(pnd_evdev_nub1), 1);
    ASSERT_EQ(pnd_evdev_open(pnd_evdev_nub2), 1);
    ASSERT_GE(pnd_evdev_get_fd(pnd_evdev_nub1), 10);
    ASSERT_GE(pnd_evdev_get_fd(pnd_evdev_nub2), 10);

    sendEvent(0, EV_ABS, ABS_X, 321);
    sendEvent(1, EV_ABS, ABS_X, -321);
    ASSERT_EQ(pnd_evdev_catchup(0), 1);
    EXPECT_EQ(nub(pnd_evdev_nub1).x, 321);
    EXPECT_EQ(nub(pnd_evdev_nub2).x, -321);
}

TEST_F(EvdevTest, ClosedSlotsAndIdleDevices)
{
    EXPECT_EQ(pnd_evdev_catchup(0), 0) << "nothing open";

    addNode("gpio-keys");
    ASSERT_EQ(pnd_evdev_open(pnd_evdev_dpads), 1);
    int before = buttons();
    EXPECT_EQ(pnd_evdev_catchup(0), 1) << "nothing pending";
    EXPECT_EQ(buttons(), before);

    pnd_nubstate_t untouched = {11, 22};
    EXPECT_EQ(pnd_evdev_nub_state(pnd_evdev_nub1, &untouched), -1);
    EXPECT_EQ(untouched.x, 11);
    EXPECT_EQ(untouched.y, 22);

    pnd_evdev_close(pnd_evdev_dpads);
    EXPECT_EQ(pnd_evdev_get_fd(pnd_evdev_dpads), -1);
    EXPECT_EQ(buttons(), -1) << "a closed slot reports every button held";
}

TEST_F(EvdevTest, OneReadTakesAtMost64Events)
{
    addNode("gpio-keys");
    ASSERT_EQ(pnd_evdev_open(pnd_evdev_dpads), 1);
    for (int i = 0; i < 63; ++i)
        sendEvent(0, EV_SYN, SYN_REPORT, 0);
    sendEvent(0, EV_KEY, KEY_HOME, 1);  // the 64th
    sendEvent(0, EV_KEY, KEY_HOME, 0);  // the 65th

    ASSERT_EQ(pnd_evdev_catchup(0), 1);
    EXPECT_TRUE(buttons() & pnd_evdev_a);
    ASSERT_EQ(pnd_evdev_catchup(0), 1);
    EXPECT_FALSE(buttons() & pnd_evdev_a);
}

TEST_F(EvdevTest, AShortReadEndsTheCatchUp)
{
    addNode("gpio-keys");
    addNode("nub1");
    ASSERT_EQ(pnd_evdev_open(pnd_evdev_dpads), 1);
    ASSERT_EQ(pnd_evdev_open(pnd_evdev_nub2), 1);
    int next = nub(pnd_evdev_nub2).x + 1;

    struct input_event partial;
    memset(&partial, 0, sizeof partial);
    fake_devices::sendBytes(0, &partial, sizeof partial - 1);
    sendEvent(1, EV_ABS, ABS_X, next);

    ASSERT_EQ(pnd_evdev_catchup(0), 1);
    EXPECT_EQ(nub(pnd_evdev_nub2).x, next - 1) << "the later device waits";
    ASSERT_EQ(pnd_evdev_catchup(0), 1);
    EXPECT_EQ(nub(pnd_evdev_nub2).x, next);
}

TEST_F(EvdevTest, ADeadDeviceIsClosedAndTheOthersKeepBeingRead)
{
    addNode("gpio-keys");
    addNode("nub0");
    addNode("nub1");
    for (pnd_evdev_e kind : {pnd_evdev_dpads, pnd_evdev_nub1, pnd_evdev_nub2})
        ASSERT_EQ(pnd_evdev_open(kind), 1);
    int before = openDescriptors();

    // The left nub's node is re-created under the game: its reads fail from now on.
    sendEvent(1, EV_ABS, ABS_X, 55);
    fake_devices::removeDevice(1);
    sendEvent(2, EV_ABS, ABS_X, 66);
    ASSERT_EQ(pnd_evdev_catchup(0), 1);
    EXPECT_EQ(pnd_evdev_get_fd(pnd_evdev_nub1), -1);
    EXPECT_EQ(openDescriptors(), before - 1) << "the dead descriptor was closed";
    EXPECT_EQ(nub(pnd_evdev_nub2).x, 66) << "the device after the dead one was read in the same frame";

    for (int frame = 0; frame < 3; ++frame) {
        sendEvent(0, EV_KEY, KEY_HOME, frame % 2 == 0);
        sendEvent(2, EV_ABS, ABS_Y, frame);
        ASSERT_EQ(pnd_evdev_catchup(0), 1);
        EXPECT_EQ(bool(buttons() & pnd_evdev_a), frame % 2 == 0) << "frame " << frame;
        EXPECT_EQ(nub(pnd_evdev_nub2).y, frame) << "frame " << frame;
    }

    // A device that reads end of file is as dead; the buttons play on alone.
    fake_devices::hangUp(2);
    ASSERT_EQ(pnd_evdev_catchup(0), 1);
    EXPECT_EQ(pnd_evdev_get_fd(pnd_evdev_nub2), -1);
    sendEvent(0, EV_KEY, KEY_END, 1);
    ASSERT_EQ(pnd_evdev_catchup(0), 1);
    EXPECT_TRUE(buttons() & pnd_evdev_b);
}

TEST_F(EvdevTest, LosingTheButtonsFailsTheCatchUp)
{
    addNode("gpio-keys");
    addNode("nub0");
    ASSERT_EQ(pnd_evdev_open(pnd_evdev_dpads), 1);
    ASSERT_EQ(pnd_evdev_open(pnd_evdev_nub1), 1);

    fake_devices::removeDevice(0);
    EXPECT_EQ(pnd_evdev_catchup(0), 0) << "a game without buttons cannot be played or left";
    EXPECT_EQ(pnd_evdev_get_fd(pnd_evdev_dpads), -1);
}
