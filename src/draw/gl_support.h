#pragma once

#include <GLES/gl.h>

#include "Vector3D.h"

// Xlib's own forward declaration; keeps Xlib's macros out of every module.
typedef struct _XDisplay Display;
typedef union _XEvent XEvent;

// Display, EGL context and projection modes. The window opens at the largest
// whole multiple of 800 x 480 that fits the screen; on a screen of exactly
// 800 x 480 (the handheld's), or when asked, it asks for full screen.
int initDisplay(bool fullScreen = false);
void setupGlStuff();
void set3dMode();
void set2dMode();
void setSwapInterval(int iv);
void swapBuffers();
void closeGLES();
Display* getDisplay();
// Select's screenshot, from the game and the menus alike: the outside fbgrab
// command saves the screen as screen<date-time>.png in the working folder.
void takeScreenshot();

// Where the 800 x 480 picture sits in the window, in window pixels from the
// bottom left (as glViewport takes it).
struct Viewport {
    int x, y, width, height;
};
// The picture scaled to fit, 5:3, centred with bars on the spare sides.
Viewport letterbox(int windowWidth, int windowHeight);
int windowScale(int screenWidth, int screenHeight);
Viewport getViewport();

// What happened to the window since the last call that the game must act on.
// Resizes are handled inside; key events stay queued for updateKeyboard, which
// hands every other event it drains to noteWindowEvent.
struct WindowEvents {
    bool focusLost = false;
    bool closeRequested = false;  // the window manager's close button
};
WindowEvents pollWindowEvents();
void noteWindowEvent(const XEvent* event);

// Camera and screen shake.
void updateCamera(Vector3D* playerPos, Vector3D* playerUp);
void addShake(float amount);
float getShakeAmount();
void gluLookAt(GLfloat eyex, GLfloat eyey, GLfloat eyez, GLfloat centerx, GLfloat centery, GLfloat centerz, GLfloat upx,
               GLfloat upy, GLfloat upz);
// The look-at matrix alone (column-major), as gluLookAt multiplies it in before its translation.
void lookAtMatrix(float* m, float eyex, float eyey, float eyez, float upx, float upy, float upz);
// results := results x Rx(rotY) x Ry(rotX), degrees; formed in software, so no GL context is needed.
void OpenGLAccumulateMatrix(float* results, float rotX, float rotY);
// Column-major 4 x 4 matrices: out := a x b; the rotation by degrees about a unit axis as
// glRotatef forms it (sine and cosine taken in double), for matrices formed on the CPU.
void multiplyMatrices(const float* a, const float* b, float* out);
void glRotationMatrix(float* m, float degrees, float ax, float ay, float az);

// Textures and bitmap text; fonttex is the font texture glPrintf draws from.
extern int fonttex;
GLuint loadImage(const char* filename);
// For the images the game cannot run without: one that cannot be decoded ends
// the program as a missing one does.
GLuint loadRequiredImage(const char* filename);
void glPrintf(float x, float y, const char* fmt, ...) __attribute__((format(printf, 3, 4)));
