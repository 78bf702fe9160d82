#include "gl_support.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "constants.h"
#include "display.h"
#include "files.h"
#include "png_support.h"

// ---------------------------------------------------------------------------
// Fixed GL state and projection modes

// A vertical field of view of 25 degrees at the near distance 0.1, 800:480 aspect.
static float __ymax = 0.022169467f;
static float __ymin = -__ymax;
static float __xmax = __ymax * 1.6666667f;
static float __xmin = -__ymax * 1.6666667f;

int fonttex = 0;

void setupGlStuff()
{
    setupFramePacing();
    const Viewport picture = getViewport();
    glViewport(picture.x, picture.y, picture.width, picture.height);
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

    fonttex = loadRequiredImage(dataPath("font.png").c_str());

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

// ---------------------------------------------------------------------------
// Camera and screen shake

static float camRadius = 4.0f;
static float shakeAmount = 0;

void settleShake()
{
    shakeAmount *= 0.8f;
    if (shakeAmount <= 0.25f)
        shakeAmount = 0;
}

void updateCamera(Vector3D* playerPos, Vector3D* playerUp)
{
    Vector3D up = *playerUp;
    if (shakeAmount > 0) {
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
