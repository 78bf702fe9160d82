// The vector math and the platform's interface stand alone: the rules that use
// them compile without any GL, EGL, X11 or SDL header, whatever the backend.
// Checked when this file builds.
#include "Sound.h"
#include "Vector3D.h"
#include "controller_support.h"
#include "display.h"
#include "files.h"
#include "frame_clock.h"
#include "session.h"

#if defined(__gles1_gl_h_) || defined(__glplatform_h_) || defined(__khrplatform_h_) || defined(__egl_h_) || \
    defined(_X11_XLIB_H_) || defined(SDL_h_) || defined(_SDL_H)
#error "Vector3D.h or a platform interface header pulls in a GL, EGL, X11 or SDL header"
#endif
