// The shipped sounds, decoded by SDL_mixer opened exactly as the game opens it: every
// effect and both music tracks load, are audible and never clip; effects are short and
// start and end at silence (no click); the music loops join without a seam.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The sound table's files, in sound-number order.
const char* const kEffects[16] = {
    "laser4_soft.wav",      "splosion_soft.wav", "bomb1.wav",          "asteroidBreak_soft.wav",
    "asteroidIncoming.wav", "menuSelect.wav",    "menuChange.wav",     "laserUpVoice.wav",
    "playerDeath.wav",      "rez.wav",           "extraBombVoice.wav", "extraLifeVoice.wav",
    "superLaserVoice.wav",  "gameOverVoice.wav", "asteroidBreak.wav",  "extraDecoyBombVoice.wav",
};
const char* const kMusic[2] = {"menuLoop.ogg", "musicLoop.ogg"};

constexpr int kRate = 22050;
constexpr int kClipLimit = 29204;  // -1 dBFS: headroom left for the mixer
constexpr int kAudible = 1036;     // -30 dBFS
constexpr int kNearSilence = 328;  // -40 dBFS

std::string dataPath(const char* name)
{
    return std::string(ZYNTHRA_DATA_DIR) + "/" + name;
}

// A sound as the mixer holds it: interleaved signed 16-bit stereo at 22050 Hz.
struct Decoded {
    std::vector<int16_t> left, right;

    size_t frames() const { return left.size(); }
    double seconds() const { return static_cast<double>(frames()) / kRate; }
    int peak() const
    {
        int peak = 0;
        for (const auto* side : {&left, &right})
            for (int16_t s : *side)
                peak = std::max(peak, std::abs(static_cast<int>(s)));
        return peak;
    }
};

// Mix_LoadWAV also decodes Ogg Vorbis, which lets the music's samples be inspected too.
bool decode(const char* name, Decoded& out)
{
    Mix_Chunk* chunk = Mix_LoadWAV(dataPath(name).c_str());
    if (!chunk)
        return false;
    std::vector<int16_t> samples(chunk->alen / sizeof(int16_t));
    std::memcpy(samples.data(), chunk->abuf, samples.size() * sizeof(int16_t));
    Mix_FreeChunk(chunk);
    for (size_t i = 0; i + 1 < samples.size(); i += 2) {
        out.left.push_back(samples[i]);
        out.right.push_back(samples[i + 1]);
    }
    return true;
}

// Reads a little-endian field of `bytes` bytes.
uint32_t le(const unsigned char* at, int bytes)
{
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | at[i];
    return value;
}

struct WavFormat {
    uint32_t pcmTag = 0, channels = 0, rate = 0, bits = 0;
};

// The "fmt " chunk of a RIFF WAVE file; false when the file is not one.
bool readWavFormat(const char* name, WavFormat& format)
{
    std::ifstream in(dataPath(name), std::ios::binary);
    unsigned char header[12];
    if (!in.read(reinterpret_cast<char*>(header), 12))
        return false;
    if (std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0)
        return false;
    unsigned char chunk[8];
    while (in.read(reinterpret_cast<char*>(chunk), 8)) {
        const uint32_t size = le(chunk + 4, 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            unsigned char body[16];
            if (size < 16 || !in.read(reinterpret_cast<char*>(body), 16))
                return false;
            format = {le(body, 2), le(body + 2, 2), le(body + 4, 4), le(body + 14, 2)};
            return true;
        }
        in.seekg(size + (size & 1), std::ios::cur);  // chunks are padded to even sizes
    }
    return false;
}

double rms(const std::vector<int16_t>& samples, size_t from, size_t count)
{
    double sum = 0.0;
    for (size_t i = from; i < from + count; ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(sum / count);
}

// The step that 99.9% of neighbouring samples stay within.
int typicalLargestStep(const std::vector<int16_t>& samples)
{
    std::vector<int> steps;
    for (size_t i = 1; i < samples.size(); ++i)
        steps.push_back(std::abs(samples[i] - samples[i - 1]));
    const size_t at = steps.size() * 999 / 1000;
    std::nth_element(steps.begin(), steps.begin() + at, steps.end());
    return steps[at];
}

class SoundFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);  // no sound card on test machines
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(kRate, AUDIO_S16LSB, 2, 4096), 0) << Mix_GetError();
        int rate = 0, channels = 0;
        Uint16 format = 0;
        ASSERT_TRUE(Mix_QuerySpec(&rate, &format, &channels));
        ASSERT_EQ(rate, kRate);
        ASSERT_EQ(format, AUDIO_S16LSB);
        ASSERT_EQ(channels, 2);
    }
    static void TearDownTestSuite()
    {
        Mix_CloseAudio();
        SDL_Quit();
    }
};

TEST_F(SoundFiles, EffectsAreSixteenBitPcmAtTheMixerRate)
{
    for (const char* name : kEffects) {
        SCOPED_TRACE(name);
        WavFormat format;
        ASSERT_TRUE(readWavFormat(name, format));
        EXPECT_EQ(format.pcmTag, 1u);
        EXPECT_TRUE(format.channels == 1 || format.channels == 2) << format.channels;
        EXPECT_EQ(format.rate, static_cast<uint32_t>(kRate));
        EXPECT_EQ(format.bits, 16u);
    }
}

TEST_F(SoundFiles, EveryEffectLoadsAudibleUnclippedAndShort)
{
    for (const char* name : kEffects) {
        SCOPED_TRACE(name);
        Decoded sound;
        ASSERT_TRUE(decode(name, sound)) << Mix_GetError();
        EXPECT_GT(sound.peak(), kAudible);
        EXPECT_LE(sound.peak(), kClipLimit);
        EXPECT_GT(sound.seconds(), 0.03);
        EXPECT_LE(sound.seconds(), 3.0);
    }
}

TEST_F(SoundFiles, EffectsStartAndEndAtSilenceSoTheyNeverClick)
{
    for (const char* name : kEffects) {
        SCOPED_TRACE(name);
        Decoded sound;
        ASSERT_TRUE(decode(name, sound));
        ASSERT_GT(sound.frames(), 0u);
        for (const auto* side : {&sound.left, &sound.right}) {
            EXPECT_LE(std::abs(side->front()), kNearSilence);
            EXPECT_LE(std::abs(side->back()), kNearSilence);
        }
    }
}

TEST_F(SoundFiles, BothMusicTracksLoadAsMusic)
{
    for (const char* name : kMusic) {
        SCOPED_TRACE(name);
        Mix_Music* music = Mix_LoadMUS(dataPath(name).c_str());
        EXPECT_NE(music, nullptr) << Mix_GetError();
        if (music)
            Mix_FreeMusic(music);
    }
}

TEST_F(SoundFiles, MusicLoopsAreAudibleAndStayUnclippedAfterDecoding)
{
    for (const char* name : kMusic) {
        SCOPED_TRACE(name);
        Decoded loop;
        ASSERT_TRUE(decode(name, loop)) << Mix_GetError();
        EXPECT_GT(loop.peak(), kAudible);
        EXPECT_LE(loop.peak(), kClipLimit);
        EXPECT_GE(loop.seconds(), 10.0);
        EXPECT_LE(loop.seconds(), 40.0);
    }
}

// Looping forever, the last sample is followed by the first: that step must look like any
// other, and the music must neither fade out at the end nor fade in from silence.
TEST_F(SoundFiles, MusicLoopsJoinWithoutASeam)
{
    for (const char* name : kMusic) {
        SCOPED_TRACE(name);
        Decoded loop;
        ASSERT_TRUE(decode(name, loop));
        const size_t edge = kRate / 10;
        ASSERT_GT(loop.frames(), 4 * edge);
        for (const auto* side : {&loop.left, &loop.right}) {
            EXPECT_LE(std::abs(side->back() - side->front()), typicalLargestStep(*side));
            const double whole = rms(*side, 0, side->size());
            EXPECT_GT(rms(*side, 0, edge), 0.3 * whole);
            EXPECT_GT(rms(*side, side->size() - edge, edge), 0.3 * whole);
        }
    }
}

}  // namespace
