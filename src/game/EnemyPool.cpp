#include "EnemyPool.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

#include "AsteroidPool.h"
#include "HitProtocol.h"
#include "ParticlePool.h"
#include "Sound.h"
#include "constants.h"
#include "draw_support.h"
#include "enemyInfo.h"
#include "vec_support.h"

namespace {

constexpr int HIT_PARTICLES = 20;
constexpr int CLEAR_PARTICLES = 15;
constexpr int POINTS_PER_HIT = 10;
constexpr float TWO_PI_F = 2 * PI_F;

// Octo to star: the kinds of formations, spawners and wells.
constexpr int NUM_BASIC_KINDS = SPAWNER_ENEMY;
constexpr int MIXED_FORMATION = NUM_BASIC_KINDS;
constexpr int NUM_SPECIAL_KINDS = NUM_ENEMY_TYPES - SPAWNER_ENEMY;
constexpr int ENEMY_LASER = 7;
constexpr float SHOOTER_SHOT_RANGE = 40;
constexpr float TURRET_SHOT_RANGE = 65;
constexpr float MINE_PARENT_RADIUS = 0.15f;

constexpr float SPAWNER_INTERVAL = 2.0f;
constexpr float WELL_ASTEROID_INTERVAL = 3.0f;
#ifdef ZYNTHRA_CLASSIC
constexpr float MINER_INTERVAL = 7.0f;
constexpr float WELL_INTERVAL = 1.5f;
constexpr float DIFFICULTY_STEP = 0.005f;
#else
constexpr float MINER_INTERVAL = 4.0f;
constexpr float WELL_INTERVAL = 1.0f;
constexpr float DIFFICULTY_STEP = 0.0025f;
#endif
constexpr float HARDEST_DIFFICULTY = 0.5f;
constexpr int MAX_WAVE_SIZE = 25;
constexpr int MIN_WAVE_SIZE = 6;
// Room for several waves waiting at once, so queueing in play never allocates.
constexpr size_t QUEUE_CAPACITY = 256;

struct EnemyKind {
    const Vertex3D* model;
    int numVertices;
    Vertex3D color;
    float radius;
    int points;
    GLuint EnemyPool::*vbo;
};

template <size_t N>
constexpr EnemyKind kind(const Vertex3D (&model)[N], Vertex3D color, float radius, int points, GLuint EnemyPool::*vbo)
{
    return {model, (int)N, color, radius, points, vbo};
}

// Indexed by an enemy's type.
constexpr EnemyKind KINDS[NUM_ENEMY_TYPES] = {
    kind(octoEnemyModelVertexData, octoEnemyColor, octoEnemyRadius, octoEnemyPoints, &EnemyPool::octoEnemyVBO),
    kind(diamondEnemyModelVertexData, diamondEnemyColor, diamondEnemyRadius, diamondEnemyPoints,
         &EnemyPool::diamondEnemyVBO),
    kind(spinnerEnemyModelVertexData, spinnerEnemyColor, spinnerEnemyRadius, spinnerEnemyPoints,
         &EnemyPool::spinnerEnemyVBO),
    kind(fishEnemyModelVertexData, fishEnemyColor, fishEnemyRadius, fishEnemyPoints, &EnemyPool::fishEnemyVBO),
    kind(starEnemyModelVertexData, starEnemyColor, starEnemyRadius, starEnemyPoints, &EnemyPool::starEnemyVBO),
    kind(spawnerEnemyModelVertexData, spawnerEnemyColor, spawnerEnemyRadius, spawnerEnemyPoints,
         &EnemyPool::spawnerEnemyVBO),
    kind(minerEnemyModelVertexData, minerEnemyColor, minerEnemyRadius, minerEnemyPoints, &EnemyPool::minerEnemyVBO),
    kind(wellEnemyModelVertexData, wellEnemyColor, wellEnemyRadius, wellEnemyPoints, &EnemyPool::wellEnemyVBO),
    kind(wellAsteroidModelVertexData, wellAsteroidColor, wellAsteroidRadius, wellAsteroidPoints,
         &EnemyPool::wellAsteroidVBO),
    kind(laserShooterModelVertexData, laserShooterColor, laserShooterRadius, laserShooterPoints,
         &EnemyPool::laserShooterVBO),
    kind(laserTurretModelVertexData, laserTurretColor, laserTurretRadius, laserTurretPoints,
         &EnemyPool::laserTurretVBO)};

// Each kind's model, and the turret's base, are closed loops.
LineModel kindModel(int type)
{
    return LineModel{KINDS[type].model, KINDS[type].numVertices, true};
}

const LineModel turretBaseModel{turretBaseModelVertexData, (int)std::size(turretBaseModelVertexData), true};

// The kinds whose clear-out sparks keep their own colour (octo to well); the rest burst white.
constexpr int NUM_COLORED_CLEAR_KINDS = WELL_ASTEROID;

Vector3D toVector(const Vertex3D& v)
{
    return Vector3D(v.x, v.y, v.z);
}

// A formation member's kind: a mixed formation draws one per member.
int memberKind(int enemyType)
{
    return enemyType == MIXED_FORMATION ? rand() % NUM_BASIC_KINDS : enemyType;
}

}  // namespace

EnemyPool::EnemyPool()
{
    enemiesToCreate.reserve(QUEUE_CAPACITY);
    for (int i = 0; i < NUM_ENEMY_TYPES; i++) {
        enemyVBOsNumVertices[i] = KINDS[i].numVertices;
        enemyColors[i] = toVector(KINDS[i].color);
        enemyRadii[i] = KINDS[i].radius;
        enemyPoints[i] = KINDS[i].points;
    }
    initialize();
}

void EnemyPool::initialize()
{
    enemiesToCreate.clear();
    linkAll(enemies);
    waveCounter = 0;
    addEnemyClock = 0;
    addWaveClock = 0;
    waveTimer = 0;
    difficultyScale = 1.0f;
    nextWaveTime = 8.0f;
#ifndef ZYNTHRA_CLASSIC
    std::fill(std::begin(genericOrientationMatrix), std::end(genericOrientationMatrix), 0.0f);
    genericOrientationMatrix[15] = 1;
#endif
}

void EnemyPool::setupVBOs()
{
    myLaserPool.setupVBO();
    for (int i = 0; i < NUM_ENEMY_TYPES; i++) {
        GLuint vbo = uploadModel(KINDS[i].model, KINDS[i].numVertices);
        this->*KINDS[i].vbo = vbo;
        enemyVBOs[i] = vbo;
    }
    turretBaseVBO = uploadModel(turretBaseModelVertexData, std::size(turretBaseModelVertexData));
}

void EnemyPool::create(enemyToCreate* myEnemyToCreate, Vector3D* playerPos, Vector3D* playerYRef)
{
    create(myEnemyToCreate->type, myEnemyToCreate->xOffset, myEnemyToCreate->yOffset, playerPos, playerYRef);
}

void EnemyPool::create(int type, float offsetX, float offsetY, Vector3D* playerPos, Vector3D* playerYRef)
{
    if (!firstAvailable)
        return;
    // The ship's up reference turned by the offset's polar angle: the enemy moves off along it.
    Vector3D axis = *playerYRef;
    vec_rotate(&axis, playerPos, atan2f(offsetY, offsetX) * RAD_TO_DEG);
    takeSlot()->Init(type, &axis, playerPos, offsetX, offsetY);
}

void EnemyPool::create(int type, Vector3D* pos, Vector3D* rotationAxis)
{
    if (!firstAvailable)
        return;
    takeSlot()->Init(type, rotationAxis, pos, 0, 0);
}

// Spawners, miners, wells and wellAsteroids restart their timer and turn to a
// random heading each time they drop something.
static Enemy::Live& turnAtRandom(Enemy* parent)
{
    Enemy::Live& s = parent->live;
    s.timer = 0;
    vec_rotate(&s.rotationAxis, &s.position, rand_FloatRange(0, 360));
    return s;
}

// Spawners and wells turn to a random heading and release a basic enemy where they stand.
void EnemyPool::spawnAround(Enemy* parent)
{
    Enemy::Live& s = turnAtRandom(parent);
    int childKind = rand() % NUM_BASIC_KINDS;
    create(childKind, &s.position, &s.rotationAxis);
}

// Miners and wellAsteroids turn to a random heading and leave an asteroid fragment behind.
void EnemyPool::dropMine(Enemy* parent)
{
    Enemy::Live& s = turnAtRandom(parent);
    myAsteroidPool->createFragment(MINE_PARENT_RADIUS, &s.position, &s.rotationAxis);
}

void EnemyPool::fireLaser(Enemy* shooter)
{
    Enemy::Live& s = shooter->live;
    s.timer = 0;
    shooter->shouldFire = false;
    // position x forward is the unit axis towards the target: the shot flies straight at it.
    Vector3D direction;
    vec_cross(&s.position, &s.forward, &direction);
    float range = s.type == LASER_TURRET ? TURRET_SHOT_RANGE : SHOOTER_SHOT_RANGE;
    myLaserPool.create(&s.position, &direction, range, ENEMY_LASER);
}

void EnemyPool::updatePhysics(double dT, Vector3D* playerPos)
{
    myLaserPool.updatePhysics(dT);
    // Children take free slots; one later in the array is moved in this same pass.
    for (Enemy& enemy : enemies) {
        if (!enemy.isInUse)
            continue;
        enemy.updatePhysics(dT, playerPos);
        float timer = enemy.live.timer;
        switch (enemy.live.type) {
        case SPAWNER_ENEMY:
            if (timer > SPAWNER_INTERVAL)
                spawnAround(&enemy);
            break;
        case MINER_ENEMY:
            if (timer > MINER_INTERVAL)
                dropMine(&enemy);
            break;
        case WELL_ENEMY:
            if (timer > WELL_INTERVAL)
                spawnAround(&enemy);
            break;
        case WELL_ASTEROID:
            if (timer > WELL_ASTEROID_INTERVAL)
                dropMine(&enemy);
            break;
        case LASER_SHOOTER:
        case LASER_TURRET:
            if (enemy.shouldFire)
                fireLaser(&enemy);
            break;
        default:
            break;
        }
    }
}

// A bright core and a half-transparent glow, both in the kind's colour.
void EnemyPool::drawModel(const LineModel& model, const float* matrix, const Vector3D& color)
{
    const GlowStyle style = {2, {color.x, color.y, color.z, 0.94f}, 6, {color.x, color.y, color.z, 0.5f}};
    drawGlowingModel(model, matrix, style);
}

void EnemyPool::drawTurretBase(Enemy* turret)
{
#ifdef ZYNTHRA_CLASSIC
    // The base turns with the turret.
    const float* frame = turret->live.orientationMatrix;
#else
    // The base keeps the heading the turret was placed with.
    setMatrixColumns(genericOrientationMatrix, turret->live.firstRotationAxis, turret->live.firstForward,
                     turret->live.position);
    const float* frame = genericOrientationMatrix;
#endif
    float matrix[16];
    viewMatrix(matrix);
    matrixMultiply(matrix, frame);
    matrixTranslate(matrix, 0, 0, 1.01f);
    drawModel(turretBaseModel, matrix, enemyColors[LASER_TURRET]);
}

void EnemyPool::draw()
{
    beginProjectedDrawing();
    myLaserPool.draw();
    for (Enemy& enemy : enemies) {
        if (!enemy.isInUse)
            continue;
        Enemy::Live& s = enemy.live;
        if (s.type == LASER_TURRET)
            drawTurretBase(&enemy);
        float matrix[16];
        viewMatrix(matrix);
        matrixMultiply(matrix, s.orientationMatrix);
        matrixRotate(matrix, s.orientation, 0, 0, 1);
        matrixTranslate(matrix, 0, 0, 1.01f);
        drawModel(kindModel(s.type), matrix, enemyColors[s.type]);
    }
    endProjectedDrawing();
}

int EnemyPool::collisionDetection(Vector3D* pos, float radius, int weapon, int hits)
{
    int points = 0;
    // Every enemy inside the radius is struck, including one already doomed this frame.
    for (Enemy& enemy : enemies) {
        if (!enemy.isInUse)
            continue;
        Enemy::Live& s = enemy.live;
        if (!vec_closerThan(*pos, s.position, radius + enemyRadii[s.type]))
            continue;
        if (weapon == WEAPON_LASER)
            playSound(SOUND_HIT_SOFT);
        int hitsLeft = s.hitsLeft - hits;
        if (hitsLeft < 1) {
            enemy.remove = true;
            points += enemyPoints[s.type];
        } else {
            s.hitsLeft = hitsLeft;
            if (weapon != WEAPON_BLAST)
                points += POINTS_PER_HIT;
        }
        emitBurst(myParticlePool, &s.position, &enemyColors[s.type], HIT_PARTICLES);
    }
    return points;
}

int EnemyPool::collisionDetection(Vector3D* pos)
{
    return touchingSlotType(enemies, pos);
}

bool EnemyPool::enemyLaserCollisionDetection(Vector3D* pos, float radius)
{
    return myLaserPool.collisionDetection(pos, radius);
}

void EnemyPool::cleanupEnemies()
{
    myLaserPool.cleanupLasers();
    for (Enemy& enemy : enemies) {
        if (enemy.isInUse && enemy.remove)
            release(&enemy);
    }
}

void EnemyPool::destroyEverything()
{
    Vector3D white(1, 1, 1);
    for (Enemy& enemy : enemies) {
        if (!enemy.isInUse)
            continue;
        enemy.remove = true;
        int type = enemy.live.type;
        Vector3D* color = type >= 0 && type < NUM_COLORED_CLEAR_KINDS ? &enemyColors[type] : &white;
        emitBurst(myParticlePool, &enemy.live.position, color, CLEAR_PARTICLES);
    }
}

void EnemyPool::adjustWaveClock(float dT)
{
    addWaveClock += dT;
}

void EnemyPool::queue(int type, float xOffset, float yOffset)
{
    enemiesToCreate.push_back({type, xOffset, yOffset});
}

void EnemyPool::queueAtRandomOffset(int type)
{
    float xOffset = rand_FloatRange(75, 130);
    float yOffset = rand_FloatRange(90, 130);
    queue(type, xOffset, yOffset);
}

// Every third wave from wave 6 brings one special enemy ahead of its formation.
void EnemyPool::queueSpecialEnemies()
{
    if (waveCounter > 5 && waveCounter % 3 == 0) {
#ifdef ZYNTHRA_CLASSIC
        // Spawners and wellAsteroids take turns.
        int special = waveCounter % NUM_SPECIAL_KINDS + SPAWNER_ENEMY;
#else
        int special = rand() % NUM_SPECIAL_KINDS + SPAWNER_ENEMY;
#endif
        queueAtRandomOffset(special);
    }
#ifdef ZYNTHRA_CLASSIC
    queueAtRandomOffset(LASER_TURRET);  // and a laser turret with every wave
#endif
}

void EnemyPool::addWave(double dT, Vector3D* playerPos, Vector3D* playerYRef)
{
    addWaveClock = (float)(addWaveClock + dT);
    if (addWaveClock < waveTimer)
        return;
    addWaveClock = 0;
    if (difficultyScale > HARDEST_DIFFICULTY)
        difficultyScale -= DIFFICULTY_STEP;
    waveTimer = rand_FloatRange(6, 8) * difficultyScale;
    int enemyType = rand() % 6;
    queueSpecialEnemies();
    int numEnemies = std::min(MAX_WAVE_SIZE, (int)pow((double)waveCounter, (double)0.78f) + MIN_WAVE_SIZE);
    switch (rand() % 4) {
    case 0:
        addEllipticalWave(playerPos, playerYRef, enemyType, numEnemies);
        break;
    case 1:
        addLineWave(playerPos, playerYRef, enemyType, numEnemies);
        break;
    case 2:
        addBarsWave(playerPos, playerYRef, enemyType, numEnemies);
        break;
    default:
        addUWave(playerPos, playerYRef, enemyType, numEnemies);
        break;
    }
    waveCounter++;
}

void EnemyPool::addEnemy(double, Vector3D* playerPos, float*, Vector3D* playerYRef)
{
    if (enemiesToCreate.empty())
        return;
    // Placed around wherever the ship is now; a full pool just drops the entry.
    create(&enemiesToCreate.front(), playerPos, playerYRef);
    enemiesToCreate.erase(enemiesToCreate.begin());
}

void EnemyPool::addEllipticalWave(Vector3D*, Vector3D*, int enemyType, int numEnemies)
{
    float xScale = rand_FloatRange(80, 130);
    float yScale = rand_FloatRange(80, 130);
    if (numEnemies <= 0)
        return;
    float step = TWO_PI_F / numEnemies;
    for (int i = 0; i < numEnemies; i++) {
        float angle = i * step;
        queue(memberKind(enemyType), cosf(angle) * xScale, sinf(angle) * yScale);
    }
}

void EnemyPool::addLineWave(Vector3D*, Vector3D*, int enemyType, int numEnemies)
{
    int orientation = rand();
    float range = rand_FloatRange(50, 80);
    if (rand() % 2 == 0)
        range = -range;
    if (numEnemies <= 0)
        return;
    for (int i = 0; i < numEnemies; i++) {
        float along = (i - numEnemies * 0.5f) * 25;
        int type = memberKind(enemyType);
        if (orientation % 2 == 0)
            queue(type, range, along);
        else
            queue(type, along, range);
    }
}

void EnemyPool::addBarsWave(Vector3D*, Vector3D*, int enemyType, int numEnemies)
{
    int orientation = rand();
    float range = rand_FloatRange(50, 80);
    int half = numEnemies / 2;
    for (int i = 0; i < half; i++) {
        float along = (i - numEnemies * 0.25f) * 25;
        if (orientation % 2 == 0) {
            queue(memberKind(enemyType), range, along);
            queue(memberKind(enemyType), -range, along);
        } else {
            queue(memberKind(enemyType), along, range);
            queue(memberKind(enemyType), along, -range);
        }
    }
}

void EnemyPool::addUWave(Vector3D*, Vector3D*, int enemyType, int numEnemies)
{
    float scale = rand_FloatRange(80, 130);
    if (numEnemies <= 0)
        return;  // no formation, and no division by zero
    int randStart = rand() % numEnemies;
    float spacing = TWO_PI_F / numEnemies * 0.5f;
    for (int i = randStart; i < randStart + numEnemies; i++) {
        float angle = i * spacing;
        int type = memberKind(enemyType);
        queue(type, cosf(angle) * scale, sinf(angle) * scale);
    }
}
