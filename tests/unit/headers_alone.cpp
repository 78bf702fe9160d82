// The vector math and the controller snapshot stand alone: the rules that use
// them compile without any GL, EGL or X11 header. Checked when this file builds.
#include "Vector3D.h"
#include "controller_support.h"

#if defined(__gles1_gl_h_) || defined(__glplatform_h_) || defined(__khrplatform_h_) || defined(__egl_h_) || \
    defined(_X11_XLIB_H_)
#error "Vector3D.h or controller_support.h pulls in a GL, EGL or X11 header"
#endif
