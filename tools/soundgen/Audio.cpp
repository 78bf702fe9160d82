#include "Audio.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>

namespace soundgen {

float peakOf(const std::vector<float>& samples)
{
    float peak = 0.0f;
    for (float s : samples)
        peak = std::max(peak, std::fabs(s));
    return peak;
}

float peakOf(const Audio& audio)
{
    float peak = 0.0f;
    for (const auto& channel : audio.channels)
        peak = std::max(peak, peakOf(channel));
    return peak;
}

bool allFinite(const Audio& audio)
{
    for (const auto& channel : audio.channels)
        for (float s : channel)
            if (!std::isfinite(s))
                return false;
    return true;
}

void normalisePeak(Audio& audio, float dbfs)
{
    const float peak = peakOf(audio);
    if (peak <= 0.0f)
        return;
    const float gain = std::pow(10.0f, dbfs / 20.0f) / peak;
    for (auto& channel : audio.channels)
        for (float& s : channel)
            s *= gain;
}

namespace {

// Rises from 0 at x = 0 to 1 at x = 1 with zero slope at both ends.
float raisedCosine(float x)
{
    return 0.5f - 0.5f * std::cos(3.14159265f * x);
}

void putLe(std::ofstream& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xff));
}

int16_t toPcm(float s)
{
    const float scaled = std::round(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    return static_cast<int16_t>(scaled);
}

}  // namespace

void fadeEdges(std::vector<float>& samples, float inSeconds, float outSeconds)
{
    const size_t n = samples.size();
    if (n < 2) {
        std::fill(samples.begin(), samples.end(), 0.0f);
        return;
    }
    const size_t fadeIn = std::clamp<size_t>(static_cast<size_t>(inSeconds * kSampleRate), 1, n - 1);
    const size_t fadeOut = std::clamp<size_t>(static_cast<size_t>(outSeconds * kSampleRate), 1, n - 1);
    for (size_t i = 0; i < fadeIn; ++i)
        samples[i] *= raisedCosine(static_cast<float>(i) / fadeIn);
    for (size_t i = 0; i < fadeOut; ++i)
        samples[n - 1 - i] *= raisedCosine(static_cast<float>(i) / fadeOut);
}

bool writeWav(const std::string& path, const Audio& audio)
{
    std::ofstream out(path, std::ios::binary);
    if (!out)
        return false;
    const uint32_t channels = static_cast<uint32_t>(audio.channels.size());
    const uint32_t blockAlign = channels * 2;
    const uint32_t dataBytes = static_cast<uint32_t>(audio.frames()) * blockAlign;

    out.write("RIFF", 4);
    putLe(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    putLe(out, 16, 4);  // size of the PCM format block
    putLe(out, 1, 2);   // PCM
    putLe(out, channels, 2);
    putLe(out, kSampleRate, 4);
    putLe(out, kSampleRate * blockAlign, 4);
    putLe(out, blockAlign, 2);
    putLe(out, 16, 2);
    out.write("data", 4);
    putLe(out, dataBytes, 4);
    for (size_t i = 0; i < audio.frames(); ++i)
        for (const auto& channel : audio.channels)
            putLe(out, static_cast<uint16_t>(toPcm(channel[i])), 2);
    return static_cast<bool>(out.flush());
}

}  // namespace soundgen
