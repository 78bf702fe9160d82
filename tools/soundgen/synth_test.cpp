// The synthesiser's building blocks: the WAV writer, levels and fades, oscillators and
// filters, and the loop mixer's wrap-around that keeps the music seamless.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "Audio.h"
#include "Dsp.h"
#include "Effects.h"
#include "Music.h"

using namespace soundgen;

namespace {

std::vector<unsigned char> readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t le(const std::vector<unsigned char>& bytes, size_t at, int size)
{
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | bytes[at + i];
    return value;
}

// The settled amplitude of a sine of `hz` after one pass through `filter`.
template <class Filter>
float amplitudeThrough(float hz, Filter filter)
{
    Oscillator tone(Wave::Sine);
    float peak = 0.0f;
    for (size_t i = 0; i < static_cast<size_t>(kSampleRate); ++i) {
        const float out = filter(tone.next(hz));
        if (i > static_cast<size_t>(kSampleRate / 2))
            peak = std::max(peak, std::fabs(out));
    }
    return peak;
}

// Only the dry notes, scaled to a peak of 1 (a tiny drive keeps the saturation linear).
Audio dryOnly(LoopMix& mix)
{
    return mix.finish({1.0f, 0.0f, 0.0f, 0.5f, 0.5f, 0.0f}, 1e-3f, 0.0f);
}

}  // namespace

TEST(Wav, HeaderDescribesTheInterleavedPcmThatFollows)
{
    Audio audio;
    audio.channels = {{0.0f, 0.5f, -1.0f}, {1.5f, -1.5f, 0.25f}};
    const std::string path = ::testing::TempDir() + "soundgen_header.wav";
    ASSERT_TRUE(writeWav(path, audio));
    const auto bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 44u + 12u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(le(bytes, 4, 4), bytes.size() - 8);
    EXPECT_EQ(le(bytes, 20, 2), 1u);  // PCM
    EXPECT_EQ(le(bytes, 22, 2), 2u);
    EXPECT_EQ(le(bytes, 24, 4), 22050u);
    EXPECT_EQ(le(bytes, 28, 4), 22050u * 4);
    EXPECT_EQ(le(bytes, 32, 2), 4u);
    EXPECT_EQ(le(bytes, 34, 2), 16u);
    EXPECT_EQ(le(bytes, 40, 4), 12u);
    // Frames interleave left and right; out-of-range values clamp instead of wrapping.
    const int16_t expected[6] = {0, 32767, 16384, -32767, -32767, 8192};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(static_cast<int16_t>(le(bytes, 44 + 2 * i, 2)), expected[i]) << i;
}

TEST(Wav, FailuresAreReported)
{
    Audio audio;
    audio.channels = {{0.0f, 0.1f}};
    EXPECT_FALSE(writeWav(::testing::TempDir() + "no-such-folder/x.wav", audio));
    EXPECT_TRUE(allFinite(audio));
    audio.channels[0][1] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(allFinite(audio));
}

TEST(Level, NormalisingSetsThePeakAndFadesEndAtExactZero)
{
    Audio audio;
    audio.channels = {std::vector<float>(2000, 0.5f)};
    audio.channels[0][1000] = -2.0f;
    normalisePeak(audio, -6.0f);
    EXPECT_NEAR(peakOf(audio), std::pow(10.0f, -6.0f / 20.0f), 1e-6f);

    auto& samples = audio.channels[0];
    const float middle = samples[1500];
    fadeEdges(samples, 0.01f, 0.02f);
    EXPECT_EQ(samples.front(), 0.0f);
    EXPECT_EQ(samples.back(), 0.0f);
    EXPECT_LT(std::fabs(samples[100]), std::fabs(middle));  // inside the 220-sample ramp in
    EXPECT_EQ(samples[1500], middle);                       // outside both ramps
}

TEST(Level, FadesLongerThanTheSoundStillEndAtZero)
{
    for (size_t length : {0u, 1u, 2u, 5u}) {
        std::vector<float> samples(length, 1.0f);
        fadeEdges(samples, 1.0f, 1.0f);
        if (length > 0) {
            EXPECT_EQ(samples.front(), 0.0f) << length;
            EXPECT_EQ(samples.back(), 0.0f) << length;
        }
    }
}

// Upward zero crossings over one second count the cycles.
TEST(Oscillators, EveryWaveRunsAtItsFrequencyWithinFullScale)
{
    for (Wave wave : {Wave::Sine, Wave::Triangle, Wave::Saw, Wave::Square}) {
        Oscillator osc(wave, 0.5f, 0.1f);
        int crossings = 0;
        float previous = osc.next(441.0f), peak = 0.0f;
        for (int i = 1; i < kSampleRate; ++i) {
            const float s = osc.next(441.0f);
            crossings += previous < 0.0f && s >= 0.0f;
            peak = std::max(peak, std::fabs(s));
            previous = s;
        }
        EXPECT_NEAR(crossings, 441, 1) << static_cast<int>(wave);
        EXPECT_LE(peak, 1.1f) << static_cast<int>(wave);
        EXPECT_GT(peak, 0.9f) << static_cast<int>(wave);
    }
}

TEST(Filters, LowPassKeepsLowTonesAndCutsHighOnes)
{
    Svf low, high;
    EXPECT_NEAR(amplitudeThrough(100.0f, [&](float s) { return low.lowPass(s, 1000.0f); }), 1.0f, 0.03f);
    EXPECT_LT(amplitudeThrough(5000.0f, [&](float s) { return high.lowPass(s, 1000.0f); }), 0.06f);
}

TEST(Filters, BandPassIsUnityAtItsCentreWhateverTheQ)
{
    for (float q : {0.7f, 2.5f, 8.0f}) {
        Svf band;
        EXPECT_NEAR(amplitudeThrough(1000.0f, [&](float s) { return band.bandPass(s, 1000.0f, q); }), 1.0f, 0.03f) << q;
    }
}

TEST(Filters, StaysFiniteWhenTheCutoffLeavesTheAudibleRange)
{
    Svf filter;
    Rng noise(7);
    Audio out;
    out.channels.resize(1);
    for (int i = 0; i < 4000; ++i) {
        const float cutoff = (i / 500) % 2 ? 0.0f : 40000.0f;
        out.channels[0].push_back(filter.process(noise.uniform(), cutoff, 0.5f).band);
    }
    EXPECT_TRUE(allFinite(out));
    EXPECT_LT(peakOf(out), 10.0f);
}

TEST(LoopMixing, NotesRingingPastTheEndWrapIntoTheStart)
{
    LoopMix mix(100, 4);  // 400 frames
    mix.add(3.5f, std::vector<float>(150, 1.0f), 1.0f, -1.0f);
    const Audio loop = dryOnly(mix);
    ASSERT_EQ(loop.frames(), 400u);
    for (size_t i = 0; i < 400; ++i) {
        const bool sounding = i >= 350 || i < 100;
        EXPECT_NEAR(loop.channels[0][i], sounding ? 1.0f : 0.0f, 1e-4f) << i;
        EXPECT_NEAR(loop.channels[1][i], 0.0f, 1e-6f) << i;  // hard left
    }
}

TEST(LoopMixing, CentredNotesKeepTheirPowerAcrossBothSides)
{
    LoopMix mix(100, 4);
    mix.add(0.0f, std::vector<float>(10, 1.0f), 1.0f, 0.0f);
    const Audio loop = dryOnly(mix);
    EXPECT_NEAR(loop.channels[0][5], loop.channels[1][5], 1e-6f);
}

// An echo of a note near the end must come back at the start, as it would while looping.
TEST(LoopMixing, EchoesWrapRoundTheLoopToo)
{
    LoopMix mix(1000, 8);  // 8000 frames; the echo comes one beat later on the left, two on the right
    mix.add(7.5f, {1.0f}, 1.0f, 0.0f, 1.0f);
    const Audio loop = mix.finish({1.0f, 0.0f, 1.0f, 0.5f, 0.5f, 0.0f}, 1e-3f, 0.0f);
    const float note = loop.channels[0][7500];
    EXPECT_GT(note, 0.5f);
    EXPECT_NEAR(loop.channels[0][500], note, 1e-3f);
    EXPECT_NEAR(loop.channels[1][1500], loop.channels[1][7500], 1e-3f);
    EXPECT_NEAR(loop.channels[0][1500], 0.0f, 1e-6f);  // no feedback: one repeat a side
}

TEST(EffectRecipes, EveryRecipeIsFiniteSilentAtItsEdgesAndAtItsPeakLevel)
{
    for (const EffectRecipe& recipe : effectRecipes()) {
        SCOPED_TRACE(recipe.fileName);
        const Audio sound = renderEffect(recipe);
        ASSERT_EQ(sound.channels.size(), 1u);
        ASSERT_TRUE(allFinite(sound));
        EXPECT_EQ(sound.channels[0].front(), 0.0f);
        EXPECT_EQ(sound.channels[0].back(), 0.0f);
        EXPECT_NEAR(20.0f * std::log10(peakOf(sound)), recipe.peakDb, 0.01f);
    }
}
