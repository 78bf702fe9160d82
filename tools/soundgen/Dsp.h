#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Audio.h"

namespace soundgen {

constexpr float kPi = 3.14159265358979f;

// Our own generator rather than <random>'s distributions, whose output differs between
// standard libraries: the same seed must give the same files everywhere.
class Rng {
public:
    explicit Rng(uint32_t seed);
    float uniform();                  // in [-1, 1)
    float range(float lo, float hi);  // in [lo, hi)

private:
    uint32_t state;
};

enum class Wave { Sine, Triangle, Saw, Square };

// Phase-accumulating oscillator; saw and square are band-limited (polyBLEP), since their
// naive forms alias audibly at a 22 kHz rate.
class Oscillator {
public:
    explicit Oscillator(Wave wave, float pulseWidth = 0.5f, float startPhase = 0.0f);
    float next(float frequency);  // the current sample, then advances by one sample

private:
    Wave wave;
    float pulseWidth;
    float phase;
};

// Topology-preserving state-variable filter: stable while the cutoff sweeps every sample.
class Svf {
public:
    struct Out {
        float low, band, high;
    };
    Out process(float in, float cutoffHz, float q);
    float lowPass(float in, float cutoffHz, float q = 0.707f) { return process(in, cutoffHz, q).low; }
    // Scaled to unity gain at the centre, whatever the q.
    float bandPass(float in, float cutoffHz, float q) { return process(in, cutoffHz, q).band / q; }
    float highPass(float in, float cutoffHz, float q = 0.707f) { return process(in, cutoffHz, q).high; }

private:
    float ic1 = 0.0f, ic2 = 0.0f;
};

// A small stereo room: parallel damped combs into series all-passes per side, the right
// side's delays a little longer than the left's for width.
class Reverb {
public:
    Reverb(float roomSize, float damping);
    void process(float inL, float inR, float& wetL, float& wetR);

private:
    struct Comb {
        std::vector<float> line;
        size_t pos = 0;
        float store = 0.0f;
        float process(float in, float feedback, float damping);
    };
    struct Allpass {
        std::vector<float> line;
        size_t pos = 0;
        float process(float in);
    };
    struct Side {
        Comb combs[4];
        Allpass allpasses[2];
        explicit Side(int spread);
        float process(float in, float feedback, float damping);
    };
    float feedback, damping;
    Side left, right;
};

// A plain delay line (one channel); echoes are built from it with their own feedback path.
class DelayLine {
public:
    explicit DelayLine(size_t delaySamples);
    float process(float in);  // the input of delaySamples ago

private:
    std::vector<float> line;
    size_t pos = 0;
};

// Envelopes and sweeps, all of time in seconds.
float attackDecay(float t, float attack, float decayTau);  // linear rise, exponential fall
// Smooth rise over `attack`, held until `hold`, smooth fall to exactly zero over `release`.
float gate(float t, float attack, float hold, float release);
float glide(float from, float to, float progress);  // exponential, progress clamped to 0..1
float smoothStep(float edge0, float edge1, float x);
float midiToHz(float note);
float softClip(float x);  // gentle saturation that stays inside +-1

inline float timeOf(size_t sample)
{
    return static_cast<float>(sample) / kSampleRate;
}
inline size_t samplesIn(float seconds)
{
    return static_cast<size_t>(seconds * kSampleRate);
}

// A mono sound of the given length, all zero.
std::vector<float> silence(float seconds);

// A sine that falls in pitch as it fades: the body of every impact and drum.
void addThump(std::vector<float>& out, float fromHz, float toHz, float sweepSeconds, float decayTau, float gain);

// Noise under a closing low-pass, fading: a blast and its rumble.
void addNoiseBurst(std::vector<float>& out, Rng& rng, float fromHz, float toHz, float sweepSeconds, float decayTau,
                   float gain);

// Runs a mono sound through the room and mixes the wet signal in.
void addReverb(std::vector<float>& samples, float roomSize, float damping, float wet);

}  // namespace soundgen
