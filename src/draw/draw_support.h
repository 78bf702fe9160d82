#pragma once

#include <GLES/gl.h>

#include "Vector3D.h"

// Drawing helpers shared by the game's drawing code.

// Writes three vectors into columns 0, 1 and 2 of a column-major 4 x 4 matrix; the rest stays.
void setMatrixColumns(float* matrix, const Vector3D& column0, const Vector3D& column1, const Vector3D& column2);

// A static buffer (vertices or indices, by target) holding size bytes of data; left unbound.
GLuint uploadStatic(GLenum target, const void* data, GLsizeiptr size);
// A static vertex buffer holding a model table.
GLuint uploadModel(const Vertex3D* vertices, int numVertices);

// Line widths and point sizes are given in pixels of the 800 x 480 picture: drawn at a larger
// size, the picture widens them by the same factor (exactly 1 on the handheld).
GLfloat pixelScale();

// Ends a frame: flushes and finishes the GL, then presents the frame.
void finishFrame();

// A model-view matrix formed on the CPU the way glMultMatrixf, glTranslatef, glRotatef (degrees,
// unit axis) and glScalef form theirs: each multiplies the matrix by the step from the right.
void matrixMultiply(float* matrix, const float* by);
void matrixTranslate(float* matrix, float x, float y, float z);
void matrixRotate(float* matrix, float degrees, float x, float y, float z);
void matrixScale(float* matrix, float x, float y, float z);

// A line model: a closed loop through its vertices, or pairs of vertices as separate lines.
struct LineModel {
    const Vertex3D* vertices;
    int numVertices;
    bool loop;
};

// A glowing model's two passes: a thin bright core, then a wide half-transparent glow.
struct GlowStyle {
    GLfloat coreWidth;
    GLfloat core[4];  // red, green, blue, alpha
    GLfloat glowWidth;
    GLfloat glow[4];
};

// Glowing line models, transformed on the CPU into one stream and drawn in runs: one GL_LINES
// call for the cores of a run, then one for its glows. The draw order stays visible as before:
// a run takes the next model only if its core lies clear, on screen, of the glow of every model
// already in the run, so no pixel sees a core drawn ahead of an earlier model's glow.
// The vertices go to the GL already projected, through the same products, in the same order, as
// the GL would form them, so the lines land on the same pixels.
// Begin and end may nest; in between, the GL's matrices are the identity and the vertex array
// comes from client memory.
void beginProjectedDrawing();
// The model-view matrix current at the outermost begin, to build a model's matrix on.
void viewMatrix(float* matrix);
// Where a point drawn at the origin after glTranslatef(p) lands, in clip coordinates.
void projectTranslated(const Vector3D& p, GLfloat* clip);
void drawGlowingModel(const LineModel& model, const float* modelView, const GlowStyle& style);
// Points already in clip coordinates, each in its own colour, after the lines gathered so far.
void drawProjectedPoints(const GLfloat (*clip)[4], const GLfloat (*colors)[4], int count, GLfloat size);
void endProjectedDrawing();
