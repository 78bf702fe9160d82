#include "Music.h"

#include <algorithm>
#include <cmath>

#include "Dsp.h"

namespace soundgen {

namespace {

// Runs a stateful stereo process over the loop twice and keeps the second pass: its state
// at the start then equals its state at the end, so echoes and reverb wrap seamlessly too
// (as long as their tails are shorter than the loop).
template <class Process>
void processLoop(Audio& loop, Process process)
{
    const Audio input = loop;
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < input.frames(); ++i) {
            float l = input.channels[0][i], r = input.channels[1][i];
            process(l, r);
            if (pass == 1) {
                loop.channels[0][i] = l;
                loop.channels[1][i] = r;
            }
        }
}

}  // namespace

LoopMix::LoopMix(size_t samplesPerBeat, int beats) : beatLength(samplesPerBeat)
{
    const size_t frames = samplesPerBeat * static_cast<size_t>(beats);
    dry.channels.assign(2, std::vector<float>(frames, 0.0f));
    send = dry;
}

void LoopMix::add(float beat, const std::vector<float>& voice, float gain, float pan, float sendLevel)
{
    const size_t frames = dry.frames();
    const size_t start = static_cast<size_t>(std::lround(beat * beatLength)) % frames;
    // Constant-power pan: a voice keeps its loudness wherever it sits.
    const float angle = 0.25f * kPi * (pan + 1.0f);
    const float sideGain[2] = {gain * std::cos(angle), gain * std::sin(angle)};
    for (size_t i = 0; i < voice.size(); ++i) {
        const size_t at = (start + i) % frames;
        for (int side = 0; side < 2; ++side) {
            dry.channels[side][at] += sideGain[side] * voice[i];
            send.channels[side][at] += sendLevel * sideGain[side] * voice[i];
        }
    }
}

Audio LoopMix::finish(const Space& space, float drive, float peakDb)
{
    Audio wet = send;
    const size_t echoDelay = static_cast<size_t>(space.echoBeats * beatLength);
    DelayLine pingLeft(echoDelay), pingRight(echoDelay);
    Reverb room(space.roomSize, space.damping);
    float lastRight = 0.0f;
    processLoop(wet, [&](float& l, float& r) {
        // Each repeat crosses sides: left after one delay, right after two, then round again.
        const float echoLeft = pingLeft.process(0.5f * (l + r) + space.echoFeedback * lastRight);
        const float echoRight = pingRight.process(echoLeft);
        lastRight = echoRight;
        float roomLeft, roomRight;
        room.process(l + echoLeft, r + echoRight, roomLeft, roomRight);
        l = space.echoLevel * echoLeft + space.roomLevel * roomLeft;
        r = space.echoLevel * echoRight + space.roomLevel * roomRight;
    });

    Audio mix = dry;
    for (int side = 0; side < 2; ++side)
        for (size_t i = 0; i < mix.frames(); ++i)
            mix.channels[side][i] += wet.channels[side][i];
    normalisePeak(mix, 0.0f);
    for (auto& channel : mix.channels)
        for (float& s : channel)
            s = softClip(drive * s);
    normalisePeak(mix, peakDb);
    return mix;
}

namespace {

// ---- Instruments: each renders one note as a mono voice, tail included. ----

std::vector<float> kick(Rng& rng)
{
    auto out = silence(0.35f);
    addThump(out, 160.0f, 45.0f, 0.12f, 0.16f, 1.0f);
    Svf click;
    for (size_t i = 0; i < out.size(); ++i)
        out[i] += 0.3f * attackDecay(timeOf(i), 0.0005f, 0.004f) * click.highPass(rng.uniform(), 3000.0f);
    return out;
}

// High-passed noise; `decayTau` sets closed (short) or open (long) hats and the cymbal.
std::vector<float> hat(Rng& rng, float decayTau)
{
    auto out = silence(decayTau * 7.0f);
    Svf bright;
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = attackDecay(timeOf(i), 0.0005f, decayTau) * bright.highPass(rng.uniform(), 7000.0f);
    return out;
}

std::vector<float> snare(Rng& rng)
{
    auto out = silence(0.3f);
    Svf low, high;
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = attackDecay(timeOf(i), 0.001f, 0.09f) * low.lowPass(high.highPass(rng.uniform(), 1200.0f), 8000.0f);
    addThump(out, 220.0f, 180.0f, 0.05f, 0.05f, 0.5f);
    return out;
}

std::vector<float> bass(float hz, float seconds)
{
    auto out = silence(seconds + 0.05f);
    Oscillator saw(Wave::Saw), sub(Wave::Square);
    Svf tone;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = timeOf(i);
        const float s = 0.7f * saw.next(hz) + 0.3f * sub.next(0.5f * hz);
        const float cutoff = 200.0f + 1800.0f * std::exp(-t / 0.07f);
        out[i] = gate(t, 0.003f, seconds, 0.04f) * tone.lowPass(s, cutoff, 1.3f);
    }
    return out;
}

std::vector<float> pluck(float hz)
{
    auto out = silence(0.35f);
    Oscillator pulse(Wave::Square, 0.3f);
    Svf tone;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = timeOf(i);
        const float cutoff = 700.0f + 4500.0f * std::exp(-t / 0.04f);
        out[i] = attackDecay(t, 0.002f, 0.09f) * tone.lowPass(pulse.next(hz), cutoff);
    }
    return out;
}

std::vector<float> lead(float hz, float seconds)
{
    auto out = silence(seconds + 0.1f);
    Oscillator sawA(Wave::Saw), sawB(Wave::Saw, 0.5f, 0.5f);
    Svf tone;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = timeOf(i);
        // Vibrato only once the note has spoken, as a player would.
        const float vibrato = 1.0f + 0.005f * smoothStep(0.12f, 0.3f, t) * std::sin(2.0f * kPi * 5.5f * t);
        const float s = 0.5f * (sawA.next(hz * vibrato * 1.0035f) + sawB.next(hz * vibrato * 0.9965f));
        const float level = gate(t, 0.01f, seconds, 0.08f) * (0.75f + 0.25f * std::exp(-t / 0.1f));
        out[i] = level * tone.lowPass(s, 3000.0f, 0.9f);
    }
    return out;
}

// Detuned saws under a low-pass that opens while the chord is held.
std::vector<float> pad(float hz, float hold, float attack, float release, float cutoff, Rng& rng)
{
    auto out = silence(hold + release);
    const float detune[3] = {1.0f, 1.006f, 0.994f};
    Oscillator saws[3] = {Oscillator(Wave::Saw, 0.5f, rng.range(0.0f, 1.0f)),
                          Oscillator(Wave::Saw, 0.5f, rng.range(0.0f, 1.0f)),
                          Oscillator(Wave::Saw, 0.5f, rng.range(0.0f, 1.0f))};
    Svf tone;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = timeOf(i);
        float s = 0.0f;
        for (int k = 0; k < 3; ++k)
            s += saws[k].next(hz * detune[k]) / 3.0f;
        const float opening = cutoff * (1.0f + 0.6f * smoothStep(0.0f, hold, t));
        out[i] = gate(t, attack, hold, release) * tone.lowPass(s, opening);
    }
    return out;
}

std::vector<float> subBass(float hz, float hold, float attack, float release)
{
    auto out = silence(hold + release);
    Oscillator sine(Wave::Sine);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = gate(timeOf(i), attack, hold, release) * sine.next(hz);
    return out;
}

// Two-operator FM: an inharmonic modulator whose depth dies away gives a glassy bell.
std::vector<float> bell(float hz)
{
    auto out = silence(2.5f);
    Oscillator modulator(Wave::Sine);
    float carrierPhase = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = timeOf(i);
        const float index = 2.0f * std::exp(-t / 0.4f);
        out[i] = attackDecay(t, 0.008f, 0.8f) * std::sin(2.0f * kPi * carrierPhase + index * modulator.next(3.5f * hz));
        carrierPhase += hz / kSampleRate;
        carrierPhase -= std::floor(carrierPhase);
    }
    return out;
}

// Tempos are picked so a beat is a whole number of samples: the grid then never drifts
// and the loop is exactly its bars long.
template <int beatsPerMinute>
constexpr size_t samplesPerBeatAt()
{
    static_assert(kSampleRate * 60 % beatsPerMinute == 0, "a beat must be a whole number of samples");
    return kSampleRate * 60 / beatsPerMinute;
}

float beatsToSeconds(float beats, size_t samplesPerBeat)
{
    return beats * samplesPerBeat / kSampleRate;
}

// ---- Menu music: D minor, four chords of two bars each. ----

struct PadChord {
    int tones[5];  // MIDI notes, lowest first; the lowest is also the sub's note
};

const PadChord menuChords[4] = {
    {{50, 57, 60, 64, 65}},  // Dm9
    {{46, 53, 57, 60, 62}},  // Bbmaj9
    {{43, 50, 53, 57, 58}},  // Gm9
    {{45, 52, 55, 62, 64}},  // A7sus4, leading back to the top
};

// ---- Game music: A minor, one chord a bar. ----

struct BarChord {
    int root;      // MIDI note of the bass
    int tones[3];  // the arpeggio's triad, lowest first
};

const BarChord gameChords[4] = {
    {45, {57, 60, 64}},  // Am
    {41, {57, 60, 65}},  // F
    {43, {59, 62, 67}},  // G
    {40, {56, 59, 64}},  // E
};

struct Note {
    float beat, length;
    int midi;
};

// The lead tune over the second half, beats counted from its first bar.
const Note gameTune[] = {
    {0, 1.5f, 76},  {1.5f, 0.5f, 74},  {2, 1, 72},        {3, 1, 69},                         // Am
    {4, 1, 72},     {5, 0.5f, 74},     {5.5f, 0.5f, 72},  {6, 2, 69},                         // F
    {8, 1.5f, 71},  {9.5f, 0.5f, 74},  {10, 1, 79},       {11, 0.5f, 77}, {11.5f, 0.5f, 76},  // G
    {12, 1, 74},    {13, 1, 71},       {14, 2, 68},                                           // E
    {16, 0.5f, 69}, {16.5f, 0.5f, 72}, {17, 1, 76},       {18, 1.5f, 81}, {19.5f, 0.5f, 79},  // Am
    {20, 1, 77},    {21, 0.5f, 76},    {21.5f, 0.5f, 74}, {22, 1, 72},    {23, 1, 69},        // F
    {24, 1, 71},    {25, 1, 74},       {26, 1, 79},       {27, 1, 83},                        // G
    {28, 1.5f, 80}, {29.5f, 0.5f, 76}, {30, 1, 74},       {31, 1, 71},                        // E
};

void addGameDrums(LoopMix& mix, Rng& rng, int bars)
{
    const int beats = bars * 4;
    const int lastBar = bars - 1;
    for (int beat = 0; beat < beats; ++beat) {
        const int bar = beat / 4, inBar = beat % 4;
        const bool secondHalf = bar >= bars / 2;
        mix.add(beat, kick(rng), 0.9f, 0.0f);
        // The last bar's backbeat gives way to the roll that leads into the top.
        if (inBar % 2 == 1 && !(bar == lastBar && inBar == 3))
            mix.add(beat, snare(rng), 0.5f, -0.1f, 0.2f);
        const bool openHat = inBar == 3 && bar % 2 == 1;
        mix.add(beat + 0.5f, hat(rng, openHat ? 0.09f : 0.025f), 0.22f, 0.3f);
        if (secondHalf) {
            mix.add(beat + 0.25f, hat(rng, 0.015f), 0.1f, 0.4f);
            mix.add(beat + 0.75f, hat(rng, 0.015f), 0.1f, 0.4f);
        }
    }
    for (int k = 0; k < 8; ++k)
        mix.add(beats - 2 + 0.25f * k, snare(rng), 0.25f + 0.06f * k, -0.1f, 0.2f);
    // A cymbal at the top and at the tune's entry.
    mix.add(0, hat(rng, 0.5f), 0.3f, 0.2f, 0.3f);
    mix.add(static_cast<float>(beats / 2), hat(rng, 0.5f), 0.3f, 0.2f, 0.3f);
}

void addGameHarmony(LoopMix& mix, Rng& rng, int bars)
{
    // Eighth-note bass: root, root, octave, root, root, octave, root, fifth.
    const int bassSteps[8] = {0, 0, 12, 0, 0, 12, 0, 7};
    // Sixteenth-note arpeggio up two octaves of the triad and back.
    const int arpSteps[8] = {0, 1, 2, 3, 4, 5, 4, 3};
    const size_t spb = mix.samplesPerBeat();
    for (int bar = 0; bar < bars; ++bar) {
        const BarChord& chord = gameChords[bar % 4];
        const float barStart = 4.0f * bar;
        for (int step = 0; step < 8; ++step) {
            const float hz = midiToHz(static_cast<float>(chord.root + bassSteps[step]));
            mix.add(barStart + 0.5f * step, bass(hz, beatsToSeconds(0.4f, spb)), 0.45f, 0.0f);
        }
        const float arpGain = bar < bars / 2 ? 0.2f : 0.14f;
        for (int step = 0; step < 16; ++step) {
            const int index = arpSteps[step % 8];
            const int midi = chord.tones[index % 3] + 12 * (index / 3);
            mix.add(barStart + 0.25f * step, pluck(midiToHz(static_cast<float>(midi))), arpGain,
                    step % 2 ? 0.4f : -0.4f, 0.3f);
        }
        for (int k = 0; k < 3; ++k)
            mix.add(
                barStart,
                pad(midiToHz(static_cast<float>(chord.tones[k])), beatsToSeconds(4.0f, spb), 0.05f, 0.3f, 900.0f, rng),
                0.12f, -0.5f + 0.5f * k, 0.3f);
    }
}

void addGameTune(LoopMix& mix, int firstBeat)
{
    const size_t spb = mix.samplesPerBeat();
    for (const Note& note : gameTune)
        mix.add(firstBeat + note.beat,
                lead(midiToHz(static_cast<float>(note.midi)), beatsToSeconds(0.9f * note.length, spb)), 0.5f, 0.1f,
                0.4f);
}

}  // namespace

Audio makeMenuLoop()
{
    constexpr int bars = 8;
    constexpr size_t samplesPerBeat = samplesPerBeatAt<75>();
    LoopMix mix(samplesPerBeat, bars * 4);
    Rng rng(0x3e2u);
    const float chordSeconds = beatsToSeconds(8.0f, samplesPerBeat);
    for (int c = 0; c < 4; ++c) {
        const PadChord& chord = menuChords[c];
        const float start = 8.0f * c;
        for (int k = 0; k < 5; ++k)
            mix.add(start, pad(midiToHz(static_cast<float>(chord.tones[k])), chordSeconds, 2.0f, 2.5f, 700.0f, rng),
                    0.2f, -0.5f + 0.25f * k, 0.5f);
        mix.add(start, subBass(midiToHz(static_cast<float>(chord.tones[0])), chordSeconds, 1.0f, 1.5f), 0.12f, 0.0f);
        // Bells on some of the eighths, picked from the chord an octave up.
        for (int eighth = 0; eighth < 16; ++eighth) {
            if (rng.range(0.0f, 1.0f) > 0.45f)
                continue;
            const int tone = chord.tones[std::min(4, static_cast<int>(rng.range(0.0f, 5.0f)))] + 12;
            mix.add(start + 0.5f * eighth, bell(midiToHz(static_cast<float>(tone))), rng.range(0.08f, 0.2f),
                    rng.range(-0.7f, 0.7f), 0.7f);
        }
    }
    return mix.finish({1.5f, 0.45f, 0.5f, 0.88f, 0.5f, 0.9f}, 1.0f, -3.0f);
}

Audio makeGameLoop()
{
    constexpr int bars = 16;
    constexpr size_t samplesPerBeat = samplesPerBeatAt<150>();
    LoopMix mix(samplesPerBeat, bars * 4);
    Rng rng(0x6a3eu);
    addGameDrums(mix, rng, bars);
    addGameHarmony(mix, rng, bars);
    addGameTune(mix, bars * 2);
    return mix.finish({0.75f, 0.35f, 0.35f, 0.75f, 0.5f, 0.5f}, 1.6f, -3.0f);
}

}  // namespace soundgen
