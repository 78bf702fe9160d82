#pragma once

// Sound numbers of the effects table; the classic rules have no decoy voice.
#ifdef ZYNTHRA_CLASSIC
constexpr int NUM_SOUNDS = 15;
#else
constexpr int NUM_SOUNDS = 16;
#endif

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
