#pragma once

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

float rand_FloatRange(float a, float b);
void vec_spiceUp(Vector3D* myVec);
void vec_getRandomVec(Vector3D* myVec);
