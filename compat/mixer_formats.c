/* Debian's static SDL_mixer is built with every music format it knows, each
 * player in an object of its own that the library's table of players names.
 * The game plays Ogg Vorbis music and WAV effects only: the other players'
 * entries are defined here, so their objects and the decoders they need
 * (FLAC, FluidSynth with GLib and JACK, ModPlug, mpg123, Opus, the MIDI synth,
 * external commands) stay out of the program. An entry of zeros is a player
 * that is not there: never loaded nor opened, so never chosen. Each is larger
 * than the library's own entry (26 pointers on aarch64, 28 words on armhf). */
#define ABSENT_PLAYER(name)                     \
    extern void* Mix_MusicInterface_##name[32]; \
    void* Mix_MusicInterface_##name[32]

ABSENT_PLAYER(CMD);
ABSENT_PLAYER(FLAC);
ABSENT_PLAYER(FLUIDSYNTH);
ABSENT_PLAYER(MODPLUG);
ABSENT_PLAYER(MPG123);
ABSENT_PLAYER(Opus);
ABSENT_PLAYER(TIMIDITY);
