#pragma once

#include <GLES/gl.h>

#include "LaserPool.h"
#include "ParticlePool.h"
#include "Vector3D.h"
#include "constants.h"

class EnemyPool;
class AsteroidPool;

// The ship flying over the arena sphere, with its lasers and bombs. Every move
// rotates the unit position vector and the two tangent axes about the centre.
class Player {
public:
    static constexpr float radToDeg = RAD_TO_DEG;
    static constexpr float degToRad = DEG_TO_RAD;

#ifndef ZYNTHRA_CLASSIC
    Vector3D decoyBombPos;
    bool decoyBombOut;
    bool decoyBombEsplode;  // fuse run out; the game detonates it
#endif
    Vector3D prevPos;  // scratch: position before the move, then the reversed step
    Vector3D position;
    Vector3D xRef;  // the ship frame's right axis
    Vector3D yRef;  // the ship frame's up axis, also the camera's up
    float sinLookup[530];
    float cosLookup[530];
    bool isDead;
    bool isRezing;  // blinking and immune to collisions
    float deathTimer;
#ifndef ZYNTHRA_CLASSIC
    float decoyBombTimer;
    float decoyBombPulseTimer;
    Vector3D decoyBombYref;
    float decoyBombOrientationMatrix[16];
    float decoyBombOrientation;
#endif
    LaserShotPool myLaserPool;
    ParticlePool* myParticlePool;
    float orientation;            // heading of the nose, degrees about the surface normal
    float orientationMatrix[16];  // carries the model from (0, 0, 1) to the ship's place
    float shotClock;
    float bombClock;
    int laserType;
    float laserShotSpeed;
    bool hasSuperLaser;
    GLuint playerVBO;

    Player();
    void initialize();
    void setParticlePool(ParticlePool* particlePool);
    void setupVBO();
    void setupSinCosLookup();
    void updatePhysics(int x, int y, double dT);
    void draw();
    bool collisionDetection(EnemyPool* enemies, AsteroidPool* asteroids);
    void DIE();
    void REZ(float dT);
    void cleanup();
    void destroyLasers();
    Vector3D* getPosition();
    float* getOrientation();
    Vector3D* getxRef();
    Vector3D* getyRef();
    bool getIsDead();
    bool getIsRezing();
    float getDeathTimer();

    bool fireLaser(int x, int y);
    bool laserUp();
    bool superLaser(bool super);
    int laserCollisionDetection(EnemyPool* enemies, AsteroidPool* asteroids);
    bool doBomb(EnemyPool* enemies, AsteroidPool* asteroids);
    void freeBomb(EnemyPool* enemies, AsteroidPool* asteroids);
#ifndef ZYNTHRA_CLASSIC
    bool doDecoyBomb();
    void decoyBombBoom(EnemyPool* enemies, AsteroidPool* asteroids);
#endif

private:
    void fireShots(float angle, const float* offsets, int count, int type);
    void drawOutline(const float* matrix, float heading, float alpha);
#ifndef ZYNTHRA_CLASSIC
    void updateDecoyBomb(double dT);
#endif
};
