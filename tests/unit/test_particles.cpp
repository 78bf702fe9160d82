#include <gtest/gtest.h>

#include <cmath>

#include "game_test_support.h"

using pool_test::framesToEmpty;

namespace {
Vector3D origin(0, 0, 1);
Vector3D white(1, 1, 1);
}  // namespace

TEST(Particles, BurstsAndFullTrailsLiveThirtySixFramesAtSixtyHertz)
{
    ParticlePool bursts;
    Vector3D vel(50, 0, 0);
    bursts.createEsplosion(&origin, &vel, &white);
    EXPECT_EQ(framesToEmpty(bursts, 1.0 / 60), 36);

    // A trail particle from full deflection (265) lives about as long: 0.6 s.
    ParticlePool trail;
    trail.create(&origin, &vel, 265);
    EXPECT_NEAR(framesToEmpty(trail, 1.0 / 60), 36, 1);

    // No movement, no budget: gone in the frame it was made.
    trail.create(&origin, &vel, 0);
    EXPECT_EQ(framesToEmpty(trail, 1.0 / 60), 1);
}

TEST(Particles, FlyStraightThroughSpaceScaledBySpeed)
{
    ParticlePool pool;
    Vector3D vel(50, 0, 0), red(1, 0, 0);
    pool.createEsplosion(&origin, &vel, &red);
    for (int i = 0; i < 30; i++)
        pool.updatePhysics(1.0 / 60);
    // 0.01 of the velocity per second: 0.5 units/s, so 0.25 in half a second.
    const Particle& p = pool.particles[0];
    EXPECT_NEAR(p.state.live.position.x, 0.25f, 1e-5);
    EXPECT_FLOAT_EQ(p.state.live.position.z, 1);
    EXPECT_FLOAT_EQ(p.state.live.color.x, 1);
    EXPECT_FLOAT_EQ(p.state.live.color.y, 0);
    EXPECT_NEAR(p.distLeft, 0.001f, 1e-6);
    EXPECT_FLOAT_EQ(p.totalDist, 0.006f);
}

TEST(Particles, RingsTurnTheUpVectorAboutThePosition)
{
    ParticlePool pool;
    Vector3D position(0, 0, 2), up(0, 1, 0);
    pool.makeParticleCircle(&position, &up, 25, 4);
    ASSERT_EQ(liveParticles(pool), 4);
    EXPECT_FLOAT_EQ(position.z, 1);  // the position serves as the axis and is normalised

    const float expected[4][2] = {{-25, 0}, {0, -25}, {25, 0}, {0, 25}};
    for (int k = 0; k < 4; k++) {
        const Vector3D& v = pool.particles[k].state.live.velocity;
        EXPECT_NEAR(v.x, expected[k][0], 1e-4) << "particle " << k;
        EXPECT_NEAR(v.y, expected[k][1], 1e-4) << "particle " << k;
        EXPECT_NEAR(v.z, 0, 1e-4);
        EXPECT_FLOAT_EQ(pool.particles[k].state.live.color.z, 1);
    }

    pool.makeParticleCircle(&position, &up, 25, 0);
    pool.makeParticleCircle(&position, &up, 25, -3);
    EXPECT_EQ(liveParticles(pool), 4);
}

TEST(Particles, AFullPoolMakesNothingUntilCleanupFreesSlots)
{
    ParticlePool pool;
    Vector3D vel(1, 0, 0);
    for (int i = 0; i < ParticlePool::POOL_SIZE; i++)
        pool.createEsplosion(&origin, &vel, &white);
    EXPECT_EQ(pool.firstAvailable, nullptr);
    pool.makeParticleCircle(&origin, &vel, 10, 20);
    pool.create(&origin, &vel, 100);
    EXPECT_EQ(liveParticles(pool), 550);

    // Expire two, keep the rest alive: the freed slots come back last-freed first.
    pool.particles[7].distLeft = 0;
    pool.particles[300].distLeft = 0;
    pool.cleanupParticles();
    EXPECT_EQ(pool.firstAvailable, &pool.particles[300]);
    pool.create(&origin, &vel, 100);
    pool.create(&origin, &vel, 100);
    EXPECT_TRUE(pool.particles[7].isInUse && pool.particles[300].isInUse);
    EXPECT_EQ(pool.firstAvailable, nullptr);

    pool.destroyEverything();
    EXPECT_EQ(liveParticles(pool), 0);
    int freeSlots = 0;
    for (Particle* p = pool.firstAvailable; p != nullptr && freeSlots <= 550; p = p->state.next)
        freeSlots++;
    EXPECT_EQ(freeSlots, 550);
}
