#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "AsteroidPool.h"
#include "EnemyPool.h"
#include "Player.h"
#include "Sound.h"
#include "constants.h"
#include "game_test_support.h"
#include "sound_double.h"

namespace {
struct Pattern {
    float interval;
    std::vector<float> offsets;
};

// Per laser level: the fire interval and the shot directions in launch order.
const Pattern levelPatterns[6] = {
    {0.1f, {0}}, {0.07f, {0}}, {0.15f, {7, -7}}, {0.1f, {7, -7}}, {0.2f, {0, -15, 15}}, {0.15f, {0, -15, 15}},
};

class WeaponsTest : public ShipTest {
protected:
    void wait(double seconds) { player.updatePhysics(0, 0, seconds); }

    // Fires and returns the shots it made, in launch order (the order of the free list).
    std::vector<LaserShot*> fire(int x, int y)
    {
        std::vector<LaserShot*> order;
        for (LaserShot* s = player.myLaserPool.firstAvailable; s != nullptr; s = s->next)
            order.push_back(s);
        EXPECT_TRUE(player.fireLaser(x, y));
        std::vector<LaserShot*> made;
        for (LaserShot* s : order) {
            if (s->isInUse)
                made.push_back(s);
        }
        return made;
    }

    static std::vector<float> angles(const std::vector<LaserShot*>& shots)
    {
        std::vector<float> result;
        for (const LaserShot* s : shots)
            result.push_back(launchAngle(*s));
        return result;
    }

    static void expectType(const std::vector<LaserShot*>& shots, int type)
    {
        for (const LaserShot* s : shots)
            EXPECT_EQ(s->type, type);
    }

    Vector3D* at(float degreesNorth)
    {
        spot = Vector3D(0, std::sin(degreesNorth * DEG_TO_RAD), std::cos(degreesNorth * DEG_TO_RAD));
        return &spot;
    }

    Vector3D spot;
};

void expectAngles(const std::vector<float>& actual, const std::vector<float>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); i++)
        EXPECT_NEAR(actual[i], expected[i], 1e-3) << "shot " << i;
}
}  // namespace

TEST_F(WeaponsTest, NoShotInTheFirstThreeTenthsOfASecond)
{
    EXPECT_FALSE(player.fireLaser(1, 0));
    wait(0.29);
    EXPECT_FALSE(player.fireLaser(1, 0));
    wait(0.02);
    EXPECT_TRUE(player.fireLaser(1, 0));
    EXPECT_EQ(sound_double::count(SOUND_LASER), 1);
}

TEST_F(WeaponsTest, EachLevelHasItsPatternIntervalAndOneSoundPerTrigger)
{
    for (int level = 0; level < 6; level++) {
        SCOPED_TRACE(level);
        player.shotClock = 10;
        sound_double::reset();
        std::vector<LaserShot*> shots = fire(200, 0);
        expectAngles(angles(shots), levelPatterns[level].offsets);
        expectType(shots, level);
        EXPECT_EQ(sound_double::log().sounds, std::vector<int>{SOUND_LASER});

        wait(levelPatterns[level].interval - 0.005);
        EXPECT_FALSE(player.fireLaser(1, 0));
        wait(0.01);
        EXPECT_TRUE(player.fireLaser(1, 0));
        EXPECT_EQ(player.laserUp(), level < 5);
    }
    EXPECT_EQ(player.laserType, 5);
}

TEST_F(WeaponsTest, ShotsLeaveTowardsTheAim)
{
    player.shotClock = 10;
    std::vector<LaserShot*> up = fire(0, -256);
    expectAngles(angles(up), {90});
    player.updatePhysics(0, 0, 0.1);
    EXPECT_GT(up[0]->position.y, 0.2f);

    player.shotClock = 10;
    expectAngles(angles(fire(-181, 181)), {-135});
}

TEST_F(WeaponsTest, SuperLaserOverridesTheLevelUntilTakenAway)
{
    for (int i = 0; i < 5; i++)
        player.laserUp();
    EXPECT_TRUE(player.superLaser(true));
    EXPECT_FALSE(player.superLaser(true));

    player.shotClock = 10;
    std::vector<LaserShot*> shots = fire(200, 0);
    expectAngles(angles(shots), {10, -10, 25, -25});
    expectType(shots, 2);
    wait(0.15);
    EXPECT_FALSE(player.fireLaser(1, 0));  // level 5 would allow this one
    wait(0.06);
    EXPECT_TRUE(player.fireLaser(1, 0));

    EXPECT_FALSE(player.superLaser(false));
    player.shotClock = 10;
    expectAngles(angles(fire(200, 0)), {0, -15, 15});
    EXPECT_TRUE(player.superLaser(true));
}

TEST_F(WeaponsTest, BombsHaveAHalfSecondCoolDown)
{
    EXPECT_TRUE(player.doBomb(&enemies, &asteroids));
    EXPECT_EQ(sound_double::count(SOUND_BOMB), 1);
    EXPECT_EQ(liveParticles(particles), 100);
    wait(0.3);
    EXPECT_FALSE(player.doBomb(&enemies, &asteroids));
    wait(0.2);
    EXPECT_TRUE(player.doBomb(&enemies, &asteroids));
    EXPECT_EQ(sound_double::count(SOUND_BOMB), 2);
}

TEST_F(WeaponsTest, BombBlastIsARingOfAHundredAndHitsWithinReach)
{
    Vector3D axis(1, 0, 0);
    enemies.create(0, at(30), &axis);  // a chord of 0.52: in reach
    enemies.create(5, at(50), &axis);  // a spawner survives the 7 hits
    enemies.create(0, at(70), &axis);  // a chord of 1.15: out of reach
    const int spawnerHits = enemies.enemies[1].live.hitsLeft;
    player.doBomb(&enemies, &asteroids);

    // The blast ring: white, in 3.6-degree steps, the last one back on yRef.
    const Particle& first = particles.particles[0];
    const Particle& last = particles.particles[99];
    const float step = 3.6f * DEG_TO_RAD;
    EXPECT_NEAR(first.state.live.velocity.x, -100 * std::sin(step), 1e-3);
    EXPECT_NEAR(first.state.live.velocity.y, 100 * std::cos(step), 1e-3);
    EXPECT_NEAR(last.state.live.velocity.x, 0, 2e-3);
    EXPECT_NEAR(last.state.live.velocity.y, 100, 1e-3);
    EXPECT_FLOAT_EQ(first.state.live.color.y, 1);

    EXPECT_TRUE(enemies.enemies[0].remove);
    EXPECT_FALSE(enemies.enemies[1].remove);
    EXPECT_EQ(enemies.enemies[1].live.hitsLeft, spawnerHits - 7);
    EXPECT_FALSE(enemies.enemies[2].remove);
}

TEST_F(WeaponsTest, AShotScoresOnEnemiesFirstAndIsConsumed)
{
    Vector3D axis(1, 0, 0);
    enemies.create(0, at(10), &axis);
    asteroids.createFragment(0.15f, at(10), &axis);
    asteroids.createFragment(0.15f, at(-10), &axis);
    const int asteroidHits = asteroids.asteroids[0].live.numHits;

    Vector3D up(-1, 0, 0);
    player.myLaserPool.create(at(10), &up, 100, 0);
    player.myLaserPool.create(at(-10), &up, 100, 0);
    player.myLaserPool.create(at(45), &up, 100, 0);

    int points = player.laserCollisionDetection(&enemies, &asteroids);
    EXPECT_GT(points, 100);
    EXPECT_TRUE(enemies.enemies[0].remove);
    // The asteroid under the enemy is spared; the other one is hit.
    EXPECT_EQ(asteroids.asteroids[0].live.numHits, asteroidHits);
    EXPECT_FALSE(asteroids.asteroids[0].remove);
    EXPECT_EQ(liveShots(player.myLaserPool), 1);
    EXPECT_TRUE(player.myLaserPool.shots[2].isInUse);
}

#ifndef ZYNTHRA_CLASSIC
TEST_F(WeaponsTest, DecoyPulsesEverySecondAndItsFuseRunsOutAtFour)
{
    player.updatePhysics(100, -50, 1.0 / 60);
    ASSERT_TRUE(player.doDecoyBomb());
    EXPECT_EQ(sound_double::count(SOUND_MENU_SELECT), 1);
    EXPECT_EQ(liveParticles(particles), 2 + 20);
    EXPECT_EQ(player.decoyBombPos.y, player.position.y);
    EXPECT_EQ(player.decoyBombOrientation, player.orientation);
    EXPECT_EQ(player.decoyBombOrientationMatrix[5], player.orientationMatrix[5]);

    // Frames of 0.3 s: pulses at 1.2, 2.4 and 3.6 s, the fuse at 4.2 s.
    for (int frame = 1; frame <= 14; frame++) {
        wait(0.3);
        EXPECT_EQ(player.decoyBombEsplode, frame == 14) << frame;
        EXPECT_FALSE(player.doDecoyBomb());
    }
    EXPECT_EQ(sound_double::count(SOUND_MENU_SELECT), 1 + 3);
    EXPECT_EQ(liveParticles(particles), 2 + 4 * 20);
}

TEST_F(WeaponsTest, DecoyVanishesWhenTheShipDies)
{
    ASSERT_TRUE(player.doDecoyBomb());
    for (int frame = 0; frame < 14; frame++)
        wait(0.3);
    ASSERT_TRUE(player.decoyBombEsplode);
    player.DIE();
    EXPECT_FALSE(player.decoyBombOut);
    EXPECT_FALSE(player.decoyBombEsplode);
    EXPECT_EQ(sound_double::count(SOUND_BOMB), 0);
}
#endif
