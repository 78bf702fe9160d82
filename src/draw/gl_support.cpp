#include "gl_support.h"

#include <EGL/egl.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "constants.h"
#include "png_support.h"

// ---------------------------------------------------------------------------
// Display, EGL context and projection modes

static Display* __x_display = nullptr;
static Window __win = 0;
static EGLDisplay __egl_display = EGL_NO_DISPLAY;
static EGLSurface __egl_surface = EGL_NO_SURFACE;
static EGLContext __egl_context = EGL_NO_CONTEXT;

// A vertical field of view of 25 degrees at the near distance 0.1, 800:480 aspect.
static float __ymax = 0.022169467f;
static float __ymin = -__ymax;
static float __xmax = __ymax * 1.6666667f;
static float __xmin = -__ymax * 1.6666667f;

int fonttex = 0;

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

int windowScale(int screenWidth, int screenHeight)
{
    const int scale = std::min(screenWidth / SCREEN_WIDTH, screenHeight / SCREEN_HEIGHT);
    return scale < 1 ? 1 : scale;
}

Viewport letterbox(int width, int height)
{
    // Whichever side is short for 5:3 sets the scale; the other gets the bars.
    Viewport v;
    if (width * 3 <= height * 5) {
        v.width = width;
        v.height = (int)lround(width * 0.6);
    } else {
        v.height = height;
        v.width = (int)lround(height * 5.0 / 3.0);
    }
    v.x = (width - v.width) / 2;
    v.y = (height - v.height) / 2;
    return v;
}

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

static int largestTextureSide();

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
    const int components = decodePng(file, filename, largestTextureSide(), pixels, width, height);
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

    const std::vector<unsigned long> icon = iconProperty(iconFile);
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

void setupGlStuff()
{
    setSwapInterval(0);
    printf("%d, %d\n", EGL_MIN_SWAP_INTERVAL, EGL_MAX_SWAP_INTERVAL);
    // Movement is a step per frame: on a desktop, hold the frames to the
    // display's pace where the driver can (the handheld keeps its free run).
    if (!onHandheldScreen)
        setSwapInterval(1);

    applyViewport();
    glClearColor(0, 0, 0, 1);
    set3dMode();

    glShadeModel(GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_RESCALE_NORMAL);
    glAlphaFunc(GL_GREATER, 0.1f);

    static const GLfloat light0Ambient[] = {0.3f, 0.3f, 0.3f, 1};
    static const GLfloat light0Diffuse[] = {0.8f, 0.8f, 0.8f, 1};
    static const GLfloat light0Specular[] = {1, 1, 1, 120};
    static const GLfloat light0Position[] = {0, 0, 1, 0};
    static const GLfloat light0Direction[] = {0, 0, -1};
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_AMBIENT, light0Ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, light0Diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, light0Specular);
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, light0Position);
    glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, light0Direction);
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 90);

    fonttex = loadRequiredImage("font.png");

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void set3dMode()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustumf(__xmin, __xmax, __ymin, __ymax, 0.1f, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
}

void set2dMode()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrthof(0, SCREEN_WIDTH, SCREEN_HEIGHT, 0, 0.1f, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
}

void setSwapInterval(int iv)
{
    eglSwapInterval(__egl_display, iv);
}

// Wide lines and points near the picture's edge spill over it: the bars beside
// the picture are cleared last, so they stay black.
static void clearBars()
{
    if (picture.width == windowWidth && picture.height == windowHeight)
        return;
    glEnable(GL_SCISSOR_TEST);
    if (picture.x > 0) {
        glScissor(0, 0, picture.x, windowHeight);
        glClear(GL_COLOR_BUFFER_BIT);
        glScissor(picture.x + picture.width, 0, windowWidth - picture.x - picture.width, windowHeight);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    if (picture.y > 0) {
        glScissor(0, 0, windowWidth, picture.y);
        glClear(GL_COLOR_BUFFER_BIT);
        glScissor(0, picture.y + picture.height, windowWidth, windowHeight - picture.y - picture.height);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glDisable(GL_SCISSOR_TEST);
}

void swapBuffers()
{
    // The swap would wait for ever on a display that has gone away; asking the
    // server first lets Xlib's I/O error handler report it and end the program.
    // Events read here stay queued for whoever drains them. (Not XPending: that
    // is how the game drains its keyboard, which vpad watches for.)
    if (__x_display != nullptr)
        XEventsQueued(__x_display, QueuedAfterFlush);
    clearBars();
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

// The tool's outcome changes nothing in the game.
void takeScreenshot()
{
    [[maybe_unused]] const int status = system("fbgrab screen`date +%y%m%d-%H%M%S`.png");
}

// ---------------------------------------------------------------------------
// Camera and screen shake

static float camRadius = 4.0f;
static float shakeAmount = 0;

void updateCamera(Vector3D* playerPos, Vector3D* playerUp)
{
    Vector3D up = *playerUp;
    shakeAmount *= 0.8f;
    if (shakeAmount <= 0.25f) {
        shakeAmount = 0;
    } else {
        // The amount is also the phase: the tilt jumps as it decays.
        up.x += 0.02f * sinf(shakeAmount);
        up.y += 0.02f * cosf(shakeAmount);
    }
    gluLookAt(camRadius * playerPos->x, camRadius * playerPos->y, camRadius * playerPos->z, 0, 0, 0, up.x, up.y, up.z);
}

void addShake(float amount)
{
    shakeAmount = amount;
}

float getShakeAmount()
{
    return shakeAmount;
}

void lookAtMatrix(float* m, float eyex, float eyey, float eyez, float upx, float upy, float upz)
{
    Vector3D z(eyex, eyey, eyez);
    const float mag = z.magnitude();
    if (mag != 0) {
        z.x /= mag;
        z.y /= mag;
        z.z /= mag;
    }
    const Vector3D y(upx, upy, upz);
    const Vector3D x(y.y * z.z - y.z * z.y, -y.x * z.z + y.z * z.x, y.x * z.y - y.y * z.x);

    memset(m, 0, 16 * sizeof(float));
    m[0] = x.x;
    m[4] = x.y;
    m[8] = x.z;
    m[1] = y.x;
    m[5] = y.y;
    m[9] = y.z;
    m[2] = z.x;
    m[6] = z.y;
    m[10] = z.z;
    m[15] = 1;
}

// The view always looks at the origin: the centre arguments are not needed.
void gluLookAt(GLfloat eyex, GLfloat eyey, GLfloat eyez, GLfloat, GLfloat, GLfloat, GLfloat upx, GLfloat upy,
               GLfloat upz)
{
    float m[16];
    lookAtMatrix(m, eyex, eyey, eyez, upx, upy, upz);
    glMultMatrixf(m);
    glTranslatef(-eyex, -eyey, -eyez);
}

void multiplyMatrices(const float* a, const float* b, float* out)
{
    for (int col = 0; col < 4; col++) {
        for (int row = 0; row < 4; row++) {
            float sum = 0;
            for (int k = 0; k < 4; k++)
                sum += a[k * 4 + row] * b[col * 4 + k];
            out[col * 4 + row] = sum;
        }
    }
}

// The rotation about a unit axis by the angle whose sine and cosine are given.
static void rotationFromSinCos(float* m, float s, float c, float ax, float ay, float az)
{
    const float t = 1 - c;
    memset(m, 0, 16 * sizeof(float));
    m[0] = ax * ax * t + c;
    m[4] = ax * ay * t - az * s;
    m[8] = ax * az * t + ay * s;
    m[1] = ay * ax * t + az * s;
    m[5] = ay * ay * t + c;
    m[9] = ay * az * t - ax * s;
    m[2] = az * ax * t - ay * s;
    m[6] = az * ay * t + ax * s;
    m[10] = az * az * t + c;
    m[15] = 1;
}

// The fixed-function rotation matrix about a unit axis, by degrees.
static void rotationMatrix(float* m, float degrees, float ax, float ay, float az)
{
    float s, c;
    sincosf(degrees * DEG_TO_RAD, &s, &c);
    rotationFromSinCos(m, s, c, ax, ay, az);
}

void glRotationMatrix(float* m, float degrees, float ax, float ay, float az)
{
    const double radians = degrees * M_PI / 180.0;
    rotationFromSinCos(m, (float)sin(radians), (float)cos(radians), ax, ay, az);
}

void OpenGLAccumulateMatrix(float* results, float rotX, float rotY)
{
    float rx[16], ry[16], tmp[16];
    rotationMatrix(rx, rotY, 1, 0, 0);
    rotationMatrix(ry, rotX, 0, 1, 0);
    multiplyMatrices(results, rx, tmp);
    multiplyMatrices(tmp, ry, results);
}

// ---------------------------------------------------------------------------
// Textures and bitmap text

static GLenum glFormatOf(int components)
{
    switch (components) {
    case 3:
        return GL_RGB;
    case 2:
        return GL_LUMINANCE_ALPHA;
    case 1:
        return GL_LUMINANCE;
    default:
        return GL_RGBA;
    }
}

static GLuint uploadTexture(int width, int height, int components, const unsigned char* pixels)
{
    GLuint tex = 0;
    glGenTextures(1, &tex);
    glBindTexture(GL_TEXTURE_2D, tex);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    const GLenum glcolours = glFormatOf(components);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, glcolours, width, height, 0, glcolours, GL_UNSIGNED_BYTE, pixels);
    return tex;
}

// The side that both the GL implementation and the game accept. Without a
// context (logic tests) GL answers nothing and the game's own limit holds.
static int largestTextureSide()
{
    GLint glLargest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &glLargest);
    return glLargest > 0 && glLargest < largestImageSide ? glLargest : largestImageSide;
}

[[noreturn]] static void cannotOpenImage(const char* filename)
{
    // Nothing can be drawn without the game's images: say which one failed.
    printf("Unable to open image %s!\n", filename);
    exit(1);
}

// A file that cannot be opened ends the program; one that is not a usable PNG
// does too when it is required, and otherwise gives texture 0.
static GLuint loadPng(const char* filename, bool required)
{
    FILE* file = fopen(filename, "rb");
    if (file == NULL)
        cannotOpenImage(filename);
    std::vector<unsigned char> pixels;
    int width = 0, height = 0;
    const int components = decodePng(file, filename, largestTextureSide(), pixels, width, height);
    fclose(file);
    if (components == 0) {
        if (required)
            cannotOpenImage(filename);
        return 0;
    }
    return uploadTexture(width, height, components, pixels.data());
}

GLuint loadImage(const char* filename)
{
    return loadPng(filename, false);
}

GLuint loadRequiredImage(const char* filename)
{
    return loadPng(filename, true);
}

// One textured quad per glyph, 32 x 32 pixels, advancing 16: two triangles each, in the order
// the quad's triangle strip would give them, all of a string in one draw call.
void glPrintf(float x, float y, const char* fmt, ...)
{
    static char text[256];
    static GLfloat vertices[255 * 6 * 3];
    static GLfloat coords[255 * 6 * 2];
    // The strip's corners (top right, top left, bottom right, bottom left) taken as two triangles.
    static const int stripOrder[6] = {0, 1, 2, 2, 1, 3};
    static const GLfloat cornerX[4] = {32, 0, 32, 0};
    static const GLfloat cornerY[4] = {0, 0, 32, 32};

    va_list ap;
    va_start(ap, fmt);
    vsnprintf(text, sizeof text, fmt, ap);
    va_end(ap);

    const float cell = 0.0625f;
    int count = 0;
    for (const unsigned char* p = (const unsigned char*)text; *p != 0; p++) {
        const float u = (*p % 16) * cell;
        const float v = (*p / 16) * cell;
        const GLfloat cornerU[4] = {u + cell, u, u + cell, u};
        const GLfloat cornerV[4] = {v, v, v + cell, v + cell};
        const GLfloat pen = (GLfloat)(16 * (p - (const unsigned char*)text));
        for (int corner : stripOrder) {
            vertices[count * 3] = pen + cornerX[corner];
            vertices[count * 3 + 1] = cornerY[corner];
            vertices[count * 3 + 2] = 0;
            coords[count * 2] = cornerU[corner];
            coords[count * 2 + 1] = cornerV[corner];
            count++;
        }
    }
    glLoadIdentity();
    glTranslatef(x, y, -1);
    glBindTexture(GL_TEXTURE_2D, fonttex);
    if (count == 0)
        return;
    glTexCoordPointer(2, GL_FLOAT, 0, coords);
    glVertexPointer(3, GL_FLOAT, 0, vertices);
    glDrawArrays(GL_TRIANGLES, 0, count);
}
