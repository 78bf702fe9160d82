/* zynthra-soundcheck: ends with status 0 when SDL 1.2 can open the sound device
 * the way the game does (22050 Hz, 16-bit stereo) with the settings it was
 * started with, else 1. The launcher asks it before starting the game, so that
 * stale sound settings make the game play silent instead of failing. */
#include <SDL/SDL.h>

static void silence(void* unused, Uint8* stream, int length)
{
    (void)unused;
    SDL_memset(stream, 0, length);
}

int main(int argc, char** argv)
{
    (void)argc;
    (void)argv;
    if (SDL_Init(SDL_INIT_AUDIO) != 0)
        return 1;
    SDL_AudioSpec wanted = {0};
    wanted.freq = 22050;
    wanted.format = AUDIO_S16LSB;
    wanted.channels = 2;
    wanted.samples = 4096;
    wanted.callback = silence;
    const int opened = SDL_OpenAudio(&wanted, NULL) == 0;
    if (opened)
        SDL_CloseAudio();
    SDL_Quit();
    return opened ? 0 : 1;
}
