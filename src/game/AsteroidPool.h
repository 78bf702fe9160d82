#pragma once

#include <GLES/gl.h>

#include "Asteroid.h"
#include "FreeList.h"
#include "Vector3D.h"

class ParticlePool;

// The asteroids: 25 fixed slots on a free list, their six models and colours.
class AsteroidPool : public FreeList<Asteroid> {
public:
    static constexpr int NUM_MODELS = 6;

    Vector3D upVec;
    Vector3D asteroidColor1;  // inner line, and every asteroid explosion
    Vector3D asteroidColor2;  // outer glow
    ParticlePool* myParticlePool = nullptr;
    static constexpr int POOL_SIZE = 25;
    Asteroid asteroids[POOL_SIZE];
    GLuint sAsteroid1VBO = 0;
    GLuint sAsteroid2VBO = 0;
    GLuint sAsteroid3VBO = 0;
    GLuint lAsteroid1VBO = 0;
    GLuint lAsteroid2VBO = 0;
    GLuint lAsteroid3VBO = 0;
    unsigned int asteroidVBOs[NUM_MODELS] = {};
    int asteroidVBOsNumVertices[NUM_MODELS] = {};

    AsteroidPool();
    void initialize();
    void setParticlePool(ParticlePool* particlePool) { myParticlePool = particlePool; }
    void setupVBOs();

    void createIncoming();
    void createFragment(float parentRadius, Vector3D* parentPos, Vector3D* parentRotationAxis);
    void updatePhysics(double dT);
    void draw();
    // The shared hit protocol: weapon 0 a laser shot, 1 a bomb blast, 2 the ship; returns the points earned.
    int collisionDetection(Vector3D* pos, float radius, int weapon, int hits);
    int collisionDetection(Vector3D* pos);
    void cleanupAsteroids();
    void destroyEverything();

private:
    Asteroid* findTouched(Vector3D* pos, float radius);
    void breakUp(Asteroid* asteroid);
};
