#include "Effects.h"

#include <algorithm>
#include <cmath>

namespace soundgen {

namespace {

// Short grains of band-passed noise scattered over `spread` seconds, denser and louder
// early on: the grit of rock breaking, or the crackle of debris.
void addRockCrunch(std::vector<float>& out, Rng& rng, int grains, float spread, float gain)
{
    for (int g = 0; g < grains; ++g) {
        const float when = spread * std::pow(rng.range(0.0f, 1.0f), 1.8f);
        const float length = rng.range(0.008f, 0.035f);
        const float centre = rng.range(350.0f, 2600.0f);
        const float level = gain * (1.0f - 0.7f * when / spread) * rng.range(0.5f, 1.0f);
        const size_t start = samplesIn(when);
        const size_t count = samplesIn(length);
        Svf band;
        for (size_t j = 0; j < count && start + j < out.size(); ++j)
            out[start + j] +=
                level * attackDecay(timeOf(j), 0.001f, length / 3.0f) * band.bandPass(rng.uniform(), centre, 2.5f);
    }
}

// A triangle ping with a little square for bite: the menu blips.
void addBlip(std::vector<float>& out, float startSeconds, float hz, float decayTau, float gain)
{
    Oscillator tri(Wave::Triangle), square(Wave::Square);
    Svf tone;
    const size_t start = samplesIn(startSeconds);
    for (size_t i = start; i < out.size(); ++i) {
        const float s = 0.75f * tri.next(hz) + 0.25f * tone.lowPass(square.next(hz), 4000.0f);
        out[i] += gain * attackDecay(timeOf(i - start), 0.002f, decayTau) * s;
    }
}

// Scales to full scale, then saturates: loud transients are tamed and tails come up.
void saturate(std::vector<float>& samples, float drive)
{
    const float peak = peakOf(samples);
    if (peak <= 0.0f)
        return;
    for (float& s : samples)
        s = softClip(drive * s / peak);
}

std::vector<float> makeLaser(Rng&)
{
    auto out = silence(0.12f);
    Oscillator pulse(Wave::Square, 0.25f), body(Wave::Triangle);
    Svf tone, dcBlock;  // a narrow pulse is off-centre: keep the wave centred on zero
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = timeOf(i);
        const float p = t / 0.12f;
        const float hz = glide(1700.0f, 380.0f, p);
        const float s = dcBlock.highPass(0.55f * pulse.next(hz) + 0.45f * body.next(0.5f * hz), 60.0f);
        out[i] = attackDecay(t, 0.002f, 0.03f) * tone.lowPass(s, glide(6000.0f, 900.0f, p), 0.9f);
    }
    return out;
}

std::vector<float> makeSplosion(Rng& rng)
{
    auto out = silence(0.45f);
    addNoiseBurst(out, rng, 4500.0f, 300.0f, 0.35f, 0.08f, 1.0f);
    addThump(out, 180.0f, 50.0f, 0.2f, 0.07f, 0.8f);
    addRockCrunch(out, rng, 6, 0.15f, 0.5f);
    return out;
}

std::vector<float> makeBomb(Rng& rng)
{
    auto out = silence(2.6f);
    addThump(out, 110.0f, 30.0f, 0.9f, 0.5f, 1.0f);
    addNoiseBurst(out, rng, 2500.0f, 90.0f, 1.8f, 0.6f, 1.0f);
    addRockCrunch(out, rng, 24, 1.0f, 0.35f);
    addReverb(out, 0.85f, 0.5f, 0.6f);
    saturate(out, 2.0f);
    return out;
}

std::vector<float> makeAsteroidBreakSoft(Rng& rng)
{
    auto out = silence(0.4f);
    addThump(out, 100.0f, 50.0f, 0.15f, 0.05f, 0.6f);
    addRockCrunch(out, rng, 14, 0.22f, 1.0f);
    addNoiseBurst(out, rng, 3000.0f, 400.0f, 0.2f, 0.04f, 0.4f);
    return out;
}

std::vector<float> makeAsteroidIncoming(Rng& rng)
{
    constexpr float length = 1.5f;
    auto out = silence(length);
    Svf wind, sirenTone;
    Oscillator siren(Wave::Saw), sub(Wave::Square);
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = timeOf(i);
        const float p = t / length;
        const float swell = smoothStep(0.0f, 1.2f, t) * (1.0f - smoothStep(1.3f, length, t));
        const float whoosh = wind.bandPass(rng.uniform(), glide(250.0f, 3500.0f, p), 1.5f);
        const float hz = glide(330.0f, 990.0f, p) * (1.0f + 0.02f * std::sin(2.0f * kPi * 6.0f * t));
        const float warble = 0.5f - 0.5f * std::cos(2.0f * kPi * 8.0f * t);
        const float alarm = sirenTone.lowPass(0.6f * siren.next(hz) + 0.4f * sub.next(0.5f * hz), 2800.0f);
        out[i] = swell * (0.6f * whoosh + 0.4f * (0.35f + 0.65f * warble) * alarm);
    }
    return out;
}

std::vector<float> makeMenuSelect(Rng&)
{
    auto out = silence(0.09f);
    addBlip(out, 0.0f, 988.0f, 0.015f, 0.8f);
    addBlip(out, 0.035f, 1319.0f, 0.02f, 1.0f);
    return out;
}

std::vector<float> makeMenuChange(Rng&)
{
    auto out = silence(0.06f);
    addBlip(out, 0.0f, 660.0f, 0.012f, 1.0f);
    return out;
}

std::vector<float> makePlayerDeath(Rng& rng)
{
    constexpr float length = 1.6f;
    auto out = silence(length);
    const float detune[3] = {1.0f, 1.012f, 0.985f};
    Oscillator saws[3] = {Oscillator(Wave::Saw, 0.5f, 0.0f), Oscillator(Wave::Saw, 0.5f, 0.33f),
                          Oscillator(Wave::Saw, 0.5f, 0.67f)};
    Svf tone;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = timeOf(i);
        const float p = t / 1.4f;
        const float vibrato = 1.0f + (0.01f + 0.05f * std::min(p, 1.0f)) * std::sin(2.0f * kPi * 7.0f * t);
        const float hz = glide(880.0f, 50.0f, p) * vibrato;
        float s = 0.0f;
        for (int k = 0; k < 3; ++k)
            s += saws[k].next(hz * detune[k]) / 3.0f;
        const float env = attackDecay(t, 0.004f, 0.9f) * (1.0f - smoothStep(1.1f, length, t));
        out[i] = env * tone.lowPass(s, glide(6000.0f, 250.0f, p), 1.2f);
    }
    addNoiseBurst(out, rng, 5000.0f, 200.0f, 0.6f, 0.18f, 0.5f);
    addThump(out, 140.0f, 40.0f, 0.5f, 0.3f, 0.7f);
    addReverb(out, 0.8f, 0.4f, 0.5f);
    return out;
}

std::vector<float> makeRez(Rng& rng)
{
    constexpr float length = 1.0f;
    constexpr float crest = 0.7f;
    auto out = silence(length);
    const float ratios[4] = {1.0f, 1.5f, 2.0f, 3.0f};
    Oscillator partials[4] = {Oscillator(Wave::Sine), Oscillator(Wave::Sine), Oscillator(Wave::Sine),
                              Oscillator(Wave::Sine)};
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = timeOf(i);
        const float base = glide(330.0f, 1320.0f, smoothStep(0.0f, 0.9f, t));
        float s = 0.0f;
        for (int k = 0; k < 4; ++k) {
            const float tremolo = 0.6f + 0.4f * std::sin(2.0f * kPi * (11.0f + 3.0f * k) * t);
            s += tremolo * partials[k].next(base * ratios[k]) / (1.0f + k);
        }
        const float rise = std::sin(0.5f * kPi * std::min(t / crest, 1.0f));
        const float fall = t < crest ? 1.0f : std::cos(0.5f * kPi * (t - crest) / (length - crest));
        out[i] = 0.5f * rise * rise * fall * fall * s;
    }
    // Sparkles: short high pings whose pitch climbs with the shimmer.
    for (int k = 0; k < 24; ++k) {
        const float when = rng.range(0.0f, 0.85f);
        const float hz = (1500.0f + 4000.0f * when / 0.85f) * rng.range(0.8f, 1.2f);
        Oscillator ping(Wave::Sine);
        for (size_t i = samplesIn(when); i < out.size(); ++i)
            out[i] += 0.12f * attackDecay(timeOf(i) - when, 0.005f, 0.03f) * ping.next(hz);
    }
    addReverb(out, 0.82f, 0.3f, 0.6f);
    return out;
}

std::vector<float> makeAsteroidBreak(Rng& rng)
{
    auto out = silence(2.2f);
    addThump(out, 85.0f, 28.0f, 0.7f, 0.35f, 1.0f);
    addNoiseBurst(out, rng, 3000.0f, 120.0f, 1.0f, 0.35f, 0.9f);
    addRockCrunch(out, rng, 40, 0.9f, 0.8f);
    addNoiseBurst(out, rng, 300.0f, 80.0f, 2.0f, 0.9f, 0.6f);
    addReverb(out, 0.8f, 0.5f, 0.4f);
    saturate(out, 1.8f);
    return out;
}

}  // namespace

const std::vector<EffectRecipe>& effectRecipes()
{
    static const std::vector<EffectRecipe> recipes = {
        {"laser4_soft.wav", 0x1a5e4u, -8.0f, 0.02f, makeLaser},
        {"splosion_soft.wav", 0x5b105u, -3.0f, 0.05f, makeSplosion},
        {"bomb1.wav", 0xb0b1u, -1.5f, 0.4f, makeBomb},
        {"asteroidBreak_soft.wav", 0xa57e5u, -4.0f, 0.05f, makeAsteroidBreakSoft},
        {"asteroidIncoming.wav", 0x1bc0u, -3.0f, 0.05f, makeAsteroidIncoming},
        {"menuSelect.wav", 0x5e1ecu, -6.0f, 0.01f, makeMenuSelect},
        {"menuChange.wav", 0xc4a6eu, -8.0f, 0.01f, makeMenuChange},
        {"playerDeath.wav", 0xdea7u, -1.5f, 0.2f, makePlayerDeath},
        {"rez.wav", 0x4e2u, -3.0f, 0.1f, makeRez},
        {"asteroidBreak.wav", 0xc4a5u, -1.5f, 0.4f, makeAsteroidBreak},
    };
    return recipes;
}

Audio renderEffect(const EffectRecipe& recipe)
{
    Rng rng(recipe.seed);
    Audio audio;
    audio.channels.push_back(recipe.make(rng));
    fadeEdges(audio.channels[0], 0.002f, recipe.fadeOutSeconds);
    normalisePeak(audio, recipe.peakDb);
    return audio;
}

}  // namespace soundgen
