#include "draw_support.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "constants.h"
#include "display.h"
#include "gl_support.h"

GLfloat pixelScale()
{
    return getViewport().width / (GLfloat)SCREEN_WIDTH;
}

void setMatrixColumns(float* matrix, const Vector3D& column0, const Vector3D& column1, const Vector3D& column2)
{
    const Vector3D* columns[3] = {&column0, &column1, &column2};
    for (int c = 0; c < 3; c++) {
        matrix[c * 4] = columns[c]->x;
        matrix[c * 4 + 1] = columns[c]->y;
        matrix[c * 4 + 2] = columns[c]->z;
    }
}

GLuint uploadStatic(GLenum target, const void* data, GLsizeiptr size)
{
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(target, buffer);
    glBufferData(target, size, nullptr, GL_STATIC_DRAW);
    glBufferSubData(target, 0, size, data);
    glBindBuffer(target, 0);
    return buffer;
}

GLuint uploadModel(const Vertex3D* vertices, int numVertices)
{
    return uploadStatic(GL_ARRAY_BUFFER, vertices, (GLsizeiptr)sizeof(Vertex3D) * numVertices);
}

void finishFrame()
{
    glFlush();
    glFinish();
    swapBuffers();
}

void matrixMultiply(float* matrix, const float* by)
{
    float product[16];
    multiplyMatrices(matrix, by, product);
    std::memcpy(matrix, product, sizeof product);
}

void matrixTranslate(float* matrix, float x, float y, float z)
{
    for (int row = 0; row < 4; row++)
        matrix[12 + row] = matrix[row] * x + matrix[4 + row] * y + matrix[8 + row] * z + matrix[12 + row];
}

void matrixRotate(float* matrix, float degrees, float x, float y, float z)
{
    float rotation[16];
    glRotationMatrix(rotation, degrees, x, y, z);
    matrixMultiply(matrix, rotation);
}

void matrixScale(float* matrix, float x, float y, float z)
{
    for (int row = 0; row < 4; row++) {
        matrix[row] *= x;
        matrix[4 + row] *= y;
        matrix[8 + row] *= z;
    }
}

namespace {

// A screen rectangle in pixels.
struct Box {
    float x0, y0, x1, y1;

    bool overlaps(const Box& other) const
    {
        return x0 <= other.x1 && other.x0 <= x1 && y0 <= other.y1 && other.y0 <= y1;
    }
    Box grown(float by) const { return {x0 - by, y0 - by, x1 + by, y1 + by}; }
};

// Room for one run: its cores, and a copy of the same lines for its glows. A full pool of the
// largest models (25 rocks of 240 vertices) fits; a run that would not fit is drawn first.
constexpr int MAX_RUN_VERTICES = 6144;
constexpr int MAX_RUN_MODELS = 512;
constexpr int MAX_MODEL_VERTICES = 256;
// Beyond half a line's width: the rasteriser lights pixels whose centres lie within half the
// width of the line, after snapping the ends to its sub-pixel grid.
constexpr float BOX_MARGIN = 1;
// A vertex this close to the eye plane (or behind it) has no place on screen: the box is all.
constexpr float NEAREST_W = 1e-4f;

struct Batch {
    int depth = 0;
    float modelView[16] = {};
    float projection[16] = {};
    float halfWidth = 0, halfHeight = 0;  // of the viewport, in pixels
    GLfloat pixelScale = 1;

    GLfloat positions[2 * MAX_RUN_VERTICES][4] = {};  // clip coordinates
    GLfloat colors[2 * MAX_RUN_VERTICES][4] = {};
    GLfloat glowColors[MAX_RUN_VERTICES][4] = {};
    Box glowBoxes[MAX_RUN_MODELS] = {};
    int models = 0;
    int vertices = 0;
    bool pointersElsewhere = false;  // the GL's arrays were last pointed at other data
    GLfloat coreWidth = 0, glowWidth = 0;
};
Batch batch;

// The box on screen around points in clip coordinates, or the whole plane when one of them is at
// or behind the eye.
Box screenBox(const GLfloat (*clip)[4], int count)
{
    Box box{HUGE_VALF, HUGE_VALF, -HUGE_VALF, -HUGE_VALF};
    for (int i = 0; i < count; i++) {
        const GLfloat* p = clip[i];
        if (p[3] < NEAREST_W)
            return {-HUGE_VALF, -HUGE_VALF, HUGE_VALF, HUGE_VALF};
        const float x = p[0] / p[3] * batch.halfWidth, y = p[1] / p[3] * batch.halfHeight;
        box = {std::min(box.x0, x), std::min(box.y0, y), std::max(box.x1, x), std::max(box.y1, y)};
    }
    return box;
}

void drawRun()
{
    const int n = batch.vertices;
    if (n == 0)
        return;
    std::memcpy(batch.positions[n], batch.positions[0], sizeof(batch.positions[0]) * n);
    std::memcpy(batch.colors[n], batch.glowColors[0], sizeof(batch.colors[0]) * n);
    if (batch.pointersElsewhere) {
        glVertexPointer(4, GL_FLOAT, 0, batch.positions);
        glColorPointer(4, GL_FLOAT, 0, batch.colors);
        batch.pointersElsewhere = false;
    }
    glLineWidth(batch.coreWidth * batch.pixelScale);
    glDrawArrays(GL_LINES, 0, n);
    glLineWidth(batch.glowWidth * batch.pixelScale);
    glDrawArrays(GL_LINES, n, n);
    batch.models = 0;
    batch.vertices = 0;
}

// Whether the model can join the run without changing what any pixel shows.
bool fitsRun(const Box& coreBox, const GlowStyle& style, int lineVertices)
{
    if (batch.models == 0)
        return true;
    if (style.coreWidth != batch.coreWidth || style.glowWidth != batch.glowWidth)
        return false;
    if (batch.models == MAX_RUN_MODELS || batch.vertices + lineVertices > MAX_RUN_VERTICES)
        return false;
    for (int i = 0; i < batch.models; i++)
        if (coreBox.overlaps(batch.glowBoxes[i]))
            return false;
    return true;
}

void transform(const float* m, const Vertex3D& v, GLfloat* out)
{
    for (int row = 0; row < 4; row++)
        out[row] = m[row] * v.x + m[4 + row] * v.y + m[8 + row] * v.z + m[12 + row];
}

}  // namespace

void beginProjectedDrawing()
{
    if (batch.depth++ > 0)
        return;
    GLint viewport[4];
    glGetFloatv(GL_MODELVIEW_MATRIX, batch.modelView);
    glGetFloatv(GL_PROJECTION_MATRIX, batch.projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    batch.halfWidth = viewport[2] * 0.5f;
    batch.halfHeight = viewport[3] * 0.5f;
    batch.pixelScale = pixelScale();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    // Both vertices of a line carry the same colour; flat shading takes it as it is.
    glShadeModel(GL_FLAT);
    glEnableClientState(GL_COLOR_ARRAY);
    batch.pointersElsewhere = true;
}

void viewMatrix(float* matrix)
{
    std::memcpy(matrix, batch.modelView, sizeof batch.modelView);
}

void projectTranslated(const Vector3D& p, GLfloat* clip)
{
    float moved[16];
    viewMatrix(moved);
    matrixTranslate(moved, p.x, p.y, p.z);
    const float* m = batch.projection;
    const float* c = moved + 12;
    for (int row = 0; row < 4; row++)
        clip[row] = m[row] * c[0] + m[4 + row] * c[1] + m[8 + row] * c[2] + m[12 + row] * c[3];
}

void drawGlowingModel(const LineModel& model, const float* modelView, const GlowStyle& style)
{
    const int n = std::min(model.numVertices, MAX_MODEL_VERTICES);
    const int lineVertices = model.loop ? 2 * n : n;
    float clip[16];
    multiplyMatrices(batch.projection, modelView, clip);
    GLfloat placed[MAX_MODEL_VERTICES][4];
    for (int i = 0; i < n; i++)
        transform(clip, model.vertices[i], placed[i]);
    const Box box = screenBox(placed, n);
    const Box coreBox = box.grown(style.coreWidth * batch.pixelScale * 0.5f + BOX_MARGIN);
    if (!fitsRun(coreBox, style, lineVertices))
        drawRun();

    // A loop becomes its lines: each vertex to the next, and the last back to the first.
    for (int i = 0; i < lineVertices; i++) {
        const int source = model.loop ? ((i + 1) / 2) % n : i;
        const int k = batch.vertices + i;
        std::memcpy(batch.positions[k], placed[source], sizeof placed[0]);
        std::memcpy(batch.colors[k], style.core, sizeof style.core);
        std::memcpy(batch.glowColors[k], style.glow, sizeof style.glow);
    }
    batch.glowBoxes[batch.models++] = box.grown(style.glowWidth * batch.pixelScale * 0.5f + BOX_MARGIN);
    batch.vertices += lineVertices;
    batch.coreWidth = style.coreWidth;
    batch.glowWidth = style.glowWidth;
}

void drawProjectedPoints(const GLfloat (*clip)[4], const GLfloat (*colors)[4], int count, GLfloat size)
{
    drawRun();
    if (count == 0)
        return;
    glVertexPointer(4, GL_FLOAT, 0, clip);
    glColorPointer(4, GL_FLOAT, 0, colors);
    batch.pointersElsewhere = true;
    glPointSize(size * batch.pixelScale);
    glDrawArrays(GL_POINTS, 0, count);
}

void endProjectedDrawing()
{
    if (--batch.depth > 0)
        return;
    drawRun();
    glDisableClientState(GL_COLOR_ARRAY);
    glShadeModel(GL_SMOOTH);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}
