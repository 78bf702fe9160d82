#pragma once

// The one vector type: positions on the unit sphere, axes, velocities and colours.
class Vector3D {
public:
    float x, y, z;

    constexpr Vector3D() : x(0), y(0), z(0) {}
    constexpr Vector3D(float xIn, float yIn, float zIn) : x(xIn), y(yIn), z(zIn) {}

    Vector3D& operator+=(Vector3D param);
    void multiply(float scale);
    float magnitude();
    void normalize();
    float dot(Vector3D* myVec);
    // The axis is used as given: it must already be of unit length.
    void rotate(Vector3D* axis, float theta);
    void rotate(Vector3D* axis, float sinTheta, float cosTheta);
};

// Element of the constant model tables, copied byte for byte into vertex buffers.
struct Vertex3D {
    float x, y, z;
};
