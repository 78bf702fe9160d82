// The SDL 2 edition's sound without a sound device: one line, then silent
// play, the volumes still kept for the options screen and the settings file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Sound.h"

TEST(SilentSound, NoSoundDeviceIsOneLineAndTheGamePlaysOn)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    testing::internal::CaptureStdout();
    setupAudio();
    playMenuMusic();
    playSound(SOUND_LASER);
    playGameMusic();
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_NE(said.find("playing without sound"), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;

    EXPECT_EQ(getMusicVol(), 50);
    EXPECT_EQ(getSoundVol(), 40);
    setMusicVol(-60);
    setSoundVolDirect(75);
    EXPECT_EQ(getMusicVol(), 0);
    EXPECT_EQ(getSoundVol(), 75);
}
