#pragma once

#include "Vector3D.h"

class ParticlePool;

// The hit protocol: EnemyPool::collisionDetection and
// AsteroidPool::collisionDetection take a position, a radius, what strikes and
// a number of hits, and return the points earned; above 0 counts as a hit.
enum HitWeapon { WEAPON_LASER = 0, WEAPON_BLAST = 1, WEAPON_SHIP = 2 };

// numParticles sparks of a hit or a clear-out, flying off in random directions.
void emitBurst(ParticlePool* particles, Vector3D* position, Vector3D* color, int numParticles);
