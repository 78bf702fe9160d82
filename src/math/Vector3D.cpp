#include "Vector3D.h"

#include <cmath>

#include "constants.h"

Vector3D& Vector3D::operator+=(Vector3D param)
{
    x += param.x;
    y += param.y;
    z += param.z;
    return *this;
}

void Vector3D::multiply(float scale)
{
    x *= scale;
    y *= scale;
    z *= scale;
}

float Vector3D::magnitude()
{
    return sqrtf(x * x + y * y + z * z);
}

void Vector3D::normalize()
{
    multiply(1.0f / magnitude());
}

float Vector3D::dot(Vector3D* myVec)
{
    return x * myVec->x + y * myVec->y + z * myVec->z;
}

void Vector3D::rotate(Vector3D* axis, float theta)
{
    float s, c;
    sincosf(theta * DEG_TO_RAD, &s, &c);
    rotate(axis, s, c);
}

// v' = c v + s (k x v) + (1 - c)(k . v) k, every component from the old values.
void Vector3D::rotate(Vector3D* axis, float sinTheta, float cosTheta)
{
    const float wDv = axis->dot(this);
    const float cx = axis->y * z - axis->z * y;
    const float cy = axis->z * x - axis->x * z;
    const float cz = axis->x * y - axis->y * x;
    const float k = (1.0f - cosTheta) * wDv;
    const float nx = cosTheta * x + sinTheta * cx + k * axis->x;
    const float ny = cosTheta * y + sinTheta * cy + k * axis->y;
    const float nz = cosTheta * z + sinTheta * cz + k * axis->z;
    x = nx;
    y = ny;
    z = nz;
}
