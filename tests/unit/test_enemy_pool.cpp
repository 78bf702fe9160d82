#include <gtest/gtest.h>

#include "EnemyPool.h"
#include "HitProtocol.h"
#include "pool_test_support.h"
#include "sound_double.h"

using pool_test::degreesBetween;
using pool_test::liveParticles;
using pool_test::turned;

namespace {

constexpr int SOUND_HIT = 1;

#ifdef ZYNTHRA_CLASSIC
// Laser and bomb hits needed to destroy each kind.
const int LASER_HITS_TO_KILL[11] = {1, 1, 1, 1, 1, 15, 20, 16, 16, 8, 1};
const int BOMBS_TO_KILL[11] = {1, 1, 1, 1, 1, 3, 3, 3, 3, 2, 1};
#else
const int LASER_HITS_TO_KILL[11] = {1, 1, 1, 1, 1, 10, 12, 12, 12, 8, 9};
const int BOMBS_TO_KILL[11] = {1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2};
#endif
const int POINTS[11] = {100, 150, 200, 250, 250, 500, 600, 900, 900, 500, 500};

class EnemyHits : public ::testing::Test {
protected:
    ParticlePool particles;
    EnemyPool pool;
    Vector3D here{0, 0, 1};

    void SetUp() override
    {
        sound_double::reset();
        pool.setParticlePool(&particles);
    }
    Enemy& place(int type, Vector3D at)
    {
        Enemy* slot = pool.firstAvailable;
        Vector3D axis(1, 0, 0);
        pool.create(type, &at, &axis);
        return *slot;
    }
    Enemy& place(int type) { return place(type, here); }
    int laser(Vector3D at) { return pool.collisionDetection(&at, 0.03f, WEAPON_LASER, 1); }
    int bomb(Vector3D at) { return pool.collisionDetection(&at, 1.0f, WEAPON_BLAST, 7); }
    int ship(Vector3D at) { return pool.collisionDetection(&at, 0.04f, WEAPON_SHIP, 3); }
};

}  // namespace

TEST_F(EnemyHits, SpawnerTakesItsLaserHitsThenScores)
{
    Enemy& spawner = place(5);
    int survivable = LASER_HITS_TO_KILL[5] - 1;
    for (int hit = 1; hit <= survivable; hit++) {
        EXPECT_EQ(laser(here), 10) << hit;
        EXPECT_FALSE(spawner.remove);
        EXPECT_EQ(liveParticles(particles), 20 * hit);
    }
    EXPECT_EQ(laser(here), 500);
    EXPECT_TRUE(spawner.remove);
    EXPECT_EQ(sound_double::count(SOUND_HIT), survivable + 1);
    EXPECT_EQ(liveParticles(particles), 20 * (survivable + 1));
}

TEST_F(EnemyHits, EveryKindFallsToItsNumberOfLaserHitsAndBombs)
{
    for (int type = 0; type < 11; type++) {
        SCOPED_TRACE(type);
        pool.initialize();
        Enemy& target = place(type);
        int shots = 0, points = 0;
        while (!target.remove && shots < 50) {
            points = laser(here);
            shots++;
        }
        EXPECT_EQ(shots, LASER_HITS_TO_KILL[type]);
        EXPECT_EQ(points, POINTS[type]);

        pool.initialize();
        Enemy& bombed = place(type);
        int bombs = 0;
        while (!bombed.remove && bombs < 10) {
            points = bomb(here);
            bombs++;
        }
        EXPECT_EQ(bombs, BOMBS_TO_KILL[type]);
        EXPECT_EQ(points, POINTS[type]);
    }
}

TEST_F(EnemyHits, BombBlastsEveryEnemyInItsCircleSilently)
{
    Enemy& octo = place(0, turned(here, Vector3D(1, 0, 0), 40));
    Enemy& shooter = place(9, turned(here, Vector3D(0, 1, 0), 50));
    Enemy& turret = place(10, turned(here, Vector3D(0, 1, 0), -20));
    // Chord 1.0 + the octo's 0.02 is 61.9 degrees: just beyond it the octo is safe.
    Enemy& farOcto = place(0, turned(here, Vector3D(1, 0, 0), -62.5f));

#ifdef ZYNTHRA_CLASSIC
    EXPECT_EQ(bomb(here), 100 + 500);  // a classic turret has no hit points to spare
    EXPECT_TRUE(turret.remove);
#else
    EXPECT_EQ(bomb(here), 100);  // survivors bring nothing
    EXPECT_FALSE(turret.remove);
    EXPECT_EQ(turret.live.hitsLeft, 2);
#endif
    EXPECT_TRUE(octo.remove);
    EXPECT_FALSE(shooter.remove);
    EXPECT_EQ(shooter.live.hitsLeft, 1);
    EXPECT_FALSE(farOcto.remove);
    EXPECT_TRUE(sound_double::log().sounds.empty());
    EXPECT_EQ(liveParticles(particles), 60);
}

TEST_F(EnemyHits, ShipContactReportsPointsWithoutSound)
{
    place(0);
    EXPECT_EQ(ship(here), 100);
    pool.cleanupEnemies();
    Enemy& miner = place(6);
    EXPECT_EQ(ship(here), 10);
    EXPECT_EQ(miner.live.hitsLeft, LASER_HITS_TO_KILL[6] - 3);
    EXPECT_TRUE(sound_double::log().sounds.empty());
}

TEST_F(EnemyHits, DoomedEnemiesScoreAgainUntilCleanup)
{
    Enemy& octo = place(0);
    place(1, turned(here, Vector3D(1, 0, 0), 1));  // overlapping: one shot strikes both
    EXPECT_EQ(laser(here), 250);
    EXPECT_EQ(laser(here), 250);
    EXPECT_TRUE(octo.remove);
    pool.cleanupEnemies();
    EXPECT_EQ(laser(here), 0);
    EXPECT_EQ(pool_test::countInUse(pool.enemies), 0);
}

TEST_F(EnemyHits, CleanupReusesTheLastFreedSlotFirst)
{
    for (int i = 0; i < 10; i++)
        place(0, turned(here, Vector3D(1, 0, 0), 10.0f * i));
    pool.enemies[3].remove = true;
    pool.enemies[7].remove = true;
    pool.cleanupEnemies();
    EXPECT_EQ(pool.firstAvailable, &pool.enemies[7]);
    EXPECT_EQ(pool.firstAvailable->GetNext(), &pool.enemies[3]);
    EXPECT_EQ(pool.enemies[3].GetNext(), &pool.enemies[10]);
    EXPECT_EQ(pool_test::countInUse(pool.enemies), 8);
}

TEST_F(EnemyHits, FullPoolCreatesNothingUntilInitialized)
{
    for (int i = 0; i < EnemyPool::POOL_SIZE; i++)
        place(i % 5, turned(here, Vector3D(1, 0, 0), 1.0f * i));
    ASSERT_EQ(pool.firstAvailable, nullptr);
    Vector3D yRef(0, 1, 0), axis(1, 0, 0);
    enemyToCreate queued{3, 90, 0};
    pool.create(6, &here, &axis);
    pool.create(6, 90.0f, 0.0f, &here, &yRef);
    pool.create(&queued, &here, &yRef);
    for (int i = 0; i < EnemyPool::POOL_SIZE; i++)
        ASSERT_EQ(pool.enemies[i].live.type, i % 5);

    pool.initialize();
    EXPECT_EQ(pool_test::countInUse(pool.enemies), 0);
    for (int i = 0; i < EnemyPool::POOL_SIZE; i++)
        place(0);
    EXPECT_EQ(pool_test::countInUse(pool.enemies), EnemyPool::POOL_SIZE);
}

TEST_F(EnemyHits, OffsetsPlaceEnemiesAroundTheShip)
{
    Vector3D ship(0, 0, 1), yRef(0, 1, 0);
    // (0, y) lies towards the ship's up reference, (x, 0) towards yRef x position.
    pool.create(0, 0.0f, 90.0f, &ship, &yRef);
    pool.create(0, 90.0f, 0.0f, &ship, &yRef);
    pool.create(5, 30.0f, 40.0f, &ship, &yRef);
    EXPECT_LT(vec_dist(&pool.enemies[0].live.position, &yRef), 1e-5f);
    Vector3D side(1, 0, 0);
    EXPECT_LT(vec_dist(&pool.enemies[1].live.position, &side), 1e-5f);
    Enemy& spawner = pool.enemies[2];
    EXPECT_NEAR(degreesBetween(spawner.live.position, ship), 50, 1e-3);
    // A kind that does not home moves on away from the ship along the same great circle.
    pool.updatePhysics(1 / 60.0, &ship);
    EXPECT_NEAR(degreesBetween(spawner.live.position, ship), 50.8, 1e-3);
}

TEST_F(EnemyHits, ClearingTheArenaBurstsEveryEnemyInItsColour)
{
    for (int type = 0; type < 11; type++)
        place(type, turned(here, Vector3D(1, 0, 0), 15.0f * type));
    pool.destroyEverything();
    EXPECT_EQ(liveParticles(particles), 11 * 15);
    EXPECT_TRUE(sound_double::log().sounds.empty());
    for (int type = 0; type < 11; type++) {
        Enemy& enemy = pool.enemies[type];
        EXPECT_TRUE(enemy.remove);
        Vector3D expected = type < 8 ? pool.enemyColors[type] : Vector3D(1, 1, 1);
        int matching = 0;
        for (Particle& p : particles.particles) {
            if (!p.isInUse || vec_dist(&p.state.live.position, &enemy.live.position) != 0)
                continue;
            matching++;
            EXPECT_EQ(vec_dist(&p.state.live.color, &expected), 0) << type;
        }
        EXPECT_EQ(matching, 15) << type;
    }
}

TEST_F(EnemyHits, TouchingAPointMarksTheEnemyThereAndNamesItsKind)
{
    Enemy& spawner = place(5);
    Vector3D near = turned(here, Vector3D(1, 0, 0), 1);
    EXPECT_EQ(pool.collisionDetection(&near), 5);
    EXPECT_TRUE(spawner.remove);
    EXPECT_EQ(spawner.live.hitsLeft, LASER_HITS_TO_KILL[5]);  // touching is no hit
}
