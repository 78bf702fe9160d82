#include "display.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "constants.h"
#include "files.h"
#include "png_support.h"
#include "sdl2_backend.h"

// The SDL 2 edition's display: a resizable window with an OpenGL ES 1.1
// context, the picture letterboxed 5:3 in it at any size.

namespace {

SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
SDL_Cursor* crosshair = nullptr;
// The window's drawable size and the picture's place in it, in pixels.
int windowWidth = SCREEN_WIDTH;
int windowHeight = SCREEN_HEIGHT;
Viewport picture = {0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
bool onHandheldScreen = false;
bool vsync = false;
WindowEvents pendingEvents;
// Files to write the next presented frame into: scripts' snaps and Select's screenshots.
std::vector<std::string> pendingSnaps;
// A script's quit waits for the snaps it asked for before it.
bool closeAfterSnaps = false;

#ifdef ZYNTHRA_CLASSIC
const char windowTitle[] = "Zynthra Classic";
const char iconFile[] = "iconClassic.png";
#else
const char windowTitle[] = "Zynthra";
const char iconFile[] = "icon.png";
#endif

// The edition's promise where no window or context can be had: one line
// naming the reason, and status 1.
[[noreturn]] void cannotDisplay(const char* what)
{
    printf("%s: %s\n", what, SDL_GetError());
    fflush(stdout);
    closeGLES();
    exit(1);
}

void applyViewport()
{
    SDL_GL_GetDrawableSize(window, &windowWidth, &windowHeight);
    picture = letterbox(windowWidth, windowHeight);
    glViewport(picture.x, picture.y, picture.width, picture.height);
}

// The desktop shows the game's icon beside its title; without it, SDL's.
void setIcon()
{
    FILE* file = fopen(dataPath(iconFile).c_str(), "rb");
    if (file == nullptr)
        return;
    std::vector<unsigned char> pixels;
    int width = 0, height = 0;
    const int components = decodePng(file, iconFile, largestImageSide, pixels, width, height);
    fclose(file);
    if (components != 3 && components != 4)
        return;
    SDL_Surface* icon =
        SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), width, height, components * 8, width * components,
                                           components == 4 ? SDL_PIXELFORMAT_RGBA32 : SDL_PIXELFORMAT_RGB24);
    if (icon == nullptr)
        return;
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

void openWindow(bool fullScreen)
{
    SDL_DisplayMode screen;
    if (SDL_GetDesktopDisplayMode(0, &screen) != 0)
        cannotDisplay("No screen to open the game's window on");
    onHandheldScreen = screen.w == SCREEN_WIDTH && screen.h == SCREEN_HEIGHT;
    const int scale = windowScale(screen.w, screen.h);

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // The handheld's screen is always taken whole; a desktop's only when asked.
    const bool full = fullScreen || onHandheldScreen;
    // Hidden until its icon is set: the desktop shows the window whole from its first look.
    const Uint32 flags =
        SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN | (full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    // Full screen opens at the screen's size: where no window manager carries
    // out the request (a bare X server), the window keeps the size it opened at.
    window = SDL_CreateWindow(windowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                              full ? screen.w : SCREEN_WIDTH * scale, full ? screen.h : SCREEN_HEIGHT * scale, flags);
    if (window == nullptr)
        cannotDisplay("No window with OpenGL ES 1.1 could be opened");
}

void toggleFullScreen()
{
    const bool full = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    SDL_SetWindowFullscreen(window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

// The window's pixels as drawn, bars included, top row first.
void writeWindow(const std::string& path)
{
    std::vector<unsigned char> pixels((size_t)windowWidth * windowHeight * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, windowWidth, windowHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    const size_t rowBytes = (size_t)windowWidth * 4;
    std::vector<unsigned char> flipped(pixels.size());
    for (int y = 0; y < windowHeight; y++)
        std::copy_n(&pixels[(size_t)(windowHeight - 1 - y) * rowBytes], rowBytes, &flipped[(size_t)y * rowBytes]);
    if (!writePng(path.c_str(), windowWidth, windowHeight, flipped.data()))
        printf("The picture could not be saved as %s\n", path.c_str());
}

}  // namespace

int initDisplay(bool fullScreen)
{
    // The program's own signal handlers end it as "Quit" does.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER) != 0)
        cannotDisplay("SDL could not start its video");
    openWindow(fullScreen);
    setIcon();
    SDL_ShowWindow(window);
    context = SDL_GL_CreateContext(window);
    if (context == nullptr)
        cannotDisplay("This system offers no OpenGL ES 1.1");
    SDL_GL_MakeCurrent(window, context);
    // The mouse aims: a crosshair shows where.
    crosshair = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_CROSSHAIR);
    SDL_SetCursor(crosshair);
    applyViewport();
    return 0;
}

void closeGLES()
{
    if (context != nullptr)
        SDL_GL_DeleteContext(context);
    if (window != nullptr)
        SDL_DestroyWindow(window);
    if (crosshair != nullptr)
        SDL_FreeCursor(crosshair);
    context = nullptr;
    window = nullptr;
    crosshair = nullptr;
    SDL_Quit();
}

void setSwapInterval(int iv)
{
    vsync = SDL_GL_SetSwapInterval(iv) == 0 && iv != 0;
}

void setupFramePacing()
{
    // The fixed step keeps the game's speed; vsync only spares drawing frames
    // the display would never show.
    setSwapInterval(1);
}

bool presentsAtDisplayPace()
{
    return vsync;
}

void swapBuffers()
{
    clearBars(picture, windowWidth, windowHeight);
    for (const std::string& path : pendingSnaps)
        writeWindow(path);
    pendingSnaps.clear();
    if (closeAfterSnaps)
        pendingEvents.closeRequested = true;
    closeAfterSnaps = false;
    SDL_GL_SwapWindow(window);
}

void requestClose()
{
    if (pendingSnaps.empty())
        pendingEvents.closeRequested = true;
    else
        closeAfterSnaps = true;
}

bool pictureAwaited()
{
    return !pendingSnaps.empty();
}

void snapWindowAfterDraw(const std::string& path)
{
    pendingSnaps.push_back(path);
}

// Select's screenshot: the frame drawn next, named by the second as the
// handheld names its own.
void takeScreenshot()
{
    char name[64];
    const time_t now = time(nullptr);
    strftime(name, sizeof name, "screen%y%m%d-%H%M%S.png", localtime(&now));
    snapWindowAfterDraw(savePath(name));
}

Viewport getViewport()
{
    return picture;
}

void noteWindowEvent(const SDL_Event& event)
{
    if (event.type == SDL_QUIT) {
        pendingEvents.closeRequested = true;
        return;
    }
    if (event.type == SDL_KEYDOWN) {
        if (!event.key.repeat)
            toggleFullScreen();
        return;
    }
    switch (event.window.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        applyViewport();
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        pendingEvents.focusLost = true;
        break;
    case SDL_WINDOWEVENT_CLOSE:
        pendingEvents.closeRequested = true;
        break;
    default:
        break;
    }
}

WindowEvents pollWindowEvents()
{
    pumpEvents();
    const WindowEvents events = pendingEvents;
    pendingEvents = WindowEvents();
    return events;
}
