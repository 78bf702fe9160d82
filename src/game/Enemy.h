#pragma once

#include "Vector3D.h"

// The eleven enemy kinds, the values of Enemy::live.type: five basic kinds, then the special ones.
enum EnemyType {
    OCTO_ENEMY,
    DIAMOND_ENEMY,
    SPINNER_ENEMY,
    FISH_ENEMY,
    STAR_ENEMY,
    SPAWNER_ENEMY,
    MINER_ENEMY,
    WELL_ENEMY,
    WELL_ASTEROID,
    LASER_SHOOTER,
    LASER_TURRET,
    NUM_ENEMY_TYPES
};

// One slot of the enemy pool: a live enemy on the arena sphere, or a link of the free list.
class Enemy {
public:
    // Fixed per-frame steps as precomputed sine/cosine pairs, so moving needs no trigonometry.
    static constexpr float enemySinTheta = 0.0078539f;  // 0.45 degrees
    static constexpr float enemyCosTheta = 0.99996918f;
    static constexpr float diamondEnemySinTheta = 0.0087265355f;  // 0.5 degrees
    static constexpr float diamondEnemyCosTheta = 0.99996192f;
    static constexpr float spinnerEnemySinTheta = 0.0087265355f;  // 0.5 degrees
    static constexpr float spinnerEnemyCosTheta = 0.99996192f;
    static constexpr float starEnemySinTheta = 0.015707317f;  // 0.9 degrees
    static constexpr float starEnemyCosTheta = 0.99987663f;
    static constexpr float spawnerEnemySinTheta = 0.01396218f;  // 0.8 degrees
    static constexpr float spawnerEnemyCosTheta = 0.99990252f;
    static constexpr float fishEnemySinTheta = 0.012217001f;  // 0.7 degrees
    static constexpr float fishEnemyCosTheta = 0.99992537f;

    bool isInUse = false;
    bool remove = false;
    bool shouldFire = false;
    Vector3D prevPos;
    struct Live {
        Vector3D position;
        Vector3D rotationAxis;
        Vector3D forward;
#ifndef ZYNTHRA_CLASSIC
        // The laser turret's base keeps the heading it was placed with.
        Vector3D firstRotationAxis;
        Vector3D firstForward;
#endif
        float xDir = 0;
        float yDir = 0;
        float orientationMatrix[16] = {};
        float orientation = 0;             // degrees, spin about the model's normal
        float orientationAccumulator = 0;  // radians, phase of the diamond's weave and the star's veer
        float timer = 0;                   // seconds since the last shot, spawn or drop; the fish's phase
        int type = 0;
        int hitsLeft = 0;
    } live;
    Enemy* next = nullptr;

    Enemy* GetNext()
    {
        return next;
    }
    void SetNext(Enemy* nextIn)
    {
        next = nextIn;
    }
    bool inUse()
    {
        return isInUse;
    }

    void Init(int typeIn, Vector3D* rotationVector, Vector3D* positionIn, float xOffset, float yOffset);
    void updatePhysics(double dT, Vector3D* playerPos);

private:
    void aimAt(Vector3D* target);
};
