#include "fake_devices.h"

#include <errno.h>
#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

namespace {

struct Node {
    std::string name;
    int readEnd = -1;
    int writeEnd = -1;
    int opens = 0;
};

std::vector<Node> nodes;
std::map<int, int> nodeOfDescriptor;
int lowestDescriptor = 0;

// Index of the node an /dev/input/eventN path names, or -1 for any other path.
int nodeOfPath(const char* path)
{
    int id = -1;
    int length = 0;
    if (sscanf(path, "/dev/input/event%d%n", &id, &length) != 1 || path[length] != '\0')
        return -1;
    return id;
}

// Whether a descriptor handed out earlier still reads from this pipe (the
// reader may have closed it, and the number been reused since).
bool samePipe(int fd, int readEnd)
{
    struct stat handed, source;
    return fstat(fd, &handed) == 0 && fstat(readEnd, &source) == 0 && handed.st_dev == source.st_dev &&
           handed.st_ino == source.st_ino;
}

}  // namespace

extern "C" int __real_open(const char* path, int flags, ...);
extern "C" int __real_ioctl(int fd, unsigned long request, ...);

extern "C" int __wrap_open(const char* path, int flags, ...)
{
    int id = nodeOfPath(path);
    if (id < 0) {
        va_list args;
        va_start(args, flags);
        mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(args, mode_t) : 0;
        va_end(args);
        return __real_open(path, flags, mode);
    }
    if (id >= (int)nodes.size() || nodes[id].name.empty()) {
        errno = ENOENT;
        return -1;
    }
    nodes[id].opens++;
    int fd = fcntl(nodes[id].readEnd, F_DUPFD, lowestDescriptor);
    if (fd >= 0)
        nodeOfDescriptor[fd] = id;
    return fd;
}

extern "C" int __wrap_ioctl(int fd, unsigned long request, ...)
{
    va_list args;
    va_start(args, request);
    void* argument = va_arg(args, void*);
    va_end(args);
    auto found = nodeOfDescriptor.find(fd);
    unsigned long nameRequest = EVIOCGNAME(0);
    if (found == nodeOfDescriptor.end() || (request & ~(_IOC_SIZEMASK << _IOC_SIZESHIFT)) != nameRequest)
        return __real_ioctl(fd, request, argument);
    const std::string& name = nodes[found->second].name;
    size_t room = _IOC_SIZE(request);
    size_t count = std::min(room, name.size() + 1);
    memcpy(argument, name.c_str(), count);
    return (int)count;
}

namespace fake_devices {

void addNode(const std::string& name)
{
    Node node;
    node.name = name;
    int ends[2];
    if (!name.empty() && pipe2(ends, O_NONBLOCK) == 0) {
        node.readEnd = ends[0];
        node.writeEnd = ends[1];
    }
    nodes.push_back(node);
}

void reset()
{
    for (Node& node : nodes) {
        if (node.readEnd >= 0)
            close(node.readEnd);
        if (node.writeEnd >= 0)
            close(node.writeEnd);
    }
    nodes.clear();
    nodeOfDescriptor.clear();
    lowestDescriptor = 0;
}

void setLowestDescriptor(int fd)
{
    lowestDescriptor = fd;
}

int opens(int node)
{
    return nodes.at(node).opens;
}

void removeDevice(int node)
{
    // A directory is always readable to select, and reading it fails (EISDIR).
    int directory = __real_open("/", O_RDONLY | O_DIRECTORY);
    for (const auto& [fd, owner] : nodeOfDescriptor)
        if (owner == node && samePipe(fd, nodes.at(node).readEnd) && dup2(directory, fd) < 0)
            ADD_FAILURE() << "could not remove fake device " << node;
    close(directory);
}

void hangUp(int node)
{
    Node& hungUp = nodes.at(node);
    close(hungUp.writeEnd);
    hungUp.writeEnd = -1;
}

void sendEvent(int node, uint16_t type, uint16_t code, int32_t value)
{
    struct input_event event;
    memset(&event, 0, sizeof event);
    event.type = type;
    event.code = code;
    event.value = value;
    sendBytes(node, &event, sizeof event);
}

void sendBytes(int node, const void* bytes, size_t count)
{
    if (write(nodes.at(node).writeEnd, bytes, count) != (ssize_t)count)
        ADD_FAILURE() << "could not write to fake device " << node;
}

}  // namespace fake_devices
