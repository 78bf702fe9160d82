#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Game.h"
#include "Menus.h"
#include "Sound.h"
#include "controller_support.h"
#include "display.h"
#include "frame_clock.h"
#include "gl_support.h"
#include "session.h"

// Program-lifetime objects. The order matters: game is constructed before
// menu, whose constructor already reads the high-score file.
Game game;
Menu menu;
Controller controller;
int keys[256];

// One step of the rules on the screen that is up: its input handled, its
// state and motion advanced. Returns that screen's mode, which the frame then
// draws even if the step left it (the menu's last frame as a game starts).
static int runStep(double dT)
{
    const int screen = game.gameMode;
    switch (screen) {
    case MODE_PLAYING:
    case MODE_PAUSED:
        game.updateFrame(dT);
        // The pause menu reads the keyboard as the other menus do (on a desktop,
        // Escape then goes back from its options instead of resuming).
        if (game.paused)
            updateKeyboard(keys);
        break;
    case MODE_MENUS:
        menu.menuPollInput(dT);
        menu.stepTitleScene(dT);
        updateKeyboard(keys);
        break;
    default:
        break;
    }
    stepArenaMotion();
    return screen;
}

static void drawScreen(int screen)
{
    if (screen == MODE_MENUS)
        menu.drawMenu();
    else if (screen == MODE_PLAYING || screen == MODE_PAUSED)
        game.draw();
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
    if (!startSession(argc, argv))
        return 1;
    srand(randomSeed());
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
    startFrameClock();

    // The frame clock decides how many steps of the rules each drawn frame
    // runs: one on the handheld, as many as the time calls for elsewhere.
    int screen = game.gameMode;
    while (!game.quit && !menu.quit) {
        const FrameSteps steps = frameSteps();
        for (int i = 0; i < steps.count && !menu.quit; i++) {
            getInput(&controller);
            menu.setPadSticks(padStickCount());
            handleWindowEvents();
            if (!menu.quit)
                screen = runStep(steps.dT);
            // A screenshot shows the step that asked for it: the frame draws
            // now, and the steps it did not run fall due in the next one.
            if (pictureAwaited() && i + 1 < steps.count) {
                postponeSteps(steps.count - i - 1);
                break;
            }
        }
        if (menu.quit)
            break;
        drawScreen(screen);
        restAfterFrame();
    }

    closeGLES();
    return 0;
}
