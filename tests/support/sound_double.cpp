#include "sound_double.h"

#include <algorithm>

#include "Sound.h"

namespace sound_double {
Log& log()
{
    static Log theLog;
    return theLog;
}

void reset()
{
    log() = Log();
}

int count(int sound)
{
    return (int)std::count(log().sounds.begin(), log().sounds.end(), sound);
}
}  // namespace sound_double

static int clampLevel(int level)
{
    return level < 0 ? 0 : (level > 100 ? 100 : level);
}

void setupAudio() {}
void playSound(int sound)
{
    sound_double::log().sounds.push_back(sound);
}
void playMenuMusic()
{
    sound_double::log().menuMusicStarts++;
}
void playGameMusic()
{
    sound_double::log().gameMusicStarts++;
}
void setMusicVol(int delta)
{
    setMusicVolDirect(sound_double::log().musicVol + delta);
}
void setSoundVol(int delta)
{
    setSoundVolDirect(sound_double::log().soundVol + delta);
}
void setMusicVolDirect(int level)
{
    sound_double::log().musicVol = clampLevel(level);
}
void setSoundVolDirect(int level)
{
    sound_double::log().soundVol = clampLevel(level);
}
int getMusicVol()
{
    return sound_double::log().musicVol;
}
int getSoundVol()
{
    return sound_double::log().soundVol;
}
