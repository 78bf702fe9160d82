#include <gtest/gtest.h>

#include <cmath>

#include "AsteroidPool.h"
#include "EnemyPool.h"
#include "Player.h"
#include "Sound.h"
#include "constants.h"
#include "game_test_support.h"
#include "sound_double.h"
#include "vec_support.h"

namespace {
#ifdef ZYNTHRA_CLASSIC
constexpr int deathBurst = 100;
#else
constexpr int deathBurst = 60;
#endif

class PlayerTest : public ShipTest {
protected:
    void enemyAt(const Vector3D& where, int type = 0)
    {
        Vector3D pos = where, axis(1, 0, 0);
        enemies.create(type, &pos, &axis);
    }

    void makeVulnerable()
    {
        player.isDead = false;
        player.isRezing = false;
    }
};
}  // namespace

TEST_F(PlayerTest, OneFrameUpTheScreenFromTheStart)
{
    player.updatePhysics(0, -256, 1.0 / 60);
    const float theta = 256.0f / 210 * DEG_TO_RAD;
    expectVec(player.position, 0, std::sin(theta), std::cos(theta));
    expectVec(player.xRef, 1, 0, 0);
    expectVec(player.yRef, 0, std::cos(theta), -std::sin(theta));
    EXPECT_FLOAT_EQ(player.orientation, 0);
    // Two exhaust particles, thrown backwards along the step.
    EXPECT_EQ(liveParticles(particles), 2);
}

TEST_F(PlayerTest, HeadingFollowsTheInput)
{
    player.updatePhysics(256, 0, 1.0 / 60);
    EXPECT_NEAR(player.orientation, -90, 1e-4);
    EXPECT_GT(player.position.x, 0.02f);
    EXPECT_NEAR(player.position.y, 0, 1e-6);

    player.updatePhysics(-256, 0, 1.0 / 60);
    EXPECT_NEAR(player.orientation, 90, 1e-4);
    player.updatePhysics(0, 256, 1.0 / 60);
    EXPECT_NEAR(player.orientation, -180, 1e-4);
}

TEST_F(PlayerTest, NoInputMovesOnlyTheLasers)
{
    player.shotClock = 1;
    ASSERT_TRUE(player.fireLaser(1, 0));
    Player before = player;
    player.updatePhysics(0, 0, 0.1);
    expectVec(player.position, 0, 0, 1, 0);
    expectVec(player.yRef, 0, 1, 0, 0);
    EXPECT_EQ(player.orientation, before.orientation);
    for (int i = 0; i < 16; i++)
        EXPECT_EQ(player.orientationMatrix[i], before.orientationMatrix[i]);
    EXPECT_EQ(liveParticles(particles), 0);
    EXPECT_NEAR(player.myLaserPool.shots[0].distLeft, 85, 1e-4);
}

TEST_F(PlayerTest, DrawingMatrixKeepsInStepWithTheAxes)
{
    const int inputs[][2] = {{256, 0}, {181, -181}, {0, 256}, {-100, 37}, {-256, -3}, {12, 200}};
    for (int frame = 0; frame < 600; frame++) {
        const int* in = inputs[(frame / 50) % 6];
        player.updatePhysics(in[0], in[1], 1.0 / 60);
        particles.cleanupParticles();
    }
    const float* m = player.orientationMatrix;
    expectVec(Vector3D(m[0], m[1], m[2]), player.xRef.x, player.xRef.y, player.xRef.z, 1e-3f);
    expectVec(Vector3D(m[4], m[5], m[6]), player.yRef.x, player.yRef.y, player.yRef.z, 1e-3f);
    expectVec(Vector3D(m[8], m[9], m[10]), player.position.x, player.position.y, player.position.z, 1e-3f);
    EXPECT_NEAR(vec_magnitude(&player.position), 1, 1e-3);
}

TEST_F(PlayerTest, InputBeyondTheTablesMovesAsFarAsTheirEdge)
{
    Player edge = player;
    edge.updatePhysics(264, -265, 1.0 / 60);
    player.updatePhysics(5000, -90000, 1.0 / 60);
    expectVec(player.position, edge.position.x, edge.position.y, edge.position.z, 1e-6f);
    expectVec(player.xRef, edge.xRef.x, edge.xRef.y, edge.xRef.z, 1e-6f);
    for (int i = 0; i < 16; i++)
        EXPECT_NEAR(player.orientationMatrix[i], edge.orientationMatrix[i], 1e-6) << i;
}

TEST_F(PlayerTest, DiesBlinksBackAfterTwoSecondsAndIsImmuneUntilFour)
{
    makeVulnerable();
    player.shotClock = 1;
    player.fireLaser(0, -1);
    player.DIE();
    EXPECT_TRUE(player.getIsDead());
    EXPECT_EQ(player.getDeathTimer(), 0);
    EXPECT_EQ(liveShots(player.myLaserPool), 0);
    EXPECT_EQ(liveParticles(particles), 2 * deathBurst);
    EXPECT_EQ(sound_double::count(SOUND_PLAYER_DEATH), 1);
    particles.destroyEverything();

    // Quarter-second frames: back on the eighth, vulnerable on the sixteenth.
    for (int frame = 1; frame <= 16; frame++) {
        player.REZ(0.25f);
        EXPECT_EQ(player.getIsDead(), frame < 8) << frame;
        EXPECT_EQ(player.getIsRezing(), frame >= 8 && frame < 16) << frame;
        if (frame < 16) {
            enemyAt(player.position);
            EXPECT_FALSE(player.collisionDetection(&enemies, &asteroids)) << frame;
        }
    }
    EXPECT_EQ(sound_double::count(SOUND_REZ), 1);
    EXPECT_EQ(liveParticles(particles), deathBurst);
    EXPECT_TRUE(player.collisionDetection(&enemies, &asteroids));
}

TEST_F(PlayerTest, AnyContactDestroysTheShipWithAFreeBlast)
{
    makeVulnerable();
    EXPECT_FALSE(player.collisionDetection(&enemies, &asteroids));

    // A miner survives the ship's 3 hits but still counts as a fatal contact;
    // the free blast then deals its 7 and kills an enemy nearby, silently.
    enemyAt(player.position, 6);
    const int minerHits = enemies.enemies[0].live.hitsLeft;
    Vector3D near(0, std::sin(20 * DEG_TO_RAD), std::cos(20 * DEG_TO_RAD));
    enemyAt(near);
    Vector3D far(0, 0, -1);
    enemyAt(far);
    float bombClock = player.bombClock;
    EXPECT_TRUE(player.collisionDetection(&enemies, &asteroids));
    EXPECT_TRUE(player.getIsDead());
    EXPECT_EQ(enemies.enemies[0].live.hitsLeft, minerHits - 3 - 7);
    EXPECT_TRUE(enemies.enemies[1].remove);
    EXPECT_FALSE(enemies.enemies[2].remove);
    EXPECT_EQ(player.bombClock, bombClock);
    EXPECT_EQ(sound_double::count(SOUND_BOMB), 0);
    EXPECT_EQ(sound_double::count(SOUND_PLAYER_DEATH), 1);
    // A dead ship cannot be hit again.
    EXPECT_FALSE(player.collisionDetection(&enemies, &asteroids));
}

TEST_F(PlayerTest, EnemyShotsAndAsteroidsAreFatalToo)
{
    makeVulnerable();
    Vector3D axis(1, 0, 0), offside(0.05f, 0, 1);
    enemies.myLaserPool.create(&offside, &axis, 40, 7);
    EXPECT_TRUE(player.collisionDetection(&enemies, &asteroids));
    EXPECT_EQ(liveShots(enemies.myLaserPool), 0);

    makeVulnerable();
    asteroids.createFragment(0.15f, &player.position, &axis);
    EXPECT_TRUE(player.collisionDetection(&enemies, &asteroids));
}
