#include "Asteroid.h"

#include <cmath>

#include "Sound.h"
#include "constants.h"
#include "gl_support.h"
#include "vec_support.h"

namespace {
constexpr float LANDING_SHAKE = 25;
constexpr float FALL_PER_FRAME = 0.995f;
constexpr float INCOMING_HEIGHT = 3;
}  // namespace

void Asteroid::Init(int typeIn, Vector3D* rotationVector, Vector3D* positionIn, float radiusIn, bool incomingIn)
{
    live.position = *positionIn;
    live.rotationX = rand_FloatRange(20, 60);
    live.rotationY = rand_FloatRange(20, 40);
    live.rotateX = rand_FloatRange(0, 360);
    live.rotateY = rand_FloatRange(0, 360);
    live.radius = radiusIn;
    isInUse = true;
    live.type = typeIn;
    remove = false;
    live.rotationAxis = *rotationVector;
    incoming = incomingIn;
    // Bigger rocks take more hits: 6..13 for a large one, 1 for the smallest fragments.
    float size = live.radius * 12;
    live.numHits = (int)(1.0 + (double)size * size);
    live.speed = rand_FloatRange(0.1f, 0.4f);
    live.sinTheta = sinf(live.speed * DEG_TO_RAD);
    live.cosTheta = cosf(live.speed * DEG_TO_RAD);
    if (incoming) {
        vec_normalize(&live.position);
        vec_multiply(&live.position, INCOMING_HEIGHT);
    }
}

void Asteroid::updatePhysics(double dT)
{
    if (!isInUse)
        return;
    live.rotateX = (float)(live.rotateX + dT * live.rotationX);
    live.rotateY = (float)(live.rotateY + dT * live.rotationY);
    if (!incoming) {
        vec_rotate(&live.position, &live.rotationAxis, live.sinTheta, live.cosTheta);
        return;
    }
    vec_multiply(&live.position, FALL_PER_FRAME);
    if (vec_magnitude(&live.position) > 1.0f)
        return;
    // Landed: from the next frame on it drifts on the surface and can be hit.
    playSound(SOUND_ASTEROID_LANDS);
    addShake(LANDING_SHAKE);
    vec_normalize(&live.position);
    incoming = false;
}
