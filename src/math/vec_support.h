#pragma once

#include <cmath>

#include "Vector3D.h"

void vec_set(Vector3D* myVec, float x, float y, float z);
void vec_subtract(Vector3D* vecA, Vector3D* vecB);
void vec_multiply(Vector3D* myVec, float mult);
float vec_magnitude(Vector3D* myVec);
void vec_normalize(Vector3D* myVec);
float vec_dot(Vector3D* vecA, Vector3D* vecB);
void vec_cross(Vector3D* vecA, Vector3D* vecB, Vector3D* vecC);
void vec_cross(Vector3D* vecA, Vector3D* vecB);
// Both forms normalise the axis in place before rotating (callers rely on it).
void vec_rotate(Vector3D* myVec, Vector3D* axis, float theta);
void vec_rotate(Vector3D* myVec, Vector3D* axis, float sinTheta, float cosTheta);
float vec_dist(Vector3D* vecA, Vector3D* vecB);

// Exactly vec_dist(&a, &b) < reach, mostly without the square root: the squared distance (formed
// as vec_dist forms it) is compared with reach squared, and only within 2^-20 of it, where the
// rounding of the root and of the square could tell the two comparisons apart, is the root taken.
// Outside that band the root, correctly rounded, lies more than 2^-22 from reach on the same side.
inline bool vec_closerThan(const Vector3D& a, const Vector3D& b, float reach)
{
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    const float dz = a.z - b.z;
    const float squared = dx * dx + dy * dy + dz * dz;
    const float bound = reach * reach;
    // The relative bounds hold for normal floats only; tiny or odd reaches take the root.
    if (reach > 0 && bound >= 0x1p-100f) {
        if (squared < bound * 0x1.ffffep-1f)
            return true;
        if (squared > bound * 0x1.00001p+0f)
            return false;
    }
    return sqrtf(squared) < reach;
}

float rand_FloatRange(float a, float b);
void vec_spiceUp(Vector3D* myVec);
void vec_getRandomVec(Vector3D* myVec);
