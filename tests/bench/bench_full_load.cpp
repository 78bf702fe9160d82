// One frame of play logic at full load: 125 enemies, 25 asteroids, 550 particles and both
// laser pools full. Target: a median of at most 100 microseconds.
#include <benchmark/benchmark.h>
#include <time.h>

#include <cstdlib>

#include "AsteroidPool.h"
#include "EnemyPool.h"
#include "HitProtocol.h"
#include "LaserPool.h"
#include "ParticlePool.h"
#include "vec_support.h"

namespace {

Vector3D randomPoint()
{
    Vector3D p;
    vec_getRandomVec(&p);
    vec_normalize(&p);
    return p;
}

// The game's world without its drawing: the pools as the game wires them, and the ship's shots.
struct World {
    ParticlePool particles;
    AsteroidPool asteroids;
    EnemyPool enemies;
    LaserShotPool shipLasers;
    Vector3D ship{0, 0, 1};
    Vector3D yRef{0, 1, 0};

    World()
    {
        enemies.setParticlePool(&particles);
        enemies.setAsteroidPool(&asteroids);
        asteroids.setParticlePool(&particles);
    }

    // Tops every pool up to full. The kinds and places are random, but the laser kinds stay out of
    // range of the (resting) ship, so the full enemy laser pool never has to turn a shot away.
    void fill()
    {
        while (enemies.firstAvailable) {
            int type = rand() % 10;
            Vector3D pos = randomPoint(), axis = randomPoint();
            if (type == 9)
                type = 10;
            if (type == 10 && vec_dist(&pos, &ship) < 1.6f)
                type = 0;
            vec_cross(&axis, &pos);
            enemies.create(type, &pos, &axis);
        }
        while (asteroids.firstAvailable) {
            Vector3D pos = randomPoint(), axis = randomPoint();
            asteroids.createFragment(0.4f, &pos, &axis);
        }
        while (particles.firstAvailable) {
            Vector3D pos = randomPoint(), velocity = randomPoint(), color(1, 0.5f, 0);
            particles.createEsplosion(&pos, &velocity, &color);
        }
        fillLasers(enemies.myLaserPool, 65, 7);
        fillLasers(shipLasers, 100, 0);
    }

    static void fillLasers(LaserShotPool& lasers, float range, int type)
    {
        while (lasers.firstAvailable) {
            Vector3D pos = randomPoint(), axis = randomPoint();
            vec_cross(&axis, &pos);
            lasers.create(&pos, &axis, range, type);
        }
    }

    // The pool work of one frame of play, in the game's order.
    void frame(double dT)
    {
        enemies.addWave(dT, &ship, &yRef);
        enemies.addEnemy(dT, &ship, nullptr, &yRef);
        shipLasers.updatePhysics(dT);
        enemies.updatePhysics(dT, &ship);
        asteroids.updatePhysics(dT);
        particles.updatePhysics(dT);
        particles.cleanupParticles();
        // Every ship shot probes the enemies, then the asteroids if it scored nothing.
        for (int i = 0; i < LaserShotPool::POOL_SIZE; i++) {
            LaserShot& shot = shipLasers.shots[i];
            if (!shot.isInUse)
                continue;
            int points = enemies.collisionDetection(&shot.position, 0.03f, WEAPON_LASER, 1);
            if (points == 0)
                points = asteroids.collisionDetection(&shot.position, 0.03f, WEAPON_LASER, 1);
            if (points > 0)
                shipLasers.removeLaserAt(i);
        }
        enemies.enemyLaserCollisionDetection(&ship, 0.04f);
        enemies.collisionDetection(&ship, 0.04f, WEAPON_SHIP, 3);
        asteroids.collisionDetection(&ship, 0.04f, WEAPON_SHIP, 3);
        shipLasers.cleanupLasers();
        enemies.cleanupEnemies();
        asteroids.cleanupAsteroids();
    }
};

// The frame's own processor time: the build machines are shared, so wall time would mostly
// measure the neighbours; refilling the pools between frames is not counted.
double threadSeconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

void BM_FullLoadFrame(benchmark::State& state)
{
    srand(1);
    static World world;  // large: kept out of the benchmark thread's stack
    for (auto _ : state) {
        world.fill();
        double start = threadSeconds();
        world.frame(1 / 60.0);
        state.SetIterationTime(threadSeconds() - start);
    }
}
BENCHMARK(BM_FullLoadFrame)->UseManualTime()->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
