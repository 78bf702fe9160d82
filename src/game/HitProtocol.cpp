#include "HitProtocol.h"

#include "ParticlePool.h"
#include "vec_support.h"

void emitBurst(ParticlePool* particles, Vector3D* position, Vector3D* color, int numParticles)
{
    Vector3D velocity;
    for (int i = 0; i < numParticles; i++) {
        vec_getRandomVec(&velocity);
        particles->createEsplosion(position, &velocity, color);
    }
}
