#pragma once

#include <string>

// Where the game's files live. Shipped files (images, sounds, music) are read
// from the data folder; the player's own (settings, high scores, screenshots)
// are read and written in the save folder. Both take a bare file name.
std::string dataPath(const char* name);
std::string savePath(const char* name);
