#pragma once

#include "Vector3D.h"

// One slot of the asteroid pool: a rock falling in or drifting on the arena sphere.
class Asteroid {
public:
    bool isInUse = false;
    bool remove = false;
    bool incoming = false;  // still falling in: drawn, but cannot be hit
    Vector3D prevPos;
    struct Live {
        Vector3D position;
        Vector3D rotationAxis;
        Vector3D forward;
        float radius = 0;
        float speed = 0;  // degrees of drift per frame
        float sinTheta = 0;
        float cosTheta = 0;
        float rotateX = 0;  // tumble angles, degrees
        float rotateY = 0;
        float rotationX = 0;  // tumble rates, degrees per second
        float rotationY = 0;
        int type = 0;  // model: 0..2 fragments, 3..5 large rocks
        int numHits = 0;
    } live;
    Asteroid* next = nullptr;

    Asteroid* GetNext() { return next; }
    void SetNext(Asteroid* nextIn) { next = nextIn; }
    bool inUse() { return isInUse; }

    void Init(int typeIn, Vector3D* rotationVector, Vector3D* positionIn, float radiusIn, bool incomingIn);
    void updatePhysics(double dT);
};
