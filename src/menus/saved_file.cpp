#include "saved_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

const int longestLinkChain = 40;  // as the kernel allows
const char* const temporaryInfix = ".tmp.";
const char* const temporaryPattern = "XXXXXX";

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a chain of links leads to (the path itself when it is no link); a
// link to a file that does not exist yet leads to where that file will be.
std::string followLinks(const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop < longestLinkChain; hop++) {
        char target[PATH_MAX];
        const ssize_t length = readlink(current.c_str(), target, sizeof target - 1);
        if (length < 0)
            break;
        target[length] = '\0';
        current = target[0] == '/' ? std::string(target) : folderOf(current) + "/" + target;
    }
    return current;
}

// Reads until end of file or limit + 1 bytes, so a longer file shows as such.
bool readUpTo(int fd, std::string& contents, size_t limit)
{
    contents.resize(limit + 1);
    size_t done = 0;
    while (done < contents.size()) {
        const ssize_t n = read(fd, &contents[done], contents.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        done += (size_t)n;
    }
    contents.resize(done);
    return true;
}

bool writeAll(int fd, const std::string& contents)
{
    size_t done = 0;
    while (done < contents.size()) {
        const ssize_t n = write(fd, contents.data() + done, contents.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        done += (size_t)n;
    }
    return true;
}

// A new file gets what the process's umask allows, as an ordinary create would;
// a file being replaced keeps its own permissions.
mode_t modeFor(const std::string& target)
{
    struct stat info;
    if (lstat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        return info.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Temporaries of saves that were killed before their rename. Only called under
// the lock, when no other save of this file is under way.
void removeStaleTemporaries(const std::string& target)
{
    const std::string folder = folderOf(target);
    const std::string prefix = nameOf(target) + temporaryInfix;
    DIR* entries = opendir(folder.c_str());
    if (entries == nullptr)
        return;
    // readdir64: a 32-bit program's readdir fails with EOVERFLOW where the
    // file system's directory offsets need 64 bits (under qemu-arm here).
    while (const dirent64* entry = readdir64(entries)) {
        const std::string name = entry->d_name;
        if (name.size() == prefix.size() + strlen(temporaryPattern) && name.compare(0, prefix.size(), prefix) == 0)
            unlink((folder + "/" + name).c_str());
    }
    closedir(entries);
}

// The rename is only durable once the folder holding it is on disk. The file
// has been replaced by then whatever this says (some file systems cannot sync
// a folder), so its result does not make the save a failure.
void syncFolder(const std::string& target)
{
    const int fd = open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

// Writes contents to a temporary file of a unique name beside target, created
// exclusively (a planted link or file in its way is never followed or
// reused), and renames it over target once it is complete on disk.
std::string replaceWith(const std::string& target, const std::string& contents)
{
    std::string temporary = target + temporaryInfix + temporaryPattern;
    // Open only until this returns: no program is started meanwhile to inherit it.
    const int fd = mkstemp(&temporary[0]);
    if (fd < 0)
        return strerror(errno);
    int failure = 0;
    if (fchmod(fd, modeFor(target)) != 0 || !writeAll(fd, contents) || fsync(fd) != 0)
        failure = errno;
    if (close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 && rename(temporary.c_str(), target.c_str()) != 0)
        failure = errno;
    if (failure != 0) {
        unlink(temporary.c_str());
        return strerror(failure);
    }
    syncFolder(target);
    return "";
}

// Holds an exclusive lock on the lock file beside target while it lives. Where
// the file system has no locks the save goes ahead unlocked, as before.
class SaveLock {
public:
    explicit SaveLock(const std::string& target)
        : fd_(open((target + ".lock").c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666))
    {
        if (fd_ < 0)
            error_ = errno;
        else
            while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {}
    }
    ~SaveLock()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;

    int error() const { return error_; }

private:
    int fd_;
    int error_ = 0;
};

}  // namespace

FileRead readSavedFile(const char* fileName, std::string& contents, std::string* reason)
{
    contents.clear();
    const int fd = open(fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        if (reason != nullptr)
            *reason = strerror(error);
        return error == ENOENT ? FileRead::missing : FileRead::unreadable;
    }
    struct stat info;
    bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (!regular && reason != nullptr)
        *reason = "not a regular file";
    const bool read = regular && readUpTo(fd, contents, savedFileLimit);
    if (regular && !read && reason != nullptr)
        *reason = strerror(errno);
    close(fd);
    if (!read) {
        contents.clear();
        return FileRead::unreadable;
    }
    if (contents.size() > savedFileLimit) {
        const size_t lastLineEnd = contents.rfind('\n', savedFileLimit - 1);
        // Not one whole line where a file of the game's would hold ten.
        if (lastLineEnd == std::string::npos) {
            if (reason != nullptr)
                *reason = "no line ends within its first 64 KiB";
            contents.clear();
            return FileRead::unreadable;
        }
        contents.resize(lastLineEnd + 1);
    }
    return FileRead::read;
}

std::string saveFile(const char* fileName, const ComposeContents& compose)
{
    const std::string target = followLinks(fileName);
    const SaveLock lock(target);
    if (lock.error() != 0)
        return strerror(lock.error());
    removeStaleTemporaries(target);
    std::string current;
    std::string reason;
    switch (readSavedFile(target.c_str(), current, &reason)) {
    case FileRead::read:
        return replaceWith(target, compose(&current));
    case FileRead::missing:
        return replaceWith(target, compose(nullptr));
    case FileRead::unreadable:
        break;
    }
    return reason;
}
