#pragma once

// The screen the game draws on: a window (or the whole screen) with an OpenGL
// ES 1.1 context current on the calling thread. Every backend provides it;
// the drawing code reaches the machine only through this and through the GL.

// Opens the picture and makes its context current: 0 on success, 1 on failure
// (the reason already printed). The window opens at the largest whole multiple
// of 800 x 480 that fits the screen; on a screen of exactly 800 x 480 (the
// handheld's), or when asked, it takes the whole screen.
int initDisplay(bool fullScreen = false);
// Also called after a failed initDisplay: releases only what was opened.
void closeGLES();
void setSwapInterval(int iv);
// How presenting a frame waits for the screen, set once before the first
// frame: the handheld presents at once; a desktop keeps to its display's pace.
void setupFramePacing();
// Presents the frame drawn since the last call.
void swapBuffers();
// Select's screenshot, from the game and the menus alike: the picture saved as
// screen<date-time>.png beside the player's files.
void takeScreenshot();
// A screenshot waits for the picture of the step just run.
bool pictureAwaited();

// Where the 800 x 480 picture sits in the window, in window pixels from the
// bottom left (as glViewport takes it); its width over 800 is its scale.
struct Viewport {
    int x, y, width, height;
};
// The picture scaled to fit, 5:3, centred with bars on the spare sides.
Viewport letterbox(int windowWidth, int windowHeight);
// The largest whole multiple of 800 x 480 that fits the screen, at least 1.
int windowScale(int screenWidth, int screenHeight);
// The picture's place now; a resized window moves it, and the backend keeps
// the GL's viewport on it.
Viewport getViewport();
// Wide lines and points near the picture's edge spill over it: a backend
// clears the bars beside the picture last, so they stay black.
void clearBars(const Viewport& picture, int windowWidth, int windowHeight);

// What happened to the window since the last call that the game must act on.
struct WindowEvents {
    bool focusLost = false;       // the player went to another window
    bool closeRequested = false;  // the window manager's close button
};
WindowEvents pollWindowEvents();
