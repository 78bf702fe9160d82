#include "vec_support.h"

#include <cmath>
#include <cstdlib>

#include "constants.h"

void vec_set(Vector3D* myVec, float x, float y, float z)
{
    myVec->x = x;
    myVec->y = y;
    myVec->z = z;
}

void vec_subtract(Vector3D* vecA, Vector3D* vecB)
{
    vecA->x -= vecB->x;
    vecA->y -= vecB->y;
    vecA->z -= vecB->z;
}

void vec_multiply(Vector3D* myVec, float mult)
{
    myVec->multiply(mult);
}

float vec_magnitude(Vector3D* myVec)
{
    return myVec->magnitude();
}

void vec_normalize(Vector3D* myVec)
{
    myVec->normalize();
}

float vec_dot(Vector3D* vecA, Vector3D* vecB)
{
    return vecA->dot(vecB);
}

void vec_cross(Vector3D* vecA, Vector3D* vecB, Vector3D* vecC)
{
    // Every component is formed before any is stored, so vecC may alias an input.
    const float x = vecA->y * vecB->z - vecA->z * vecB->y;
    const float y = vecA->z * vecB->x - vecA->x * vecB->z;
    const float z = vecA->x * vecB->y - vecA->y * vecB->x;
    vec_set(vecC, x, y, z);
}

void vec_cross(Vector3D* vecA, Vector3D* vecB)
{
    vec_cross(vecA, vecB, vecA);
}

void vec_rotate(Vector3D* myVec, Vector3D* axis, float theta)
{
    axis->normalize();
    myVec->rotate(axis, theta);
}

void vec_rotate(Vector3D* myVec, Vector3D* axis, float sinTheta, float cosTheta)
{
    axis->normalize();
    myVec->rotate(axis, sinTheta, cosTheta);
}

float vec_dist(Vector3D* vecA, Vector3D* vecB)
{
    const float dx = vecA->x - vecB->x;
    const float dy = vecA->y - vecB->y;
    const float dz = vecA->z - vecB->z;
    return sqrtf(dx * dx + dy * dy + dz * dz);
}

float rand_FloatRange(float a, float b)
{
    return a + ((b - a) * RAND_SCALE) * (float)rand();
}

void vec_spiceUp(Vector3D* myVec)
{
    myVec->x = (myVec->x + -0.5f) + rand_FloatRange(0, 1);
    myVec->y = (myVec->y + -0.5f) + rand_FloatRange(0, 1);
    myVec->z = (myVec->z + -0.5f) + rand_FloatRange(0, 1);
}

void vec_getRandomVec(Vector3D* myVec)
{
    myVec->x = rand_FloatRange(0.1f, 100) - 50;
    myVec->y = rand_FloatRange(0.1f, 100) - 50;
    myVec->z = rand_FloatRange(0.1f, 100) - 50;
}
