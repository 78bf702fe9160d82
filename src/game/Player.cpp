#include "Player.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

#include "AsteroidPool.h"
#include "EnemyPool.h"
#include "HitProtocol.h"
#include "Sound.h"
#include "draw_support.h"
#include "gl_support.h"
#include "playerModel.h"
#include "vec_support.h"

namespace {
// Movement input is in units of 1/210 degree of arc per frame.
constexpr float inputToDegrees = 0.0047619054f;
constexpr int lookupOffset = 265;
constexpr int minInput = -265;
constexpr int maxInput = 264;

constexpr float shipRadius = 0.04f;
constexpr float shotRadius = 0.03f;
constexpr float shotRange = 100;
constexpr float blastRadius = 1;
constexpr int blastHits = 7;
constexpr int bombNumParticles = 100;

#ifdef ZYNTHRA_CLASSIC
constexpr int deathParticles = 100;  // the burst and the rings of death and respawn
#else
constexpr int deathParticles = 60;
#endif

struct LaserLevel {
    float interval;  // minimum seconds between triggers
    int numShots;
    float offsets[3];  // degrees from the aim, in launch order
};

const LaserLevel laserLevels[6] = {
    {0.1f, 1, {0}},     {0.07f, 1, {0}},         {0.15f, 2, {7, -7}},
    {0.1f, 2, {7, -7}}, {0.2f, 3, {0, -15, 15}}, {0.15f, 3, {0, -15, 15}},
};
constexpr int topLaserLevel = 5;

constexpr float superLaserInterval = 0.2f;
constexpr int superLaserShotType = 2;
const float superLaserOffsets[4] = {10, -10, 25, -25};

void setIdentity(float* matrix)
{
    for (int i = 0; i < 16; i++)
        matrix[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}
}  // namespace

Player::Player()
    :
#ifndef ZYNTHRA_CLASSIC
      decoyBombOut(false),
      decoyBombEsplode(false),
      decoyBombPulseTimer(0),
      decoyBombOrientationMatrix(),
      decoyBombOrientation(0),
#endif
      myParticlePool(nullptr),
      hasSuperLaser(false),
      playerVBO(0)
{
    initialize();
    setupSinCosLookup();
}

void Player::initialize()
{
    vec_set(&position, 0, 0, 1);
    vec_set(&xRef, 1, 0, 0);
    vec_set(&yRef, 0, 1, 0);
    setIdentity(orientationMatrix);
    orientation = 0;
    shotClock = -0.2f;
    bombClock = 2;
    laserType = 0;
    laserShotSpeed = laserLevels[0].interval;
    deathTimer = 2;
    isDead = false;
    isRezing = true;
#ifndef ZYNTHRA_CLASSIC
    decoyBombOut = false;
    decoyBombTimer = 0;
#endif
}

void Player::setParticlePool(ParticlePool* particlePool)
{
    myParticlePool = particlePool;
}

void Player::setupVBO()
{
    playerVBO = uploadModel(playerModelVertexData, std::size(playerModelVertexData));
    myLaserPool.setupVBO();
}

void Player::setupSinCosLookup()
{
    float step = degToRad * inputToDegrees;
    for (int k = 0; k < 530; k++) {
        sinLookup[k] = sinf((k - lookupOffset) * step);
        cosLookup[k] = cosf((k - lookupOffset) * step);
    }
}

#ifndef ZYNTHRA_CLASSIC
void Player::updateDecoyBomb(double dT)
{
    decoyBombTimer += dT;
    if (decoyBombTimer >= 4)
        decoyBombEsplode = true;
    decoyBombPulseTimer += dT;
    if (decoyBombPulseTimer >= 1) {
        playSound(SOUND_MENU_SELECT);
        decoyBombPulseTimer = 0;
        myParticlePool->makeParticleCircle(&decoyBombPos, &decoyBombYref, 25, 20);
    }
}
#endif

void Player::updatePhysics(int x, int y, double dT)
{
#ifndef ZYNTHRA_CLASSIC
    if (decoyBombOut)
        updateDecoyBomb(dT);
#endif
    shotClock += dT;
    bombClock += dT;

    if (x != 0 || y != 0) {
        // Raw nub readings are unchecked; keep them inside the lookup tables, and
        // clamp before the matrix step too so matrix and axes stay in step.
        x = std::clamp(x, minInput, maxInput);
        y = std::clamp(y, minInput, maxInput);

        orientation = (atan2f(-y, x) - 1.5707964f) * radToDeg;
        OpenGLAccumulateMatrix(orientationMatrix, x * inputToDegrees, y * inputToDegrees);
        prevPos = position;

        float sy = sinLookup[y + lookupOffset], cy = cosLookup[y + lookupOffset];
        vec_rotate(&position, &xRef, sy, cy);
        vec_rotate(&yRef, &xRef, sy, cy);
        float sx = sinLookup[x + lookupOffset], cx = cosLookup[x + lookupOffset];
        vec_rotate(&position, &yRef, sx, cx);
        vec_rotate(&xRef, &yRef, sx, cx);

        vec_subtract(&prevPos, &position);
        float inputMag = (std::abs(x) + std::abs(y)) * 0.5f;
        for (int i = 0; i < 2; i++) {
            Vector3D particleVel = prevPos;
            vec_spiceUp(&particleVel);
            myParticlePool->create(&position, &particleVel, inputMag);
        }
    }
    myLaserPool.updatePhysics(dT);
}

void Player::drawOutline(const float* matrix, float heading, float alpha)
{
    const LineModel model{playerModelVertexData, (int)std::size(playerModelVertexData), true};
    float placed[16];
    viewMatrix(placed);
    matrixMultiply(placed, matrix);
    matrixRotate(placed, heading, 0, 0, 1);
    matrixTranslate(placed, 0, 0, 1.01f);
    matrixScale(placed, 0.065f, 0.065f, 0);
    const GlowStyle style = {2, {1, 1, 1, alpha}, 8, {0.8f, 0.8f, 0.8f, alpha / 2}};
    drawGlowingModel(model, placed, style);
}

void Player::draw()
{
    beginProjectedDrawing();
    // Ten blinks a second while respawning.
    float alpha = isRezing ? (float)std::fabs(std::sin(deathTimer * 31.415928)) : 1.0f;
    drawOutline(orientationMatrix, orientation, alpha);
#ifndef ZYNTHRA_CLASSIC
    if (decoyBombOut)
        drawOutline(decoyBombOrientationMatrix, decoyBombOrientation, 1.0f);
#endif
    myLaserPool.draw();
    endProjectedDrawing();
}

bool Player::collisionDetection(EnemyPool* enemies, AsteroidPool* asteroids)
{
    if (isDead || isRezing)
        return false;
    bool hit = asteroids->collisionDetection(&position, shipRadius, WEAPON_SHIP, 3) > 0 ||
               enemies->collisionDetection(&position, shipRadius, WEAPON_SHIP, 3) > 0 ||
               enemies->enemyLaserCollisionDetection(&position, shipRadius);
    if (!hit)
        return false;
    freeBomb(enemies, asteroids);
    DIE();
    return true;
}

void Player::DIE()
{
    playSound(SOUND_PLAYER_DEATH);
    isDead = true;
    deathTimer = 0;
    myLaserPool.removeAll();
    Vector3D white(1, 1, 1);
    for (int i = 0; i < deathParticles; i++) {
        Vector3D vel;
        vec_getRandomVec(&vel);
        myParticlePool->createEsplosion(&position, &vel, &white);
    }
    myParticlePool->makeParticleCircle(&position, &yRef, 50, deathParticles);
#ifndef ZYNTHRA_CLASSIC
    // A decoy that is out vanishes without going off.
    decoyBombOut = false;
    decoyBombEsplode = false;
#endif
}

void Player::REZ(float dT)
{
    deathTimer += dT;
    if (isDead && deathTimer >= 2) {
        isDead = false;
        isRezing = true;
        playSound(SOUND_REZ);
        myParticlePool->makeParticleCircle(&position, &yRef, 50, deathParticles);
    }
    if (deathTimer >= 4)
        isRezing = false;
}

void Player::cleanup()
{
    myLaserPool.cleanupLasers();
}

void Player::destroyLasers()
{
    myLaserPool.removeAll();
}

Vector3D* Player::getPosition()
{
    return &position;
}

float* Player::getOrientation()
{
    return orientationMatrix;
}

Vector3D* Player::getxRef()
{
    return &xRef;
}

Vector3D* Player::getyRef()
{
    return &yRef;
}

bool Player::getIsDead()
{
    return isDead;
}

bool Player::getIsRezing()
{
    return isRezing;
}

float Player::getDeathTimer()
{
    return deathTimer;
}

void Player::fireShots(float angle, const float* offsets, int count, int type)
{
    for (int i = 0; i < count; i++) {
        Vector3D axis = yRef;
        vec_rotate(&axis, &position, angle + offsets[i]);
        myLaserPool.create(&position, &axis, shotRange, type);
    }
}

bool Player::fireLaser(int x, int y)
{
    // The super laser overrides the level's interval and pattern while it lasts.
    float interval = hasSuperLaser ? superLaserInterval : laserShotSpeed;
    if (shotClock < interval)
        return false;
    float angle = -atan2f(y, x) * radToDeg;
    playSound(SOUND_LASER);
    shotClock = 0;
    if (hasSuperLaser) {
        fireShots(angle, superLaserOffsets, 4, superLaserShotType);
    } else {
        const LaserLevel& level = laserLevels[laserType];
        fireShots(angle, level.offsets, level.numShots, laserType);
    }
    return true;
}

bool Player::laserUp()
{
    if (laserType >= topLaserLevel)
        return false;
    laserType++;
    laserShotSpeed = laserLevels[laserType].interval;
    return true;
}

bool Player::superLaser(bool super)
{
    if (!super) {
        hasSuperLaser = false;
        return false;
    }
    if (hasSuperLaser)
        return false;
    hasSuperLaser = true;
    return true;
}

int Player::laserCollisionDetection(EnemyPool* enemies, AsteroidPool* asteroids)
{
    int points = 0;
    for (int i = 0; i < LaserShotPool::POOL_SIZE; i++) {
        LaserShot& shot = myLaserPool.shots[i];
        if (!shot.isInUse)
            continue;
        // Asteroids are probed only by a shot that scored nothing on the enemies.
        int p = enemies->collisionDetection(&shot.position, shotRadius, WEAPON_LASER, 1);
        if (p <= 0)
            p = asteroids->collisionDetection(&shot.position, shotRadius, WEAPON_LASER, 1);
        if (p > 0) {
            myLaserPool.removeLaserAt(i);
            points += p;
        }
    }
    return points;
}

bool Player::doBomb(EnemyPool* enemies, AsteroidPool* asteroids)
{
    if (bombClock < 0.5f)
        return false;
    playSound(SOUND_BOMB);
    bombClock = 0;
    freeBomb(enemies, asteroids);
    return true;
}

void Player::freeBomb(EnemyPool* enemies, AsteroidPool* asteroids)
{
    Vector3D particleVel = yRef;
    vec_multiply(&particleVel, 100);
    Vector3D particleColor(1, 1, 1);
    for (int i = 0; i < bombNumParticles; i++) {
        vec_rotate(&particleVel, &position, 3.6f);
        myParticlePool->createEsplosion(&position, &particleVel, &particleColor);
    }
    // Blast kills score nothing: the points are dropped.
    enemies->collisionDetection(&position, blastRadius, WEAPON_BLAST, blastHits);
    asteroids->collisionDetection(&position, blastRadius, WEAPON_BLAST, blastHits);
}

#ifndef ZYNTHRA_CLASSIC
bool Player::doDecoyBomb()
{
    if (decoyBombOut)
        return false;
    playSound(SOUND_MENU_SELECT);
    decoyBombOut = true;
    decoyBombPos = position;
    decoyBombYref = yRef;
    decoyBombOrientation = orientation;
    std::copy(orientationMatrix, orientationMatrix + 16, decoyBombOrientationMatrix);
    myParticlePool->makeParticleCircle(&decoyBombPos, &decoyBombYref, 25, 20);
    decoyBombTimer = 0;
    decoyBombPulseTimer = 0;
    return true;
}

void Player::decoyBombBoom(EnemyPool* enemies, AsteroidPool* asteroids)
{
    playSound(SOUND_BOMB);
    myParticlePool->makeParticleCircle(&decoyBombPos, &decoyBombYref, 100, 100);
    enemies->collisionDetection(&decoyBombPos, blastRadius, WEAPON_BLAST, blastHits);
    asteroids->collisionDetection(&decoyBombPos, blastRadius, WEAPON_BLAST, blastHits);
}
#endif
