#pragma once

#include <algorithm>
#include <cmath>

#include "AsteroidPool.h"
#include "EnemyPool.h"
#include "ParticlePool.h"
#include "vec_support.h"

// Helpers shared by the enemy, wave and asteroid tests.
namespace pool_test {

// Great-circle angle between two points of the unit sphere, in degrees (from the chord, well conditioned).
inline double degreesBetween(Vector3D a, Vector3D b)
{
    double chord = vec_dist(&a, &b);
    return 2 * std::asin(std::min(1.0, chord / 2)) * 180 / M_PI;
}

// The point reached from `from` by turning it `degrees` about `axis`.
inline Vector3D turned(Vector3D from, Vector3D axis, float degrees)
{
    vec_rotate(&from, &axis, degrees);
    return from;
}

template <typename Slot, size_t N>
int countInUse(Slot (&slots)[N])
{
    int n = 0;
    for (Slot& slot : slots)
        n += slot.isInUse ? 1 : 0;
    return n;
}

inline int liveParticles(ParticlePool& particles)
{
    return countInUse(particles.particles);
}
inline int liveShots(LaserShotPool& lasers)
{
    return countInUse(lasers.shots);
}

// Frames of dT, each an update and then the cleanup as the game runs them,
// until no slot of the pool is in use; -1 if 10000 frames are not enough.
template <typename Pool, typename Slot, size_t N>
int framesToEmpty(Pool& pool, void (Pool::*cleanup)(), Slot (Pool::*slots)[N], double dT)
{
    for (int frame = 1; frame < 10000; frame++) {
        pool.updatePhysics(dT);
        (pool.*cleanup)();
        if (countInUse(pool.*slots) == 0)
            return frame;
    }
    return -1;
}
inline int framesToEmpty(LaserShotPool& lasers, double dT)
{
    return framesToEmpty(lasers, &LaserShotPool::cleanupLasers, &LaserShotPool::shots, dT);
}
inline int framesToEmpty(ParticlePool& particles, double dT)
{
    return framesToEmpty(particles, &ParticlePool::cleanupParticles, &ParticlePool::particles, dT);
}

}  // namespace pool_test
