// Uses the embedded rules library: a quarter turn of the x axis about z
// gives the y axis.
#include <cmath>
#include <cstdio>

#include "Vector3D.h"

int main()
{
    Vector3D v(1, 0, 0);
    Vector3D axis(0, 0, 1);
    v.rotate(&axis, 90);  // degrees
    bool ok = std::fabs(v.x) < 1e-5f && std::fabs(v.y - 1) < 1e-5f && std::fabs(v.z) < 1e-5f;
    std::printf("outer: (%g, %g, %g)\n", v.x, v.y, v.z);
    return ok ? 0 : 1;
}
