#include "files.h"

// Every program runs in the folder that holds both the shipped files and the
// player's: the launcher (or the handheld's package) starts it there.

std::string dataPath(const char* name)
{
    return name;
}

std::string savePath(const char* name)
{
    return name;
}
