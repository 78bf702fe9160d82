#pragma once

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>

// The game reads and writes its files in the working folder: each fuzz target
// runs in a fresh private one, removed when the run ends. In memory where the
// system has a shared-memory folder: the game syncs every file it replaces,
// which on a disk would take most of each run.
inline void enterPrivateFolder()
{
    static char folder[] = "/dev/shm/zynthra_fuzz_XXXXXX";
    if (access("/dev/shm", W_OK) != 0)
        memcpy(folder, "/tmp/", 5);
    if (mkdtemp(folder) == nullptr || chdir(folder) != 0) {
        perror("zynthra fuzz folder");
        abort();
    }
    atexit([] {
        std::string command = std::string("rm -rf '") + folder + "'";
        if (system(command.c_str()) != 0)
            fprintf(stderr, "could not remove %s\n", folder);
    });
}

inline void writeBytes(const char* name, const uint8_t* data, size_t size)
{
    FILE* file = fopen(name, "wb");
    if (file == nullptr || fwrite(data, 1, size, file) != size || fclose(file) != 0) {
        perror(name);
        abort();
    }
}

inline std::string readBytes(const char* name)
{
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A property the game's reader must keep: on failure the input is saved as a crash.
#define FUZZ_CHECK(condition)                                                                \
    do {                                                                                     \
        if (!(condition)) {                                                                  \
            fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            abort();                                                                         \
        }                                                                                    \
    } while (0)
