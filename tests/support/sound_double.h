#pragma once

#include <vector>

// Recording stand-in for the sound layer, so game logic is tested without audio.
namespace sound_double {
struct Log {
    std::vector<int> sounds;  // every playSound argument, in order
    int menuMusicStarts = 0;
    int gameMusicStarts = 0;
    int musicVol = 50;
    int soundVol = 40;
};
Log& log();
void reset();
int count(int sound);
}  // namespace sound_double
