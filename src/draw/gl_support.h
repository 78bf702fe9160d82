#pragma once

#include <GLES/gl.h>

#include "Vector3D.h"

// Fixed GL state and the projection modes, over the display the platform
// opened (display.h).
void setupGlStuff();
void set3dMode();
void set2dMode();

// Camera and screen shake. The shake settles by a step of the rules, not by a
// drawn frame, so it lasts as long at any frame rate.
void updateCamera(Vector3D* playerPos, Vector3D* playerUp);
void settleShake();
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
