#pragma once

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

// Starts a private Xvfb (800 x 480 x 24) and points DISPLAY at it for this process.
// It never resets (-noreset): a reset, when its last client leaves, refuses the
// clients that connect meanwhile.
class XvfbServer {
public:
    XvfbServer()
    {
        for (int attempt = 0; attempt < 3 && display_.empty(); attempt++)
            start();
    }
    ~XvfbServer()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    bool ok() const { return !display_.empty(); }
    const std::string& display() const { return display_; }

private:
    void start()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            // A test program that dies (a crash, a sanitizer report) takes its server
            // along, instead of leaving it holding ctest's output open until the timeout.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            close(fds[0]);
            std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x480x24", "-nolisten", "tcp",
                   "-noreset", (char*)nullptr);
            _exit(127);
        }
        close(fds[1]);
        // The server writes the number and the newline separately, then closes
        // its end: read to the end, or the second write fails and the server dies.
        char buf[32] = {0};
        size_t got = 0;
        for (;;) {
            ssize_t n = read(fds[0], buf + got, sizeof buf - 1 - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += n;
            if (got == sizeof buf - 1)
                break;
        }
        close(fds[0]);
        if (got > 0) {
            display_ = std::string(":") + std::to_string(atoi(buf));
            setenv("DISPLAY", display_.c_str(), 1);
        } else if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

    pid_t pid_ = -1;
    std::string display_;
};
