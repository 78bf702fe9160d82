#include "Enemy.h"

#include <cmath>

#include "constants.h"
#include "draw_support.h"
#include "vec_support.h"

namespace {

// The spin and phase sums are formed in double from the single-precision pi.
constexpr double FAST_SPIN = 376.99112892;   // 120 pi degrees per second
constexpr double WELL_SPIN = 471.238911152;  // 150 pi degrees per second

#ifdef ZYNTHRA_CLASSIC
constexpr int HIT_POINTS[NUM_ENEMY_TYPES] = {0, 0, 0, 0, 0, 15, 20, 16, 16, 8, 0};
// The classic laser shooter closes in at the octo's pace.
constexpr float SHOOTER_SIN = Enemy::enemySinTheta;
constexpr float SHOOTER_COS = Enemy::enemyCosTheta;
#else
constexpr int HIT_POINTS[NUM_ENEMY_TYPES] = {0, 0, 0, 0, 0, 10, 12, 12, 12, 8, 9};
constexpr float SHOOTER_SIN = Enemy::spinnerEnemySinTheta;
constexpr float SHOOTER_COS = Enemy::spinnerEnemyCosTheta;
#endif

constexpr float SHOOTER_RANGE = 0.5f;
constexpr float SHOOTER_INTERVAL = 1.0f;
constexpr float TURRET_RANGE = 1.5f;
constexpr float TURRET_INTERVAL = 1.25f;

int startingHitPoints(int type)
{
    return type >= 0 && type < NUM_ENEMY_TYPES ? HIT_POINTS[type] : 0;
}

float advance(float value, double dT, double ratePerSecond)
{
    return (float)(value + dT * ratePerSecond);
}

}  // namespace

void Enemy::Init(int typeIn, Vector3D* rotationVector, Vector3D* positionIn, float xOffset, float yOffset)
{
    live.orientation = 0;
    live.orientationAccumulator = 0;
    live.position = *positionIn;
    live.rotationAxis = *rotationVector;
    vec_rotate(&live.position, &live.rotationAxis, sqrtf(xOffset * xOffset + yOffset * yOffset));
    remove = false;
    shouldFire = false;
    isInUse = true;
    live.type = typeIn;
    for (float& element : live.orientationMatrix)
        element = 0;
    live.orientationMatrix[15] = 1;
    live.hitsLeft = startingHitPoints(typeIn);
#ifndef ZYNTHRA_CLASSIC
    if (typeIn == LASER_TURRET) {
        // The base faces the point the turret was placed from.
        vec_cross(&live.position, positionIn, &live.firstRotationAxis);
        vec_normalize(&live.firstRotationAxis);
        vec_cross(&live.firstRotationAxis, &live.position, &live.firstForward);
    }
#endif
    live.timer = 0;
}

// Turning the position about position x target moves it along the great circle towards the target.
void Enemy::aimAt(Vector3D* target)
{
    vec_cross(&live.position, target, &live.rotationAxis);
}

void Enemy::updatePhysics(double dT, Vector3D* playerPos)
{
    if (!isInUse)
        return;
    Live& s = live;
    switch (s.type) {
    case DIAMOND_ENEMY:  // weaves up to 90 degrees either side of the direct course
        s.orientationAccumulator = advance(s.orientationAccumulator, dT, PI_F);
        aimAt(playerPos);
        vec_rotate(&s.rotationAxis, &s.position, sinf(s.orientationAccumulator) * 90);
        vec_rotate(&s.position, &s.rotationAxis, diamondEnemySinTheta, diamondEnemyCosTheta);
        break;
    case SPINNER_ENEMY:
        s.orientation = advance(s.orientation, dT, FAST_SPIN);
        aimAt(playerPos);
        vec_rotate(&s.position, &s.rotationAxis, spinnerEnemySinTheta, spinnerEnemyCosTheta);
        break;
    case FISH_ENEMY:  // surges of up to a degree per frame
        s.timer = advance(s.timer, dT, PI_F);
        aimAt(playerPos);
        vec_rotate(&s.position, &s.rotationAxis, fabsf(sinf(s.timer)));
        break;
    case STAR_ENEMY: {  // veers 0 to 90 degrees to one side
        s.orientation = advance(s.orientation, dT, FAST_SPIN);
        s.orientationAccumulator = advance(s.orientationAccumulator, dT, PI_F);
        aimAt(playerPos);
        float veer = cosf(s.orientationAccumulator);
        vec_rotate(&s.rotationAxis, &s.position, veer * veer * 90);
        vec_rotate(&s.position, &s.rotationAxis, starEnemySinTheta, starEnemyCosTheta);
        break;
    }
    case SPAWNER_ENEMY:  // spawners and miners keep their great circle
    case MINER_ENEMY:
        s.timer = advance(s.timer, dT, 1.0);
        vec_rotate(&s.position, &s.rotationAxis, spawnerEnemySinTheta, spawnerEnemyCosTheta);
        break;
    case WELL_ENEMY:  // wells stand still and spin
    case WELL_ASTEROID:
        s.orientation = advance(s.orientation, dT, WELL_SPIN);
        s.timer = advance(s.timer, dT, 1.0);
        break;
    case LASER_SHOOTER:  // closes in, then stands and fires
        s.timer = advance(s.timer, dT, 1.0);
        aimAt(playerPos);
        if (vec_dist(&s.position, playerPos) > SHOOTER_RANGE) {
            shouldFire = false;
            vec_rotate(&s.position, &s.rotationAxis, SHOOTER_SIN, SHOOTER_COS);
        } else {
            vec_normalize(&s.rotationAxis);
            if (s.timer >= SHOOTER_INTERVAL)
                shouldFire = true;
        }
        break;
    case LASER_TURRET:  // turns to the target, fires while it is near
        s.timer = advance(s.timer, dT, 1.0);
        aimAt(playerPos);
        vec_normalize(&s.rotationAxis);
        if (vec_dist(&s.position, playerPos) > TURRET_RANGE)
            shouldFire = false;
        else if (s.timer >= TURRET_INTERVAL)
            shouldFire = true;
        break;
    default:  // octo, and any unknown kind
        aimAt(playerPos);
        vec_rotate(&s.position, &s.rotationAxis, enemySinTheta, enemyCosTheta);
        break;
    }
    vec_cross(&s.rotationAxis, &s.position, &s.forward);
    setMatrixColumns(s.orientationMatrix, s.rotationAxis, s.forward, s.position);
}
