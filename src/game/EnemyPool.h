#pragma once

#include <GLES/gl.h>

#include <vector>

#include "Enemy.h"
#include "FreeList.h"
#include "LaserPool.h"
#include "Vector3D.h"

class ParticlePool;
class AsteroidPool;
struct LineModel;

// One queued enemy: its kind and its offset around the ship, in degrees of arc.
struct enemyToCreate {
    int type;
    float xOffset;
    float yOffset;
};

// A prepared wave; the schedule builds its waves on the fly, so none is ever stored.
struct enemyWave {
    float timeToThisWave = 0;
    int numEnemies = 0;
    enemyToCreate* enemies = nullptr;
    std::vector<enemyToCreate> enemiesVector;
};

// The enemies: 125 fixed slots on a free list, their lasers, models, per-kind tables and the wave schedule.
class EnemyPool : public FreeList<Enemy> {
public:
    ParticlePool* myParticlePool = nullptr;
    AsteroidPool* myAsteroidPool = nullptr;
    LaserShotPool myLaserPool;
    static constexpr int POOL_SIZE = 125;
    Enemy enemies[POOL_SIZE];
    std::vector<enemyToCreate> enemiesToCreate;
    std::vector<enemyToCreate> nextWave;
    int numWaves = 0;
    int waveCounter = 0;
    std::vector<enemyWave> enemyWaves;
    float addEnemyClock = 0;
    float addWaveClock = 0;
    float nextWaveTime = 0;
    float waveTimer = 0;
    float difficultyScale = 1.0f;
    GLuint octoEnemyVBO = 0;
    GLuint diamondEnemyVBO = 0;
    GLuint spinnerEnemyVBO = 0;
    GLuint fishEnemyVBO = 0;
    GLuint starEnemyVBO = 0;
    GLuint spawnerEnemyVBO = 0;
    GLuint minerEnemyVBO = 0;
    GLuint wellEnemyVBO = 0;
    GLuint wellAsteroidVBO = 0;
    GLuint laserShooterVBO = 0;
    GLuint laserTurretVBO = 0;
    GLuint turretBaseVBO = 0;
#ifndef ZYNTHRA_CLASSIC
    float genericOrientationMatrix[16] = {};
#endif
    unsigned int enemyVBOs[NUM_ENEMY_TYPES] = {};
    int enemyVBOsNumVertices[NUM_ENEMY_TYPES] = {};
    Vector3D enemyColors[NUM_ENEMY_TYPES];
    float enemyRadii[NUM_ENEMY_TYPES] = {};
    int enemyPoints[NUM_ENEMY_TYPES] = {};

    EnemyPool();
    void initialize();
    void setParticlePool(ParticlePool* particlePool)
    {
        myParticlePool = particlePool;
    }
    void setAsteroidPool(AsteroidPool* asteroidPool)
    {
        myAsteroidPool = asteroidPool;
    }
    void setupVBOs();

    void create(enemyToCreate* myEnemyToCreate, Vector3D* playerPos, Vector3D* playerYRef);
    void create(int type, float offsetX, float offsetY, Vector3D* playerPos, Vector3D* playerYRef);
    void create(int type, Vector3D* pos, Vector3D* rotationAxis);

    // playerPos is whatever the enemies chase: the ship, or the decoy while one is out.
    void updatePhysics(double dT, Vector3D* playerPos);
    void draw();
    // The shared hit protocol: weapon 0 a laser shot, 1 a bomb blast, 2 the ship; returns the points earned.
    int collisionDetection(Vector3D* pos, float radius, int weapon, int hits);
    int collisionDetection(Vector3D* pos);
    bool enemyLaserCollisionDetection(Vector3D* pos, float radius);
    void cleanupEnemies();
    void destroyEverything();

    // The wave schedule.
    void adjustWaveClock(float dT);
    void addWave(double dT, Vector3D* playerPos, Vector3D* playerYRef);
    void addEnemy(double dT, Vector3D* playerPos, float* playerOrientation, Vector3D* playerYRef);
    void addEllipticalWave(Vector3D* playerPos, Vector3D* playerYRef, int enemyType, int numEnemies);
    void addLineWave(Vector3D* playerPos, Vector3D* playerYRef, int enemyType, int numEnemies);
    void addBarsWave(Vector3D* playerPos, Vector3D* playerYRef, int enemyType, int numEnemies);
    void addUWave(Vector3D* playerPos, Vector3D* playerYRef, int enemyType, int numEnemies);

private:
    void spawnAround(Enemy* parent);
    void dropMine(Enemy* parent);
    void fireLaser(Enemy* shooter);
    void queue(int type, float xOffset, float yOffset);
    void queueAtRandomOffset(int type);
    void queueSpecialEnemies();
    void drawModel(const LineModel& model, const float* matrix, const Vector3D& color);
    void drawTurretBase(Enemy* turret);
};
