#pragma once

#include <GLES/gl.h>

#include "FreeList.h"
#include "Vector3D.h"

// One laser shot sliding along a great circle of the arena.
class LaserShot {
public:
    float distLeft;  // remaining range, degrees of arc
    bool isInUse;
    Vector3D position;
    Vector3D rotationAxis;        // travel is a positive rotation of position about this axis
    Vector3D forward;             // rotationAxis x position, refreshed every update
    float orientationMatrix[16];  // columns rotationAxis, forward, position
    int type;                     // 0..5 the ship's laser levels, 7 an enemy shot
    LaserShot* next;              // free-list link while the slot is free

    LaserShot* GetNext() { return next; }
    void SetNext(LaserShot* nextIn) { next = nextIn; }
};

// Fixed pool of shots; used once by the ship and once by the enemies.
class LaserShotPool : public FreeList<LaserShot> {
public:
    static constexpr int POOL_SIZE = 50;

    LaserShot shots[POOL_SIZE];
    GLuint laserVBO;
    Vector3D laserInnerColors[8];
    Vector3D laserOuterColors[8];  // indexed by shot type

    LaserShotPool();
    void setupVBO();
    void create(Vector3D* positionIn, Vector3D* rotationVector, float travelDist, int type);
    void updatePhysics(double dT);
    void draw();
    bool collisionDetection(Vector3D* pos, float radius);
    void cleanupLasers();
    void removeLaserAt(int i);
    void removeAll();
};
