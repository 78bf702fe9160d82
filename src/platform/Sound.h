#pragma once

// Sound numbers of the effects table; the classic rules have no decoy voice.
#ifdef ZYNTHRA_CLASSIC
constexpr int NUM_SOUNDS = 15;
#else
constexpr int NUM_SOUNDS = 16;
#endif

// The sound numbers: each effect's place in the table.
enum SoundNumber {
    SOUND_LASER = 0,
    SOUND_HIT_SOFT = 1,
    SOUND_BOMB = 2,
    SOUND_ASTEROID_BREAKS = 3,
    SOUND_ASTEROID_INCOMING = 4,
    SOUND_MENU_SELECT = 5,
    SOUND_MENU_CHANGE = 6,
    SOUND_LASER_UP_VOICE = 7,
    SOUND_PLAYER_DEATH = 8,
    SOUND_REZ = 9,
    SOUND_EXTRA_BOMB_VOICE = 10,
    SOUND_EXTRA_LIFE_VOICE = 11,
    SOUND_SUPER_LASER_VOICE = 12,
    SOUND_GAME_OVER_VOICE = 13,
    SOUND_ASTEROID_LANDS = 14,
#ifndef ZYNTHRA_CLASSIC
    SOUND_EXTRA_DECOY_BOMB_VOICE = 15,
#endif
};

void setupAudio();
void playSound(int sound);
void playMenuMusic();
void playGameMusic();
void setMusicVol(int delta);
void setSoundVol(int delta);
void setMusicVolDirect(int level);
void setSoundVolDirect(int level);
int getMusicVol();
int getSoundVol();
