#pragma once

#include <cstddef>
#include <vector>

#include "Audio.h"

namespace soundgen {

// A stereo loop under construction. Notes are placed on a beat grid; whatever rings past
// the end wraps round into the start, so the last sample leads into the first as smoothly
// as any two neighbours and the loop has no seam.
class LoopMix {
public:
    LoopMix(size_t samplesPerBeat, int beats);

    size_t samplesPerBeat() const { return beatLength; }

    // Adds a mono voice from `beat` on, panned from -1 (left) to 1 (right); `send` is how
    // much of it also goes to the echo and room.
    void add(float beat, const std::vector<float>& voice, float gain, float pan, float send = 0.0f);

    // How the send bus sounds: a ping-pong echo and a room.
    struct Space {
        float echoBeats, echoFeedback, echoLevel;
        float roomSize, damping, roomLevel;
    };

    // Mixes the processed send bus into the loop, saturates the sum by `drive` (1 leaves it
    // nearly clean) and sets the peak to `peakDb`.
    Audio finish(const Space& space, float drive, float peakDb);

private:
    size_t beatLength;
    Audio dry, send;
};

// Calm, ambient menu music: slow pads, a soft sub and scattered bells (8 bars at 75 bpm).
Audio makeMenuLoop();

// Driving game music: four-to-the-floor drums, an eighth-note bass, a sixteenth-note
// arpeggio and, in its second half, a lead tune (16 bars at 150 bpm).
Audio makeGameLoop();

}  // namespace soundgen
