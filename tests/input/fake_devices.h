#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "pnd_io_evdev.h"

// Pipe-backed stand-ins for /dev/input/eventN, handed out by the wrapped open and
// named through the wrapped ioctl(EVIOCGNAME). Node N is the Nth added.
namespace fake_devices {

// Adds the next event node; an empty name makes a node that cannot be opened.
void addNode(const std::string& name);
// Removes every node and closes the test's ends of the pipes.
void reset();
// Descriptors handed out from now on are at least this number.
void setLowestDescriptor(int fd);
// How many times the node was opened.
int opens(int node);

// The node's device goes away under its readers, as a re-registered nub's does:
// their descriptors stay readable, but every read fails.
void removeDevice(int node);
// The writer of the node's pipe goes away: its readers read end of file.
void hangUp(int node);

void sendEvent(int node, uint16_t type, uint16_t code, int32_t value);
void sendBytes(int node, const void* bytes, size_t count);

}  // namespace fake_devices

// Every device test starts and ends with all slots closed and no nodes.
class FakeDeviceTest : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override
    {
        pnd_evdev_closeall();
        fake_devices::reset();
    }
};
