#include "ParticlePool.h"

#include <GLES/gl.h>

#include <algorithm>

#include "draw_support.h"
#include "vec_support.h"

namespace {
// Trail budget per unit of movement input: 0.18 at the full deflection of 265.
constexpr float trailDistPerInput = 0.000679245277f;
constexpr float trailSpeed = 0.3f;
constexpr float burstDist = 0.006f;
constexpr float burstSpeed = 0.01f;

// Every live particle's place and colour, handed to the GL in one draw call.
GLfloat drawnPositions[ParticlePool::POOL_SIZE][4];  // clip coordinates
GLfloat drawnColors[ParticlePool::POOL_SIZE][4];
}  // namespace

ParticlePool::ParticlePool() : particles()
{
    linkAll(particles);
}

void ParticlePool::create(Vector3D* positionIn, Vector3D* rotationVector, float travelDist)
{
    Particle* particle = takeSlot();
    if (particle == nullptr)
        return;
    particle->state.live.position = *positionIn;
    particle->state.live.velocity = *rotationVector;
    particle->totalDist = particle->distLeft = travelDist * trailDistPerInput;
    particle->isInUse = true;
    particle->state.live.color = Vector3D(1, 0.8f, 0.6f);
    particle->particleSpeed = trailSpeed;
}

void ParticlePool::createEsplosion(Vector3D* positionIn, Vector3D* velocity, Vector3D* inputColor)
{
    Particle* particle = takeSlot();
    if (particle == nullptr)
        return;
    particle->state.live.position = *positionIn;
    particle->totalDist = particle->distLeft = burstDist;
    particle->isInUse = true;
    particle->state.live.velocity = *velocity;
    particle->particleSpeed = burstSpeed;
    particle->state.live.color = *inputColor;
}

void ParticlePool::makeParticleCircle(Vector3D* positionIn, Vector3D* up, float travelDist, int numParticles)
{
    Vector3D velocity = *up;
    vec_multiply(&velocity, travelDist);
    Vector3D white(1, 1, 1);
    if (numParticles <= 0)
        return;
    float theta = 360.0f / numParticles;
    for (int i = 0; i < numParticles; i++) {
        vec_rotate(&velocity, positionIn, theta);
        createEsplosion(positionIn, &velocity, &white);
    }
}

void ParticlePool::updatePhysics(double dT)
{
    for (Particle& particle : particles) {
        if (!particle.isInUse)
            continue;
        float change = (float)(dT * particle.particleSpeed);
        Vector3D& position = particle.state.live.position;
        const Vector3D& velocity = particle.state.live.velocity;
        position.x += change * velocity.x;
        position.y += change * velocity.y;
        position.z += change * velocity.z;
        particle.distLeft -= change;
    }
}

void ParticlePool::cleanupParticles()
{
    for (Particle& particle : particles) {
        if (particle.isInUse && particle.distLeft <= 0)
            release(&particle);
    }
}

void ParticlePool::draw()
{
    beginProjectedDrawing();
    int count = 0;
    for (Particle& particle : particles) {
        if (!particle.isInUse)
            continue;
        const Vector3D& position = particle.state.live.position;
        const Vector3D& color = particle.state.live.color;
        // White at birth, fading to the particle's own colour as its budget runs out.
        float bright = particle.distLeft / particle.totalDist;
        const GLfloat shade[4] = {color.x + (1 - color.x) * bright, color.y + (1 - color.y) * bright,
                                  color.z + (1 - color.z) * bright, bright + 0.7f};
        projectTranslated(position, drawnPositions[count]);
        std::copy(shade, shade + 4, drawnColors[count]);
        count++;
    }
    drawProjectedPoints(drawnPositions, drawnColors, count, 1.5f);
    endProjectedDrawing();
}

void ParticlePool::destroyEverything()
{
    for (Particle& particle : particles) {
        if (particle.isInUse)
            release(&particle);
    }
}
