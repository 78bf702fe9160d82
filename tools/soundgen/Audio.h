#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace soundgen {

// Every file the game loads is mixed at this rate, so nothing is resampled at run time.
constexpr int kSampleRate = 22050;

// Planar float audio: one vector per channel, all the same length, full scale at +-1.
struct Audio {
    std::vector<std::vector<float>> channels;

    size_t frames() const { return channels.empty() ? 0 : channels[0].size(); }
};

float peakOf(const std::vector<float>& samples);
float peakOf(const Audio& audio);

// False when any sample is NaN or infinite (an unstable filter, say).
bool allFinite(const Audio& audio);

// Scales the whole sound so its loudest sample sits at `dbfs` (below 0, for headroom).
void normalisePeak(Audio& audio, float dbfs);

// Raised-cosine ramps that take the first and last sample to exactly zero, so an effect
// never clicks when it starts or ends.
void fadeEdges(std::vector<float>& samples, float inSeconds, float outSeconds);

// Writes 16-bit PCM at kSampleRate; false when the file cannot be written.
bool writeWav(const std::string& path, const Audio& audio);

}  // namespace soundgen
