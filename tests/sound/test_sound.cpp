#include <SDL/SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Sound.h"

namespace fs = std::filesystem;

namespace {

// Left out of the test's folder: the one effect that must stay silent.
const char* const missingEffect = "asteroidBreak_soft.wav";

void put32(std::ofstream& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.put(char((v >> (8 * i)) & 0xff));
}

void put16(std::ofstream& out, uint16_t v)
{
    out.put(char(v & 0xff));
    out.put(char(v >> 8));
}

// A mono 16-bit 22050 Hz WAV, long enough to still be playing when a test looks.
void writeWav(const std::string& path, int seconds)
{
    const uint32_t rate = 22050;
    const uint32_t dataBytes = rate * 2 * seconds;
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, rate);
    put32(out, rate * 2);
    put16(out, 2);
    put16(out, 16);
    out.write("data", 4);
    put32(out, dataBytes);
    for (uint32_t i = 0; i < dataBytes / 2; ++i)
        put16(out, uint16_t((i % 50) * 100));
}

struct AfterSetup {
    int frequency = 0, channels = 0, mixChannels = 0;
    Uint16 format = 0;
    int musicVol = 0, soundVol = 0, mixerMusic = 0, mixerSound = 0;
};

}  // namespace

// One audio set-up per process, in a temporary folder holding every effect but one
// and the menu music (when an encoder is at hand) but not the game music.
class SoundTest : public ::testing::Test {
public:
    static void SetUpTestSuite()
    {
        home = fs::current_path();
        folder = fs::temp_directory_path() / ("zynthra-sound-" + std::to_string(getpid()));
        fs::create_directories(folder);
        fs::current_path(folder);
        // Every effect the game ships, under its own name, long enough to still be playing.
        for (const fs::directory_entry& shipped : fs::directory_iterator(ZYNTHRA_DATA_DIR)) {
            const fs::path name = shipped.path().filename();
            if (name.extension() == ".wav" && name != missingEffect)
                writeWav(name, 5);
        }
        writeWav("tone.wav", 2);
        haveMenuMusic = system("oggenc -Q -o menuLoop.ogg tone.wav >/dev/null 2>&1") == 0;

        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setupAudio();
        Mix_QuerySpec(&start.frequency, &start.format, &start.channels);
        start.mixChannels = Mix_AllocateChannels(-1);
        start.musicVol = getMusicVol();
        start.soundVol = getSoundVol();
        start.mixerMusic = Mix_VolumeMusic(-1);
        start.mixerSound = Mix_Volume(-1, -1);
    }
    static void TearDownTestSuite()
    {
        fs::current_path(home);
        fs::remove_all(folder);
    }

protected:
    void SetUp() override
    {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
    }

    static fs::path home, folder;
    static bool haveMenuMusic;
    static AfterSetup start;
};

fs::path SoundTest::home, SoundTest::folder;
bool SoundTest::haveMenuMusic = false;
AfterSetup SoundTest::start;

TEST_F(SoundTest, OpensTheMixerAsAskedWithDefaultVolumes)
{
    EXPECT_EQ(start.frequency, 22050);
    EXPECT_EQ(start.format, AUDIO_S16LSB);
    EXPECT_EQ(start.channels, 2);
    EXPECT_EQ(start.mixChannels, 32);
    EXPECT_EQ(start.musicVol, 50);
    EXPECT_EQ(start.soundVol, 40);
    EXPECT_EQ(start.mixerMusic, 64);
    EXPECT_EQ(start.mixerSound, 51);
}

TEST_F(SoundTest, LevelsMapOntoTheMixerRange)
{
    const int table[][2] = {{0, 0}, {10, 12}, {40, 51}, {50, 64}, {90, 115}, {100, 128}};
    for (const auto& row : table) {
        setMusicVolDirect(row[0]);
        setSoundVolDirect(row[0]);
        EXPECT_EQ(getMusicVol(), row[0]);
        EXPECT_EQ(getSoundVol(), row[0]);
        EXPECT_EQ(Mix_VolumeMusic(-1), row[1]) << "level " << row[0];
        EXPECT_EQ(Mix_Volume(-1, -1), row[1]) << "level " << row[0];
    }
}

TEST_F(SoundTest, LevelsAreClampedBothWays)
{
    setMusicVolDirect(100);
    setMusicVol(+1);
    EXPECT_EQ(getMusicVol(), 100);
    EXPECT_EQ(Mix_VolumeMusic(-1), 128);
    setSoundVolDirect(0);
    setSoundVol(-1);
    EXPECT_EQ(getSoundVol(), 0);
    EXPECT_EQ(Mix_Volume(-1, -1), 0);

    setSoundVolDirect(250);
    EXPECT_EQ(getSoundVol(), 100);
    EXPECT_EQ(Mix_Volume(-1, -1), 128);
    setMusicVolDirect(-3);
    EXPECT_EQ(getMusicVol(), 0);
    EXPECT_EQ(Mix_VolumeMusic(-1), 0);

    setMusicVolDirect(50);
    setMusicVol(-1);
    EXPECT_EQ(getMusicVol(), 49);
    EXPECT_EQ(Mix_VolumeMusic(-1), 62);
    setSoundVol(__INT_MAX__);
    EXPECT_EQ(getSoundVol(), 100) << "a huge step neither overflows nor wraps";
}

TEST_F(SoundTest, EffectsPlayByNumberAndMissingOnesAreSilent)
{
    for (int n = 0; n < NUM_SOUNDS; ++n)
        playSound(n);
    EXPECT_EQ(Mix_Playing(-1), NUM_SOUNDS - 1) << "every effect but the missing one plays";

    // Number 15 is outside the classic table even though its file is there.
    for (int outside : {-1, NUM_SOUNDS, 1000})
        playSound(outside);
    EXPECT_EQ(Mix_Playing(-1), NUM_SOUNDS - 1);
    Mix_HaltChannel(-1);
    playSound(SOUND_ASTEROID_BREAKS);
    EXPECT_EQ(Mix_Playing(-1), 0) << missingEffect << " is the asteroid breaking";
#ifdef ZYNTHRA_CLASSIC
    EXPECT_EQ(NUM_SOUNDS, 15);
#else
    EXPECT_EQ(NUM_SOUNDS, 16);
#endif
}

TEST_F(SoundTest, MusicSwitchesAndAMissingTrackIsSilent)
{
    if (!haveMenuMusic)
        GTEST_SKIP() << "oggenc could not make a music track";
    playMenuMusic();
    EXPECT_TRUE(Mix_PlayingMusic());
    playGameMusic();
    EXPECT_FALSE(Mix_PlayingMusic()) << "the menu track stops; the game track is missing";
    playMenuMusic();
    EXPECT_TRUE(Mix_PlayingMusic());
}

TEST(SoundDeathTest, AudioThatCannotOpenIsAFailure)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
            setupAudio();
        },
        testing::ExitedWithCode(1), "Unable to open audio!");
}
