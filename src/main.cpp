#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "Game.h"
#include "Menus.h"
#include "Sound.h"
#include "controller_support.h"
#include "display.h"
#include "frame_clock.h"
#include "gl_support.h"

// Program-lifetime objects. The order matters: game is constructed before
// menu, whose constructor already reads the high-score file.
Game game;
Menu menu;
Controller controller;
int keys[256];
timespec start, end;

// Seconds from start to end; the sub-second part carries single precision.
double diff(timespec start, timespec end)
{
    long seconds = end.tv_sec - start.tv_sec;
    long nanoseconds = end.tv_nsec - start.tv_nsec;
    if (nanoseconds < 0) {
        seconds -= 1;
        nanoseconds += 1000000000;
    }
    return (double)seconds + (double)((float)nanoseconds * 1e-9f);
}

static void runFrame(double dT)
{
    switch (game.gameMode) {
    case MODE_PLAYING:
    case MODE_PAUSED:
        game.updateFrame(dT);
        game.draw(dT);
        // The pause menu reads the keyboard as the other menus do (on a desktop,
        // Escape then goes back from its options instead of resuming).
        if (game.paused)
            updateKeyboard(keys);
        break;
    case MODE_MENUS:
        menu.menuPollInput(dT);
        menu.drawMenu(dT);
        updateKeyboard(keys);
        break;
    default:
        break;
    }
}

// Set by a signal that asks the program to end (a logout, a firmware's exit
// key, Ctrl+C); the frame loop ends it as the close button does.
static volatile sig_atomic_t endRequested = 0;

static void requestEnd(int)
{
    endRequested = 1;
}

// A second signal of the same kind ends the program at once, should the first
// find it stuck; one the program was started to ignore (nohup) stays ignored.
static void endOnSignals()
{
    struct sigaction action = {};
    action.sa_handler = requestEnd;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : {SIGTERM, SIGHUP, SIGINT}) {
        struct sigaction previous = {};
        if (sigaction(signalNumber, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN)
            sigaction(signalNumber, &action, nullptr);
    }
}

// What the window manager asked of the window: focus elsewhere pauses a
// running game; the close button (or a signal) quits as "Quit" does, with the
// name being entered and the files saved.
static void handleWindowEvents()
{
    const WindowEvents events = pollWindowEvents();
    if (events.focusLost && game.gameMode == MODE_PLAYING)
        game.pauseGame();
    if (events.closeRequested || endRequested) {
        menu.saveBeforeQuit();
        menu.quit = true;
    }
}

static bool askedForFullScreen(int argc, char** argv)
{
    for (int i = 1; i < argc; i++)
        if (strcmp(argv[i], "--fullscreen") == 0)
            return true;
    return false;
}

int main(int argc, char** argv)
{
    srand(time(NULL));
    endOnSignals();
    if (initDisplay(askedForFullScreen(argc, argv)) == 1) {
        puts("initialising display failed - quiting");
        closeGLES();
        return -1;
    }
    setupPandoraControls();
    game.setupControls(&controller);
    menu.setupControls(&controller);
    setupGlStuff();
    game.setupVBOs();
    menu.setGame(&game);
    menu.setKeyboard(keys);
    game.setMenu(&menu);
    setupAudio();
    menu.loadMainMenu();
    menu.setPadSticks(padStickCount());
    menu.readConfig();
    readFrameClock(&start);

    while (!game.quit && !menu.quit) {
        getInput(&controller);
        menu.setPadSticks(padStickCount());
        readFrameClock(&end);
        const double dT = diff(start, end);
        readFrameClock(&start);
        handleWindowEvents();
        if (menu.quit)
            break;
        runFrame(dT);
        restAfterFrame();
    }

    closeGLES();
    return 0;
}
