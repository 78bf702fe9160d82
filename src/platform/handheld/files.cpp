#include "files.h"

// The handheld programs run in the folder that holds both the shipped files
// and the player's: the launcher (or the handheld's package) starts them there.

std::string dataPath(const char* name)
{
    return name;
}

std::string savePath(const char* name)
{
    return name;
}
