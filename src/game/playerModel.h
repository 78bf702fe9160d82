#pragma once

#include "Vector3D.h"

// The ship's outline, one closed line loop in the model's plane; the nose points along +y.
inline constexpr Vertex3D playerModelVertexData[8] = {
    {0.125f, 0.4f, 0.0f}, {0.5f, 0.0f, 0.0f},    {0.25f, -0.25f, 0.0f}, {-0.25f, -0.25f, 0.0f},
    {-0.5f, 0.0f, 0.0f},  {-0.125f, 0.4f, 0.0f}, {-0.125f, 0.0f, 0.0f}, {0.125f, 0.0f, 0.0f},
};
