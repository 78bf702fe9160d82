#pragma once

#include "Vector3D.h"

// A shot's dart, one closed line loop; it points along +y, which the drawing matrix turns forward.
inline constexpr Vertex3D laserModelVertexData[9] = {
    {0.0f, 0.0f, 0.0f},     {0.01f, 0.03f, 0.0f}, {0.02f, 0.0f, 0.0f},   {0.01f, -0.01f, 0.0f}, {0.0f, 0.0f, 0.0f},
    {-0.01f, -0.01f, 0.0f}, {-0.02f, 0.0f, 0.0f}, {-0.01f, 0.03f, 0.0f}, {0.0f, 0.0f, 0.0f},
};
