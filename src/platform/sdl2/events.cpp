#include "sdl2_backend.h"

namespace {

// F11 switches the window to full screen and back: the window's, not the game's.
bool isWindowEvent(const SDL_Event& event)
{
    return event.type == SDL_WINDOWEVENT || event.type == SDL_QUIT ||
           (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_F11);
}

}  // namespace

void pumpEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (isWindowEvent(event))
            noteWindowEvent(event);
        else
            noteInputEvent(event);
    }
}
