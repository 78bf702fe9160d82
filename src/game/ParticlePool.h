#pragma once

#include "FreeList.h"
#include "Vector3D.h"

// One spark: flies in a straight line through space until its budget is spent.
class Particle {
public:
    float totalDist;      // life budget at creation
    float distLeft;       // budget left; dies at 0 or less
    float particleSpeed;  // budget used per second, also the velocity's scale per second
    bool isInUse;
    union State {
        struct Live {
            Vector3D position;
            Vector3D velocity;
            Vector3D color;
        } live;
        Particle* next;  // free-list link while the slot is free
        State() : next(nullptr) {}
    } state;

    Particle* GetNext() { return state.next; }
    void SetNext(Particle* nextIn) { state.next = nextIn; }
};

// Fixed pool of every particle in the game.
class ParticlePool : public FreeList<Particle> {
public:
    static constexpr int POOL_SIZE = 550;

    Particle particles[POOL_SIZE];

    ParticlePool();
    // Engine-trail particle.
    void create(Vector3D* positionIn, Vector3D* rotationVector, float travelDist);
    // Burst particle of explosions and rings.
    void createEsplosion(Vector3D* positionIn, Vector3D* velocity, Vector3D* inputColor);
    // A ring of white burst particles in the tangent plane around positionIn.
    void makeParticleCircle(Vector3D* positionIn, Vector3D* up, float travelDist, int numParticles);
    void updatePhysics(double dT);
    void cleanupParticles();
    void draw();
    void destroyEverything();
};
