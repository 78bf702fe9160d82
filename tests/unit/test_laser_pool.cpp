#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "constants.h"
#include "game_test_support.h"

using pool_test::framesToEmpty;

namespace {
// Walks the free list; a slot met twice would mean a corrupted list.
int freeListLength(const LaserShotPool& pool)
{
    std::set<const LaserShot*> seen;
    for (const LaserShot* s = pool.firstAvailable; s != nullptr; s = s->next) {
        if (!seen.insert(s).second)
            return -1;
    }
    return (int)seen.size();
}

int slotOf(const LaserShotPool& pool, const LaserShot* shot)
{
    return (int)(shot - pool.shots);
}

Vector3D north(0, 0, 1);
Vector3D yAxis(0, 1, 0);
}  // namespace

TEST(LaserPool, TheFiftyFirstShotIsRefusedWithAMessage)
{
    LaserShotPool pool;
    testing::internal::CaptureStdout();
    for (int i = 0; i < LaserShotPool::POOL_SIZE; i++)
        pool.create(&north, &yAxis, 100, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(liveShots(pool), 50);
    EXPECT_EQ(pool.firstAvailable, nullptr);

    testing::internal::CaptureStdout();
    pool.create(&north, &yAxis, 100, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Laser pool full!\n");
    EXPECT_EQ(liveShots(pool), 50);
}

TEST(LaserPool, FreedSlotsAreReusedLastFreedFirst)
{
    LaserShotPool pool;
    for (int i = 0; i < 3; i++)
        pool.create(&north, &yAxis, 100, 0);
    pool.removeLaserAt(0);
    pool.removeLaserAt(2);
    EXPECT_EQ(slotOf(pool, pool.firstAvailable), 2);
    pool.create(&north, &yAxis, 100, 0);
    pool.create(&north, &yAxis, 100, 0);
    EXPECT_TRUE(pool.shots[0].isInUse && pool.shots[2].isInUse);
    EXPECT_EQ(slotOf(pool, pool.firstAvailable), 3);

    // Emptying a full pool pushes the slots in index order, so slot 49 comes back first.
    while (pool.firstAvailable != nullptr)
        pool.create(&north, &yAxis, 100, 0);
    pool.removeAll();
    EXPECT_EQ(slotOf(pool, pool.firstAvailable), 49);
    EXPECT_EQ(freeListLength(pool), 50);
}

TEST(LaserPool, OneTouchClearsTheWholePool)
{
    LaserShotPool pool;
    Vector3D elsewhere(0, 1, 0), axis(1, 0, 0);
    pool.create(&elsewhere, &axis, 100, 7);
    pool.create(&north, &yAxis, 100, 7);
    pool.create(&elsewhere, &axis, 100, 7);

    // Just out of reach: radius 0.04 plus the shot's own 0.03.
    Vector3D probe(0.0701f, 0, 1);
    EXPECT_FALSE(pool.collisionDetection(&probe, 0.04f));
    EXPECT_EQ(liveShots(pool), 3);

    Vector3D touching(0.07f, 0, 1);
    EXPECT_TRUE(pool.collisionDetection(&touching, 0.04f));
    EXPECT_EQ(liveShots(pool), 0);
    EXPECT_EQ(freeListLength(pool), 50);
    EXPECT_FALSE(pool.collisionDetection(&touching, 0.04f));
}

TEST(LaserPool, ShotsFlyAlongTheirGreatCircleAtTheirSpeed)
{
    LaserShotPool pool;
    Vector3D start(0, 0, 1), axis(0, 2, 0);
    pool.create(&start, &axis, 100, 3);
    pool.create(&start, &axis, 40, 7);
    pool.updatePhysics(0.1);

    // Ship shots: 150 degrees per second, moving along axis x position (+x here).
    const LaserShot& ship = pool.shots[0];
    const float a = 15 * DEG_TO_RAD;
    EXPECT_NEAR(ship.position.x, std::sin(a), 1e-5);
    EXPECT_NEAR(ship.position.z, std::cos(a), 1e-5);
    EXPECT_FLOAT_EQ(ship.rotationAxis.y, 1);  // normalised by the rotation
    EXPECT_NEAR(ship.distLeft, 85, 1e-4);
    EXPECT_NEAR(ship.forward.x, std::cos(a), 1e-5);
    EXPECT_NEAR(ship.forward.z, -std::sin(a), 1e-5);
    // The drawing matrix holds the axis, the forward direction and the position as columns.
    EXPECT_FLOAT_EQ(ship.orientationMatrix[1], ship.rotationAxis.y);
    EXPECT_FLOAT_EQ(ship.orientationMatrix[4], ship.forward.x);
    EXPECT_FLOAT_EQ(ship.orientationMatrix[10], ship.position.z);
    EXPECT_FLOAT_EQ(ship.orientationMatrix[15], 1);

    // Enemy shots: 45 degrees per second.
    EXPECT_NEAR(pool.shots[1].distLeft, 35.5f, 1e-4);
    EXPECT_NEAR(pool.shots[1].position.x, std::sin(4.5f * DEG_TO_RAD), 1e-5);
}

TEST(LaserPool, ShotsExpireAtTheEndOfTheirRange)
{
    LaserShotPool ship;
    ship.create(&north, &yAxis, 100, 0);
    // 15 degrees a frame: 10 left after six frames, below zero after the seventh.
    EXPECT_EQ(framesToEmpty(ship, 0.1), 7);

    LaserShotPool enemy;
    enemy.create(&north, &yAxis, 40, 7);
    EXPECT_EQ(framesToEmpty(enemy, 0.1), 9);
    enemy.create(&north, &yAxis, 65, 7);
    EXPECT_EQ(framesToEmpty(enemy, 0.1), 15);
}
