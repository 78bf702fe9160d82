#pragma once

#include <cstddef>

#include "Vector3D.h"
#include "vec_support.h"

class ParticlePool;

// The hit protocol: EnemyPool::collisionDetection and
// AsteroidPool::collisionDetection take a position, a radius, what strikes and
// a number of hits, and return the points earned; above 0 counts as a hit.
enum HitWeapon { WEAPON_LASER = 0, WEAPON_BLAST = 1, WEAPON_SHIP = 2 };

// numParticles sparks of a hit or a clear-out, flying off in random directions.
void emitBurst(ParticlePool* particles, Vector3D* position, Vector3D* color, int numParticles);

// The one-point form, collisionDetection(pos): the first slot in use whose
// centre lies within touch distance of pos is marked for removal and its type
// returned; -1 when none is.
constexpr float TOUCH_DISTANCE = 0.05f;

template <typename Slot, std::size_t N>
int touchingSlotType(Slot (&slots)[N], Vector3D* pos)
{
    for (Slot& slot : slots) {
        if (slot.isInUse && vec_dist(pos, &slot.live.position) < TOUCH_DISTANCE) {
            slot.remove = true;
            return slot.live.type;
        }
    }
    return -1;
}
