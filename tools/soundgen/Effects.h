#pragma once

#include <cstdint>
#include <vector>

#include "Audio.h"
#include "Dsp.h"

namespace soundgen {

// How one synthesised effect is made and finished.
struct EffectRecipe {
    const char* fileName;
    uint32_t seed;         // each effect draws its own noise, so one can change alone
    float peakDb;          // loudness relative to the others: frequent sounds sit lower
    float fadeOutSeconds;  // the closing ramp, longer where a tail rings on
    std::vector<float> (*make)(Rng& rng);
};

// The synthesised effects (the voice lines are made by the generate script).
const std::vector<EffectRecipe>& effectRecipes();

// Synthesises one effect and finishes it: edge fades, then its peak level (mono).
Audio renderEffect(const EffectRecipe& recipe);

}  // namespace soundgen
