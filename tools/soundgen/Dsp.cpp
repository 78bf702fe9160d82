#include "Dsp.h"

#include <algorithm>
#include <cmath>

namespace soundgen {

Rng::Rng(uint32_t seed) : state(seed ? seed : 0x9e3779b9u) {}

float Rng::uniform()
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<float>(state >> 8) * (2.0f / 16777216.0f) - 1.0f;
}

float Rng::range(float lo, float hi)
{
    return lo + (hi - lo) * 0.5f * (uniform() + 1.0f);
}

namespace {

// The polynomial correction that rounds off a unit step at phase 0 (dt = phase step).
float polyBlep(float t, float dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

}  // namespace

Oscillator::Oscillator(Wave wave, float pulseWidth, float startPhase)
    : wave(wave), pulseWidth(pulseWidth), phase(startPhase - std::floor(startPhase))
{
}

float Oscillator::next(float frequency)
{
    const float dt = std::min(frequency / kSampleRate, 0.5f);
    float out = 0.0f;
    switch (wave) {
    case Wave::Sine:
        out = std::sin(2.0f * kPi * phase);
        break;
    case Wave::Triangle:
        out = 1.0f - 4.0f * std::fabs(phase - 0.5f);
        break;
    case Wave::Saw:
        out = 2.0f * phase - 1.0f - polyBlep(phase, dt);
        break;
    case Wave::Square: {
        const float fall = phase + 1.0f - pulseWidth;
        out = (phase < pulseWidth ? 1.0f : -1.0f) + polyBlep(phase, dt) - polyBlep(fall - std::floor(fall), dt);
        break;
    }
    }
    phase += dt;
    phase -= std::floor(phase);
    return out;
}

Svf::Out Svf::process(float in, float cutoffHz, float q)
{
    const float fc = std::clamp(cutoffHz, 10.0f, 0.45f * kSampleRate);
    const float g = std::tan(kPi * fc / kSampleRate);
    const float k = 1.0f / q;
    const float a1 = 1.0f / (1.0f + g * (g + k));
    const float a2 = g * a1;
    const float a3 = g * a2;
    const float v3 = in - ic2;
    const float v1 = a1 * ic1 + a2 * v3;
    const float v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2.0f * v1 - ic1;
    ic2 = 2.0f * v2 - ic2;
    return {v2, v1, in - k * v1 - v2};
}

float Reverb::Comb::process(float in, float fb, float damp)
{
    const float out = line[pos];
    store = out * (1.0f - damp) + store * damp;
    line[pos] = in + store * fb;
    pos = (pos + 1) % line.size();
    return out;
}

float Reverb::Allpass::process(float in)
{
    const float delayed = line[pos];
    line[pos] = in + delayed * 0.5f;
    pos = (pos + 1) % line.size();
    return delayed - in;
}

Reverb::Side::Side(int spread)
{
    static const int combLengths[4] = {558, 594, 639, 678};
    static const int allpassLengths[2] = {278, 220};
    for (int i = 0; i < 4; ++i)
        combs[i].line.assign(combLengths[i] + spread, 0.0f);
    for (int i = 0; i < 2; ++i)
        allpasses[i].line.assign(allpassLengths[i] + spread, 0.0f);
}

float Reverb::Side::process(float in, float fb, float damp)
{
    float sum = 0.0f;
    for (auto& comb : combs)
        sum += comb.process(in, fb, damp);
    for (auto& allpass : allpasses)
        sum = allpass.process(sum);
    return sum;
}

Reverb::Reverb(float roomSize, float damping) : feedback(roomSize), damping(damping), left(0), right(12) {}

void Reverb::process(float inL, float inR, float& wetL, float& wetR)
{
    // Four combs in parallel add up loudly: scale the input so the wet level is near the dry.
    constexpr float inputGain = 0.06f;
    wetL = left.process(inL * inputGain, feedback, damping);
    wetR = right.process(inR * inputGain, feedback, damping);
}

DelayLine::DelayLine(size_t delaySamples) : line(std::max<size_t>(delaySamples, 1), 0.0f) {}

float DelayLine::process(float in)
{
    const float out = line[pos];
    line[pos] = in;
    pos = (pos + 1) % line.size();
    return out;
}

float attackDecay(float t, float attack, float decayTau)
{
    if (t < 0.0f)
        return 0.0f;
    if (t < attack)
        return t / attack;
    return std::exp(-(t - attack) / decayTau);
}

float gate(float t, float attack, float hold, float release)
{
    return smoothStep(0.0f, attack, t) * (1.0f - smoothStep(hold, hold + release, t));
}

float glide(float from, float to, float progress)
{
    return from * std::pow(to / from, std::clamp(progress, 0.0f, 1.0f));
}

float smoothStep(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

float midiToHz(float note)
{
    return 440.0f * std::pow(2.0f, (note - 69.0f) / 12.0f);
}

float softClip(float x)
{
    return std::tanh(x);
}

std::vector<float> silence(float seconds)
{
    return std::vector<float>(samplesIn(seconds), 0.0f);
}

void addThump(std::vector<float>& out, float fromHz, float toHz, float sweepSeconds, float decayTau, float gain)
{
    Oscillator body(Wave::Sine);
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = timeOf(i);
        out[i] += gain * attackDecay(t, 0.002f, decayTau) * body.next(glide(fromHz, toHz, t / sweepSeconds));
    }
}

void addNoiseBurst(std::vector<float>& out, Rng& rng, float fromHz, float toHz, float sweepSeconds, float decayTau,
                   float gain)
{
    Svf tone;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = timeOf(i);
        const float filtered = tone.lowPass(rng.uniform(), glide(fromHz, toHz, t / sweepSeconds));
        out[i] += gain * attackDecay(t, 0.002f, decayTau) * filtered;
    }
}

void addReverb(std::vector<float>& samples, float roomSize, float damping, float wet)
{
    Reverb room(roomSize, damping);
    for (float& s : samples) {
        float wetL, wetR;
        room.process(s, s, wetL, wetR);
        s += wet * 0.5f * (wetL + wetR);
    }
}

}  // namespace soundgen
