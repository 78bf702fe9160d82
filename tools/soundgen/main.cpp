// Synthesises the game's sound effects and the two music loops.
//   soundgen EFFECTS_DIR MUSIC_DIR
// writes the effects as WAV into EFFECTS_DIR, and menuLoop.wav and musicLoop.wav (for the
// Vorbis encoder) into MUSIC_DIR. Every sound comes from a fixed seed: reruns give the same files.
#include <cstdio>
#include <string>

#include "Audio.h"
#include "Effects.h"
#include "Music.h"

namespace {

bool save(const std::string& dir, const std::string& name, const soundgen::Audio& audio)
{
    const std::string path = dir + "/" + name;
    if (!soundgen::allFinite(audio)) {
        std::fprintf(stderr, "soundgen: %s came out with invalid samples\n", name.c_str());
        return false;
    }
    if (soundgen::writeWav(path, audio))
        return true;
    std::fprintf(stderr, "soundgen: cannot write %s\n", path.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s EFFECTS_DIR MUSIC_DIR\n", argv[0]);
        return 2;
    }
    const std::string effectsDir = argv[1], musicDir = argv[2];
    bool ok = true;
    for (const auto& recipe : soundgen::effectRecipes())
        ok = save(effectsDir, recipe.fileName, soundgen::renderEffect(recipe)) && ok;
    ok = save(musicDir, "menuLoop.wav", soundgen::makeMenuLoop()) && ok;
    ok = save(musicDir, "musicLoop.wav", soundgen::makeGameLoop()) && ok;
    return ok ? 0 : 1;
}
