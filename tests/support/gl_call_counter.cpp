#include "gl_call_counter.h"

#include <GLES/gl.h>

namespace gl_call_counter {
namespace {
Counts totals;
}

const Counts& counts()
{
    return totals;
}

void reset()
{
    totals = Counts();
}

}  // namespace gl_call_counter

using gl_call_counter::totals;

// One line per wrapped entry point; zynthra_count_gl_calls() reads the names from these lines.
#define COUNTED(ret, name, params, args) \
    extern "C" ret __real_##name params; \
    extern "C" ret __wrap_##name params  \
    {                                    \
        totals.calls++;                  \
        return __real_##name args;       \
    }

COUNTED(void, glAlphaFunc, (GLenum f, GLclampf r), (f, r))
COUNTED(void, glBindBuffer, (GLenum t, GLuint b), (t, b))
COUNTED(void, glBindTexture, (GLenum t, GLuint x), (t, x))
COUNTED(void, glBlendFunc, (GLenum s, GLenum d), (s, d))
COUNTED(void, glBufferData, (GLenum t, GLsizeiptr n, const GLvoid* p, GLenum u), (t, n, p, u))
COUNTED(void, glBufferSubData, (GLenum t, GLintptr o, GLsizeiptr n, const GLvoid* p), (t, o, n, p))
COUNTED(void, glClear, (GLbitfield m), (m))
COUNTED(void, glClearColor, (GLclampf r, GLclampf g, GLclampf b, GLclampf a), (r, g, b, a))
COUNTED(void, glColor4f, (GLfloat r, GLfloat g, GLfloat b, GLfloat a), (r, g, b, a))
COUNTED(void, glColorPointer, (GLint n, GLenum t, GLsizei s, const GLvoid* p), (n, t, s, p))
COUNTED(void, glDeleteTextures, (GLsizei n, const GLuint* t), (n, t))
COUNTED(void, glDisable, (GLenum c), (c))
COUNTED(void, glDisableClientState, (GLenum a), (a))
COUNTED(void, glEnable, (GLenum c), (c))
COUNTED(void, glEnableClientState, (GLenum a), (a))
COUNTED(void, glFinish, (void), ())
COUNTED(void, glFlush, (void), ())
COUNTED(void, glFrustumf, (GLfloat l, GLfloat r, GLfloat b, GLfloat t, GLfloat n, GLfloat f), (l, r, b, t, n, f))
COUNTED(void, glGenBuffers, (GLsizei n, GLuint* b), (n, b))
COUNTED(void, glGenTextures, (GLsizei n, GLuint* t), (n, t))
COUNTED(void, glGetFloatv, (GLenum p, GLfloat* v), (p, v))
COUNTED(void, glHint, (GLenum t, GLenum m), (t, m))
COUNTED(void, glLightf, (GLenum l, GLenum p, GLfloat v), (l, p, v))
COUNTED(void, glLightfv, (GLenum l, GLenum p, const GLfloat* v), (l, p, v))
COUNTED(void, glLineWidth, (GLfloat w), (w))
COUNTED(void, glLoadIdentity, (void), ())
COUNTED(void, glLoadMatrixf, (const GLfloat* m), (m))
COUNTED(void, glMaterialf, (GLenum f, GLenum p, GLfloat v), (f, p, v))
COUNTED(void, glMaterialfv, (GLenum f, GLenum p, const GLfloat* v), (f, p, v))
COUNTED(void, glMatrixMode, (GLenum m), (m))
COUNTED(void, glMultMatrixf, (const GLfloat* m), (m))
COUNTED(void, glNormalPointer, (GLenum t, GLsizei s, const GLvoid* p), (t, s, p))
COUNTED(void, glOrthof, (GLfloat l, GLfloat r, GLfloat b, GLfloat t, GLfloat n, GLfloat f), (l, r, b, t, n, f))
COUNTED(void, glPixelStorei, (GLenum p, GLint v), (p, v))
COUNTED(void, glPointSize, (GLfloat s), (s))
COUNTED(void, glPopMatrix, (void), ())
COUNTED(void, glPushMatrix, (void), ())
COUNTED(void, glReadPixels, (GLint x, GLint y, GLsizei w, GLsizei h, GLenum f, GLenum t, GLvoid* p),
        (x, y, w, h, f, t, p))
COUNTED(void, glRotatef, (GLfloat a, GLfloat x, GLfloat y, GLfloat z), (a, x, y, z))
COUNTED(void, glScalef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))
COUNTED(void, glShadeModel, (GLenum m), (m))
COUNTED(void, glTexCoordPointer, (GLint n, GLenum t, GLsizei s, const GLvoid* p), (n, t, s, p))
COUNTED(void, glTexImage2D,
        (GLenum t, GLint l, GLint i, GLsizei w, GLsizei h, GLint b, GLenum f, GLenum y, const GLvoid* p),
        (t, l, i, w, h, b, f, y, p))
COUNTED(void, glTexParameteri, (GLenum t, GLenum p, GLint v), (t, p, v))
COUNTED(void, glTranslatef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))
COUNTED(void, glVertexPointer, (GLint n, GLenum t, GLsizei s, const GLvoid* p), (n, t, s, p))
COUNTED(void, glViewport, (GLint x, GLint y, GLsizei w, GLsizei h), (x, y, w, h))

// The draw calls also count what they draw.
extern "C" void __real_glDrawArrays(GLenum mode, GLint first, GLsizei count);
extern "C" void __wrap_glDrawArrays(GLenum mode, GLint first, GLsizei count)
{
    totals.calls++;
    totals.drawCalls++;
    totals.vertices += count;
    __real_glDrawArrays(mode, first, count);
}

extern "C" void __real_glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices);
extern "C" void __wrap_glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices)
{
    totals.calls++;
    totals.drawCalls++;
    totals.vertices += count;
    __real_glDrawElements(mode, count, type, indices);
}
