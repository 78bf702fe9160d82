#include "display.h"

#include <EGL/egl.h>
#include <GLES/gl.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "constants.h"
#include "files.h"
#include "png_support.h"
#include "x11_window.h"

// The handheld's display: an X window covering its screen, with an EGL
// context of OpenGL ES 1.1 bound to it. On a desktop the same window opens
// scaled, letterboxed when resized.

static Display* __x_display = nullptr;
static Window __win = 0;
static EGLDisplay __egl_display = EGL_NO_DISPLAY;
static EGLSurface __egl_surface = EGL_NO_SURFACE;
static EGLContext __egl_context = EGL_NO_CONTEXT;

// The window as the X server last reported it, and the picture's place in it.
static int windowWidth = SCREEN_WIDTH;
static int windowHeight = SCREEN_HEIGHT;
static Viewport picture = {0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
// True on the handheld's own screen, where the window is the whole screen.
static bool onHandheldScreen = false;
static Atom wmProtocols = 0;
static Atom wmDeleteWindow = 0;

#ifdef ZYNTHRA_CLASSIC
static const char programName[] = "zynthra-classic";
static const char windowTitle[] = "Zynthra Classic";
static const char iconFile[] = "iconClassic.png";
#else
static const char programName[] = "zynthra";
static const char windowTitle[] = "Zynthra";
static const char iconFile[] = "icon.png";
#endif

Viewport getViewport()
{
    return picture;
}

// Asks the window manager for full screen, but only with atoms that already
// exist: on a bare X server they do not, and a property change with None
// would end the program with BadAtom.
static void requestFullScreen()
{
    Atom state = XInternAtom(__x_display, "_NET_WM_STATE", True);
    Atom fullScreen = XInternAtom(__x_display, "_NET_WM_STATE_FULLSCREEN", True);
    if (state == None || fullScreen == None)
        return;
    XChangeProperty(__x_display, __win, state, XA_ATOM, 32, PropModeReplace, (unsigned char*)&fullScreen, 1);
}

static void hidePointer()
{
    static char data[1] = {0};
    XColor xcb;
    memset(&xcb, 0, sizeof xcb);
    Pixmap blank = XCreateBitmapFromData(__x_display, __win, data, 1, 1);
    Cursor curs = XCreatePixmapCursor(__x_display, blank, blank, &xcb, &xcb, 0, 0);
    XFreePixmap(__x_display, blank);
    XDefineCursor(__x_display, __win, curs);
}

// The icon as _NET_WM_ICON wants it: width, height, then one ARGB value per
// pixel (in longs, whatever their size). Empty when the image cannot be read.
static std::vector<unsigned long> iconProperty(const char* filename)
{
    std::vector<unsigned long> property;
    FILE* file = fopen(filename, "rb");
    if (file == NULL)
        return property;
    std::vector<unsigned char> pixels;
    int width = 0, height = 0;
    const int components = decodePng(file, filename, largestImageSide, pixels, width, height);
    fclose(file);
    if (components == 0)
        return property;
    property.push_back(width);
    property.push_back(height);
    for (size_t i = 0; i < pixels.size(); i += components) {
        const unsigned char* p = &pixels[i];
        const bool colour = components >= 3;
        const unsigned long r = p[0], g = colour ? p[1] : p[0], b = colour ? p[2] : p[0];
        const unsigned long a = components % 2 == 0 ? p[components - 1] : 255;
        property.push_back(a << 24 | r << 16 | g << 8 | b);
    }
    return property;
}

// Names the window for the desktop (title, class, process, icon) and asks to
// hear of the close button instead of being cut off.
static void describeWindow()
{
    XStoreName(__x_display, __win, windowTitle);
    XClassHint classHint;
    classHint.res_name = (char*)programName;
    classHint.res_class = (char*)programName;
    XSetClassHint(__x_display, __win, &classHint);

    char host[256] = "";
    gethostname(host, sizeof host - 1);
    char* hostList[] = {host};
    XTextProperty machine;
    if (XStringListToTextProperty(hostList, 1, &machine)) {
        XSetWMClientMachine(__x_display, __win, &machine);
        XFree(machine.value);
    }
    const unsigned long pid = getpid();
    XChangeProperty(__x_display, __win, XInternAtom(__x_display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, (const unsigned char*)&pid, 1);

    const std::vector<unsigned long> icon = iconProperty(dataPath(iconFile).c_str());
    if (!icon.empty())
        XChangeProperty(__x_display, __win, XInternAtom(__x_display, "_NET_WM_ICON", False), XA_CARDINAL, 32,
                        PropModeReplace, (const unsigned char*)icon.data(), (int)icon.size());

    wmProtocols = XInternAtom(__x_display, "WM_PROTOCOLS", False);
    wmDeleteWindow = XInternAtom(__x_display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(__x_display, __win, &wmDeleteWindow, 1);
}

static int openWindow(bool fullScreen)
{
    __x_display = XOpenDisplay(NULL);
    if (__x_display == NULL) {
        puts("cannot connect to X server");
        return 1;
    }
    Window root = DefaultRootWindow(__x_display);
    const int screenWidth = DisplayWidth(__x_display, DefaultScreen(__x_display));
    const int screenHeight = DisplayHeight(__x_display, DefaultScreen(__x_display));
    onHandheldScreen = screenWidth == SCREEN_WIDTH && screenHeight == SCREEN_HEIGHT;
    const int scale = windowScale(screenWidth, screenHeight);
    windowWidth = SCREEN_WIDTH * scale;
    windowHeight = SCREEN_HEIGHT * scale;
    picture = letterbox(windowWidth, windowHeight);

    XSetWindowAttributes swa;
    memset(&swa, 0, sizeof swa);
    swa.event_mask = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                     ButtonMotionMask | StructureNotifyMask | FocusChangeMask;
    __win = XCreateWindow(__x_display, root, 0, 0, windowWidth, windowHeight, 0, CopyFromParent, InputOutput,
                          CopyFromParent, CWEventMask, &swa);

    XSetWindowAttributes xattr;
    memset(&xattr, 0, sizeof xattr);
    xattr.override_redirect = False;
    XChangeWindowAttributes(__x_display, __win, CWOverrideRedirect, &xattr);

    // The handheld always runs full screen; a desktop window only when asked.
    if (onHandheldScreen || fullScreen)
        requestFullScreen();

    XWMHints hints;
    memset(&hints, 0, sizeof hints);
    hints.flags = InputHint;
    hints.input = True;
    XSetWMHints(__x_display, __win, &hints);
    describeWindow();

    XMapWindow(__x_display, __win);
    hidePointer();
    return 0;
}

static int openContext()
{
    __egl_display = eglGetDisplay((EGLNativeDisplayType)__x_display);
    if (__egl_display == EGL_NO_DISPLAY) {
        puts("Got no EGL display.");
        return 1;
    }
    if (!eglInitialize(__egl_display, NULL, NULL)) {
        puts("Unable to initialize EGL");
        return 1;
    }

    EGLint attr[] = {EGL_BUFFER_SIZE, 16, EGL_DEPTH_SIZE, 24, EGL_RED_SIZE, 5, EGL_NONE};
    EGLConfig ecfg;
    EGLint num_config;
    if (!eglChooseConfig(__egl_display, attr, &ecfg, 1, &num_config)) {
        printf("Failed to choose config (eglError: %i )\n", eglGetError());
        return 1;
    }

    __egl_surface = eglCreateWindowSurface(__egl_display, ecfg, (EGLNativeWindowType)__win, NULL);
    if (__egl_surface == EGL_NO_SURFACE) {
        printf("Unable to create EGL surface (eglError: %i )\n", eglGetError());
        return 1;
    }

    EGLint ctxattr[] = {EGL_CONTEXT_CLIENT_VERSION, 1, EGL_NONE};
    __egl_context = eglCreateContext(__egl_display, ecfg, EGL_NO_CONTEXT, ctxattr);
    if (__egl_context == EGL_NO_CONTEXT) {
        printf("Unable to create EGL context (eglError: %i)\n", eglGetError());
        return 1;
    }

    eglMakeCurrent(__egl_display, __egl_surface, __egl_surface, __egl_context);
    return 0;
}

int initDisplay(bool fullScreen)
{
    if (openWindow(fullScreen) != 0)
        return 1;
    return openContext();
}

static void applyViewport()
{
    picture = letterbox(windowWidth, windowHeight);
    glViewport(picture.x, picture.y, picture.width, picture.height);
}

// The events the frame loop takes for the window; key events stay queued for
// the keyboard reader, which passes on what else it finds.
static Bool isWindowEvent(Display*, XEvent* event, XPointer)
{
    switch (event->type) {
    case ConfigureNotify:
    case MapNotify:
    case UnmapNotify:
    case ReparentNotify:
    case GravityNotify:
    case FocusIn:
    case FocusOut:
    case ClientMessage:
    // The pointer is the virtual pad's to read; its events are of no use here.
    case ButtonPress:
    case ButtonRelease:
    case MotionNotify:
        return True;
    default:
        return False;
    }
}

// Focus leaving for another window; a passing grab (a window manager's key
// binding) or a move inside the window does not count.
static bool isFocusLost(const XFocusChangeEvent& focus)
{
    return (focus.mode == NotifyNormal || focus.mode == NotifyWhileGrabbed) && focus.detail != NotifyInferior;
}

// What the window's events asked for since the frame loop last looked.
static WindowEvents pendingEvents;

void noteWindowEvent(const XEvent* event)
{
    if (event->xany.window != __win)
        return;
    switch (event->type) {
    case ConfigureNotify:
        if (event->xconfigure.width != windowWidth || event->xconfigure.height != windowHeight) {
            windowWidth = event->xconfigure.width;
            windowHeight = event->xconfigure.height;
            applyViewport();
        }
        break;
    case FocusOut:
        if (isFocusLost(event->xfocus))
            pendingEvents.focusLost = true;
        break;
    case ClientMessage:
        if (event->xclient.message_type == wmProtocols && (Atom)event->xclient.data.l[0] == wmDeleteWindow)
            pendingEvents.closeRequested = true;
        break;
    default:
        break;
    }
}

WindowEvents pollWindowEvents()
{
    XEvent event;
    while (XCheckIfEvent(__x_display, &event, isWindowEvent, NULL))
        noteWindowEvent(&event);
    const WindowEvents events = pendingEvents;
    pendingEvents = WindowEvents();
    return events;
}
void setSwapInterval(int iv)
{
    eglSwapInterval(__egl_display, iv);
}

void setupFramePacing()
{
    setSwapInterval(0);
    printf("%d, %d\n", EGL_MIN_SWAP_INTERVAL, EGL_MAX_SWAP_INTERVAL);
    // Movement is a step per frame: on a desktop, hold the frames to the
    // display's pace where the driver can (the handheld keeps its free run).
    if (!onHandheldScreen)
        setSwapInterval(1);
}

void swapBuffers()
{
    // The swap would wait for ever on a display that has gone away; asking the
    // server first lets Xlib's I/O error handler report it and end the program.
    // Events read here stay queued for whoever drains them. (Not XPending: that
    // is how the game drains its keyboard, which vpad watches for.)
    if (__x_display != nullptr)
        XEventsQueued(__x_display, QueuedAfterFlush);
    clearBars(picture, windowWidth, windowHeight);
    eglSwapBuffers(__egl_display, __egl_surface);
}

// Also called after a failed initDisplay, so it releases only what exists.
void closeGLES()
{
    if (__egl_display != EGL_NO_DISPLAY) {
        eglMakeCurrent(__egl_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (__egl_context != EGL_NO_CONTEXT)
            eglDestroyContext(__egl_display, __egl_context);
        if (__egl_surface != EGL_NO_SURFACE)
            eglDestroySurface(__egl_display, __egl_surface);
        eglTerminate(__egl_display);
    }
    if (__x_display != nullptr) {
        if (__win != 0)
            XDestroyWindow(__x_display, __win);
        XCloseDisplay(__x_display);
    }
    __egl_context = EGL_NO_CONTEXT;
    __egl_surface = EGL_NO_SURFACE;
    __egl_display = EGL_NO_DISPLAY;
    __win = 0;
    __x_display = nullptr;
}

Display* getDisplay()
{
    return __x_display;
}

// The handheld's firmware has fbgrab; on a desktop the launcher puts ours on
// PATH. It saves in the working folder, which is the save folder here. The
// tool's outcome changes nothing in the game.
// The screenshot command grabs the screen at once, whatever the frame.
bool pictureAwaited()
{
    return false;
}

void takeScreenshot()
{
    [[maybe_unused]] const int status = system("fbgrab screen`date +%y%m%d-%H%M%S`.png");
}
