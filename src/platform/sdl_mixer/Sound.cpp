#include "Sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

// The sound of every backend with SDL_mixer: SDL 1.2's on the handheld, SDL
// 2's elsewhere (each build's include path picks the headers).

namespace {

const char* const soundFiles[] = {
    "laser4_soft.wav",         "splosion_soft.wav", "bomb1.wav",          "asteroidBreak_soft.wav",
    "asteroidIncoming.wav",    "menuSelect.wav",    "menuChange.wav",     "laserUpVoice.wav",
    "playerDeath.wav",         "rez.wav",           "extraBombVoice.wav", "extraLifeVoice.wav",
    "superLaserVoice.wav",     "gameOverVoice.wav", "asteroidBreak.wav",
#ifndef ZYNTHRA_CLASSIC
    "extraDecoyBombVoice.wav",
#endif
};
static_assert(sizeof soundFiles / sizeof soundFiles[0] == NUM_SOUNDS, "one file per sound number");

const char* const musicFiles[2] = {"menuLoop.ogg", "musicLoop.ogg"};

const int mixChannels = 32;

Mix_Music* music[2];
Mix_Chunk* sounds[NUM_SOUNDS];
int musicVol;
int soundVol;
bool silent = false;  // no device: the levels are kept and saved, nothing plays

// The relative setters add to the stored level in a wide type, so no delta can overflow.
int clampLevel(long long level)
{
    return level < 0 ? 0 : (level > 100 ? 100 : (int)level);
}

// 0..100 onto the mixer's 0..128, truncated in single precision.
int mixerVolume(int level)
{
    return (int)std::floor((float)level * 1.28f);
}

// Stops whatever plays; a track that failed to load stays silent.
void switchMusic(int track)
{
    if (silent)
        return;
    Mix_HaltMusic();
    if (music[track])
        Mix_PlayMusic(music[track], -1);
}

// The handheld's launcher settles the sound device before the game starts;
// an edition started straight from a desktop plays on without one.
bool openDevice()
{
    SDL_Init(SDL_INIT_AUDIO);
    if (Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 4096) == 0)
        return true;
#ifdef ZYNTHRA_SILENT_WITHOUT_SOUND_DEVICE
    printf("No sound device (%s): playing without sound\n", Mix_GetError());
    fflush(stdout);
    return false;
#else
    puts("Unable to open audio!");
    exit(1);
#endif
}

}  // namespace

void setupAudio()
{
    silent = !openDevice();
    if (!silent)
        Mix_AllocateChannels(mixChannels);

    setMusicVolDirect(50);
    setSoundVolDirect(40);
    if (silent)
        return;

    for (int track = 0; track < 2; ++track)
        music[track] = Mix_LoadMUS(musicFiles[track]);
    for (int sound = 0; sound < NUM_SOUNDS; ++sound)
        sounds[sound] = Mix_LoadWAV(soundFiles[sound]);
}

void playSound(int sound)
{
    if (sound < 0 || sound >= NUM_SOUNDS || !sounds[sound])
        return;
    Mix_PlayChannel(-1, sounds[sound], 0);
}

void playMenuMusic()
{
    switchMusic(0);
}

void playGameMusic()
{
    switchMusic(1);
}

void setMusicVol(int delta)
{
    setMusicVolDirect(clampLevel((long long)musicVol + delta));
}

void setSoundVol(int delta)
{
    setSoundVolDirect(clampLevel((long long)soundVol + delta));
}

void setMusicVolDirect(int level)
{
    musicVol = clampLevel(level);
    if (!silent)
        Mix_VolumeMusic(mixerVolume(musicVol));
}

void setSoundVolDirect(int level)
{
    soundVol = clampLevel(level);
    if (!silent)
        Mix_Volume(-1, mixerVolume(soundVol));
}

int getMusicVol()
{
    return musicVol;
}

int getSoundVol()
{
    return soundVol;
}
