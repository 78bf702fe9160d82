/* zynthra-soundcheck: ends with status 0 when SDL 2 can open a sound device
 * the way the game does (22050 Hz, 16-bit stereo) with the settings it was
 * started with, else 1. The launcher asks it before starting the game, so that
 * stale sound settings make the game play silent instead of failing. */
#include <SDL2/SDL.h>

int main(int argc, char** argv)
{
    (void)argc;
    (void)argv;
    if (SDL_Init(SDL_INIT_AUDIO) != 0)
        return 1;
    SDL_AudioSpec wanted = {0};
    wanted.freq = 22050;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 4096;
    /* No callback: the device is queued to, so nothing runs while it is open. */
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(NULL, 0, &wanted, NULL, 0);
    if (device != 0)
        SDL_CloseAudioDevice(device);
    SDL_Quit();
    return device != 0 ? 0 : 1;
}
