#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "AsteroidPool.h"
#include "HitProtocol.h"
#include "gl_support.h"
#include "pool_test_support.h"
#include "sound_double.h"

using pool_test::countInUse;
using pool_test::degreesBetween;
using pool_test::liveParticles;
using pool_test::turned;

namespace {

constexpr int SOUND_HIT = 1;
constexpr int SOUND_BREAK = 3;
constexpr int SOUND_INCOMING = 4;
constexpr int SOUND_LANDS = 14;

class Asteroids : public ::testing::Test {
protected:
    ParticlePool particles;
    AsteroidPool pool;
    Vector3D here{0, 0, 1};
    Vector3D axis{1, 0, 0};

    void SetUp() override
    {
        sound_double::reset();
        pool.setParticlePool(&particles);
        srand(17);
    }
    Asteroid& fragmentAt(Vector3D at, float parentRadius)
    {
        Asteroid* slot = pool.firstAvailable;
        Vector3D a = axis;
        pool.createFragment(parentRadius, &at, &a);
        return *slot;
    }
    int laser(Vector3D at) { return pool.collisionDetection(&at, 0.03f, WEAPON_LASER, 1); }
    int bomb(Vector3D at) { return pool.collisionDetection(&at, 1.0f, WEAPON_BLAST, 7); }
    int ship(Vector3D at) { return pool.collisionDetection(&at, 0.04f, WEAPON_SHIP, 3); }
};

}  // namespace

TEST_F(Asteroids, IncomingRockFallsFor220FramesAndCannotBeHitMeanwhile)
{
    pool.createIncoming();
    Asteroid& rock = pool.asteroids[0];
    ASSERT_TRUE(rock.isInUse);
    EXPECT_EQ(sound_double::count(SOUND_INCOMING), 1);
    EXPECT_TRUE(rock.incoming);
    EXPECT_NEAR(vec_magnitude(&rock.live.position), 3, 1e-5);
    EXPECT_GE(rock.live.type, 3);
    EXPECT_LE(rock.live.type, 5);
    EXPECT_GE(rock.live.radius, 0.2f);
    EXPECT_LE(rock.live.radius, 0.3f);
    EXPECT_GE(rock.live.numHits, 6);
    EXPECT_LE(rock.live.numHits, 13);

    Vector3D landing = rock.live.position;
    vec_normalize(&landing);
    addShake(0);
    for (int frame = 1; frame < 220; frame++) {
        pool.updatePhysics(1 / 60.0);
        ASSERT_TRUE(rock.incoming) << frame;
        ASSERT_EQ(bomb(landing) + laser(rock.live.position) + ship(landing), 0) << frame;
    }
    EXPECT_EQ(sound_double::count(SOUND_LANDS), 0);
    pool.updatePhysics(1 / 60.0);
    EXPECT_FALSE(rock.incoming);
    EXPECT_EQ(sound_double::count(SOUND_LANDS), 1);
    EXPECT_EQ(getShakeAmount(), 25);
    EXPECT_NEAR(vec_magnitude(&rock.live.position), 1, 1e-6);
    EXPECT_LT(vec_dist(&rock.live.position, &landing), 1e-5f);
    EXPECT_EQ(laser(landing), 10);
    EXPECT_EQ(sound_double::log().sounds.size(), 3u);
}

TEST_F(Asteroids, FragmentsAreHalfTheirParentAndDriftAway)
{
    for (int i = 0; i < 20; i++) {
        Asteroid& f = fragmentAt(here, 0.25f);
        EXPECT_FALSE(f.incoming);
        EXPECT_LE(f.live.type, 2);
        EXPECT_GE(f.live.radius, 0.125f * 0.9f);
        EXPECT_LE(f.live.radius, 0.125f * 1.1f);
        EXPECT_EQ(vec_dist(&f.live.position, &here), 0);
    }
    // Each drifts its own 0.1 to 0.4 degrees a frame and tumbles per second.
    for (Asteroid& f : pool.asteroids) {
        if (!f.isInUse)
            continue;
        Vector3D before = f.live.position;
        float rotateX = f.live.rotateX;
        f.updatePhysics(0.5);
        EXPECT_GE(f.live.speed, 0.1f);
        EXPECT_LE(f.live.speed, 0.4f);
        EXPECT_NEAR(degreesBetween(before, f.live.position), f.live.speed, 2e-3);
        EXPECT_NEAR(f.live.rotateX, rotateX + 0.5f * f.live.rotationX, 1e-3);
    }
}

TEST_F(Asteroids, HitsAreWorthTenUntilTheRockBreaksForItsSize)
{
    Asteroid& rock = fragmentAt(here, 0.3f);  // radius about 0.15: 4 hit points
    int hitPoints = rock.live.numHits;
    ASSERT_EQ(hitPoints, (int)(1.0 + std::pow((double)(rock.live.radius * 12), 2)));
    for (int hit = 1; hit < hitPoints; hit++)
        EXPECT_EQ(laser(here), 10);
    EXPECT_EQ(sound_double::count(SOUND_HIT), hitPoints - 1);
    EXPECT_FALSE(rock.remove);
    EXPECT_EQ(laser(here), (int)(rock.live.radius * 5000));
    EXPECT_TRUE(rock.remove);
    EXPECT_EQ(sound_double::count(SOUND_BREAK), 1);
    EXPECT_EQ(liveParticles(particles), 10 * hitPoints);
    int fragments = countInUse(pool.asteroids) - 1;
    EXPECT_GE(fragments, 2);  // a small rock breaks in two or three
    EXPECT_LE(fragments, 3);
}

TEST_F(Asteroids, LargeRocksBreakInThreeOrFourAndTinyOnesInNone)
{
    int counts[2] = {};
    for (int trial = 0; trial < 20; trial++) {
        pool.initialize();
        pool.createIncoming();
        Asteroid& rock = pool.asteroids[0];
        while (rock.incoming)
            pool.updatePhysics(1 / 60.0);
        Vector3D at = rock.live.position;
        while (!rock.remove)
            laser(at);
        int fragments = countInUse(pool.asteroids) - 1;
        ASSERT_GE(fragments, 3);
        ASSERT_LE(fragments, 4);
        counts[fragments - 3]++;
        for (int i = 1; i <= fragments; i++)
            EXPECT_NEAR(pool.asteroids[i].live.radius, rock.live.radius / 2, rock.live.radius * 0.05f + 1e-6);
    }
    EXPECT_GT(counts[0], 0);
    EXPECT_GT(counts[1], 0);

    pool.initialize();
    Asteroid& tiny = fragmentAt(here, 0.09f);  // radius below 0.05: one hit, no pieces
    EXPECT_EQ(laser(here), (int)(tiny.live.radius * 5000));
    EXPECT_EQ(countInUse(pool.asteroids), 1);
}

TEST_F(Asteroids, OneProbeStrikesOnlyTheFirstRockItTouches)
{
    Asteroid& first = fragmentAt(here, 0.3f);
    Asteroid& second = fragmentAt(turned(here, axis, 2), 0.3f);
    int firstHits = first.live.numHits, secondHits = second.live.numHits;
    EXPECT_EQ(laser(turned(here, axis, 1)), 10);
    EXPECT_EQ(first.live.numHits, firstHits - 1);
    EXPECT_EQ(second.live.numHits, secondHits);
    // A blast reaching both breaks the first only.
    EXPECT_GT(bomb(here), 10);
    EXPECT_TRUE(first.remove);
    EXPECT_FALSE(second.remove);
    EXPECT_EQ(second.live.numHits, secondHits);
    EXPECT_EQ(sound_double::count(SOUND_HIT), 1);
}

TEST_F(Asteroids, ShipBreaksOnlyWeakRocksAndMakesNoHitSound)
{
    Asteroid& strong = fragmentAt(here, 0.5f);  // radius about 0.25: 9 or more hit points
    ASSERT_GT(strong.live.numHits, 3);
    EXPECT_EQ(ship(here), 10);
    EXPECT_FALSE(strong.remove);
    EXPECT_TRUE(sound_double::log().sounds.empty());
    pool.initialize();
    Asteroid& weak = fragmentAt(here, 0.3f);
    weak.live.numHits = 3;
    EXPECT_EQ(ship(here), (int)(weak.live.radius * 5000));
    EXPECT_TRUE(weak.remove);
    EXPECT_EQ(sound_double::count(SOUND_BREAK), 1);
}

TEST_F(Asteroids, FullPoolLimitsFragmentsButStillScores)
{
    for (int i = 0; i < AsteroidPool::POOL_SIZE - 1; i++)
        fragmentAt(turned(here, axis, 5.0f + i), 0.2f);
    ASSERT_NE(pool.firstAvailable, nullptr);
    Asteroid& rock = pool.asteroids[0];
    rock.live.numHits = 1;
    Vector3D at = rock.live.position;
    EXPECT_EQ(laser(at), (int)(rock.live.radius * 5000));
    EXPECT_EQ(pool.firstAvailable, nullptr);  // the one free slot took one fragment
    EXPECT_EQ(countInUse(pool.asteroids), AsteroidPool::POOL_SIZE);

    pool.createIncoming();  // no room: not even announced
    EXPECT_EQ(sound_double::count(SOUND_INCOMING), 0);
    pool.cleanupAsteroids();
    EXPECT_EQ(pool.firstAvailable, &rock);
}

TEST_F(Asteroids, ClearingTheArenaMarksFallingRocksToo)
{
    fragmentAt(here, 0.2f);
    pool.createIncoming();
    pool.destroyEverything();
    EXPECT_TRUE(pool.asteroids[0].remove);
    EXPECT_TRUE(pool.asteroids[1].remove);
    EXPECT_TRUE(pool.asteroids[1].incoming);
    EXPECT_EQ(liveParticles(particles), 30);
    EXPECT_EQ(sound_double::count(SOUND_INCOMING), 1);
    EXPECT_EQ(sound_double::log().sounds.size(), 1u);
    pool.cleanupAsteroids();
    EXPECT_EQ(countInUse(pool.asteroids), 0);
}

TEST_F(Asteroids, TouchingAPointMarksTheFirstRockThereAndNamesItsModel)
{
    Asteroid& first = fragmentAt(here, 0.3f);
    Asteroid& second = fragmentAt(turned(here, axis, 2), 0.3f);
    first.live.type = 1;
    second.live.type = 2;
    const int hits = first.live.numHits;
    Vector3D away = turned(here, axis, 5);  // 3 degrees past the second rock: out of touch
    EXPECT_EQ(pool.collisionDetection(&away), -1);
    EXPECT_FALSE(second.remove);
    Vector3D at = here;
    EXPECT_EQ(pool.collisionDetection(&at), 1);
    EXPECT_TRUE(first.remove);
    EXPECT_FALSE(second.remove);
    EXPECT_EQ(first.live.numHits, hits);  // touching is no hit
    EXPECT_TRUE(sound_double::log().sounds.empty());
}
