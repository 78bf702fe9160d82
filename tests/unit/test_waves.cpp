#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "EnemyPool.h"
#include "HitProtocol.h"
#include "alloc_counter.h"
#include "pool_test_support.h"
#include "sound_double.h"

using pool_test::degreesBetween;

namespace {

#ifdef ZYNTHRA_CLASSIC
constexpr bool CLASSIC = true;
#else
constexpr bool CLASSIC = false;
#endif

bool bringsSpecial(int wave)
{
    return wave > 5 && wave % 3 == 0;
}

class Waves : public ::testing::Test {
protected:
    EnemyPool pool;
    Vector3D ship{0, 0, 1};
    Vector3D yRef{0, 1, 0};

    // Sends the next wave at once and returns what it queued.
    std::vector<enemyToCreate> sendWave()
    {
        pool.enemiesToCreate.clear();
        pool.addWave(pool.waveTimer, &ship, &yRef);
        return pool.enemiesToCreate;
    }

    // Wave `wave` of a fresh pool, its random draws starting from `seed`.
    std::vector<enemyToCreate> sendFreshWave(unsigned seed, int wave)
    {
        pool.initialize();
        pool.waveCounter = wave;
        srand(seed);
        return sendWave();
    }
};

bool inRing(const enemyToCreate& e)
{
    return e.xOffset >= 75 && e.xOffset <= 130 && e.yOffset >= 90 && e.yOffset <= 130;
}

}  // namespace

TEST_F(Waves, FirstFrameOfAGameSendsWaveZero)
{
    pool.addWave(1 / 60.0, &ship, &yRef);
    EXPECT_EQ(pool.waveCounter, 1);
    EXPECT_EQ(pool.enemiesToCreate.size(), CLASSIC ? 7u : 6u);
    EXPECT_FLOAT_EQ(pool.difficultyScale, CLASSIC ? 0.995f : 0.9975f);
    // The next wave comes 6 to 8 seconds (times the difficulty) later, not before.
    EXPECT_GE(pool.waveTimer, 6 * pool.difficultyScale);
    EXPECT_LE(pool.waveTimer, 8 * pool.difficultyScale);
    float gap = pool.waveTimer;
    double elapsed = 0;
    while (pool.waveCounter == 1 && elapsed < 20) {
        pool.addWave(0.1, &ship, &yRef);
        elapsed += 0.1;
    }
    EXPECT_EQ(pool.waveCounter, 2);
    EXPECT_GE(elapsed, gap - 1e-4);
    EXPECT_LT(elapsed, gap + 0.1 + 1e-4);
}

TEST_F(Waves, SizesGrowWithTheWaveCountAndFormationsShareOneKindOrMixBasicOnes)
{
    const int sizes[][2] = {{0, 6}, {1, 7}, {10, 12}, {20, 16}, {30, 20}, {40, 23}, {44, 25}, {300, 25}};
    for (const auto& [wave, size] : sizes) {
        bool fullSizeSeen = false, oddDropped = false, uniformSeen = false, mixedSeen = false;
        for (unsigned seed = 1; seed <= 40; seed++) {
            SCOPED_TRACE(testing::Message() << "wave " << wave << " seed " << seed);
            std::vector<enemyToCreate> queued = sendFreshWave(seed, wave);
            std::vector<int> kinds;
            for (const enemyToCreate& e : queued)
                if (e.type <= 4)
                    kinds.push_back(e.type);
            // Bars come in mirrored pairs, so they leave out an odd member.
            const int formation = (int)kinds.size();
            ASSERT_TRUE(formation == size || formation == size / 2 * 2) << formation;
            fullSizeSeen |= formation == size;
            oddDropped |= formation != size;
            const bool uniform = std::count(kinds.begin(), kinds.end(), kinds[0]) == formation;
            uniformSeen |= uniform;
            mixedSeen |= !uniform;
            // The next wave comes 6 to 8 seconds, times the difficulty, later.
            EXPECT_GE(pool.waveTimer, 6 * pool.difficultyScale);
            EXPECT_LE(pool.waveTimer, 8 * pool.difficultyScale);
        }
        EXPECT_TRUE(fullSizeSeen);
        EXPECT_EQ(oddDropped, size % 2 == 1);
        EXPECT_TRUE(uniformSeen);
        EXPECT_TRUE(mixedSeen);
    }
}

// A replay depends on it: the same random draws send the same wave, and others another.
TEST_F(Waves, TheSameDrawsSendTheSameWave)
{
    for (int wave : {0, 6, 9, 21, 44}) {
        for (unsigned seed = 1; seed <= 10; seed++) {
            SCOPED_TRACE(testing::Message() << "wave " << wave << " seed " << seed);
            const std::vector<enemyToCreate> queued = sendFreshWave(seed, wave);
            const std::vector<enemyToCreate> again = sendFreshWave(seed, wave);
            const std::vector<enemyToCreate> other = sendFreshWave(seed + 100, wave);
            ASSERT_EQ(again.size(), queued.size());
            bool differs = other.size() != queued.size();
            for (size_t i = 0; i < queued.size(); i++) {
                EXPECT_EQ(again[i].type, queued[i].type);
                EXPECT_EQ(again[i].xOffset, queued[i].xOffset);
                EXPECT_EQ(again[i].yOffset, queued[i].yOffset);
                differs |= i < other.size() &&
                           (other[i].xOffset != queued[i].xOffset || other[i].yOffset != queued[i].yOffset);
            }
            EXPECT_TRUE(differs);
        }
    }
}

TEST_F(Waves, SpecialEnemiesLeadEveryThirdWaveFromTheSixth)
{
    srand(11);
    bool specialSeen[11] = {};
    for (int wave = 0; wave < 120; wave++) {
        SCOPED_TRACE(wave);
        std::vector<enemyToCreate> queued = sendWave();
        size_t lead = 0;
        if (bringsSpecial(wave)) {
            ASSERT_GE(queued[lead].type, 5);
            ASSERT_LE(queued[lead].type, 10);
            EXPECT_TRUE(inRing(queued[lead]));
            specialSeen[queued[lead].type] = true;
#ifdef ZYNTHRA_CLASSIC
            // Spawners and wellAsteroids take turns as the classic special enemy.
            EXPECT_EQ(queued[lead].type, wave % 6 == 0 ? 5 : 8);
#endif
            lead++;
        }
        if (CLASSIC) {
            EXPECT_EQ(queued[lead].type, 10);  // a laser turret with every classic wave
            EXPECT_TRUE(inRing(queued[lead]));
            lead++;
        }
        for (size_t i = lead; i < queued.size(); i++)
            ASSERT_LE(queued[i].type, 4);
    }
    if (!CLASSIC) {
        for (int kind = 5; kind <= 10; kind++)
            EXPECT_TRUE(specialSeen[kind]) << kind;
    }
}

TEST_F(Waves, DifficultyBottomsOutJustBelowHalf)
{
    const int lastStep = CLASSIC ? 101 : 201;
    const float floor = CLASSIC ? 0.4950005f : 0.4975f;
    float reached = 0;
    for (int wave = 1; wave <= lastStep + 20; wave++) {
        sendWave();
        if (wave == lastStep - 1) {
            EXPECT_GT(pool.difficultyScale, 0.5f);
        } else if (wave == lastStep) {
            reached = pool.difficultyScale;
            EXPECT_NEAR(reached, floor, 1e-6);
        } else if (wave > lastStep) {
            ASSERT_EQ(pool.difficultyScale, reached) << wave;
        }
    }
    EXPECT_GE(pool.waveTimer, 6 * floor);
    EXPECT_LE(pool.waveTimer, 8 * floor);
}

TEST_F(Waves, BarsMirrorEachOtherAndDropAnOddMember)
{
    srand(5);
    pool.addBarsWave(&ship, &yRef, 2, 7);
    ASSERT_EQ(pool.enemiesToCreate.size(), 6u);
    for (size_t i = 0; i < 6; i += 2) {
        const enemyToCreate &a = pool.enemiesToCreate[i], &b = pool.enemiesToCreate[i + 1];
        EXPECT_TRUE((a.xOffset == -b.xOffset && a.yOffset == b.yOffset) ||
                    (a.yOffset == -b.yOffset && a.xOffset == b.xOffset));
        // Members of a bar stand 25 degrees apart, from -43.75.
        EXPECT_TRUE(a.xOffset == (i / 2 - 1.75f) * 25 || a.yOffset == (i / 2 - 1.75f) * 25);
    }
    pool.enemiesToCreate.clear();
    pool.addBarsWave(&ship, &yRef, 2, 1);
    EXPECT_TRUE(pool.enemiesToCreate.empty());
}

TEST_F(Waves, MixedFormationsHoldOnlyBasicKinds)
{
    srand(3);
    pool.addEllipticalWave(&ship, &yRef, 5, 25);
    pool.addLineWave(&ship, &yRef, 5, 25);
    pool.addBarsWave(&ship, &yRef, 5, 25);
    pool.addUWave(&ship, &yRef, 5, 25);
    ASSERT_EQ(pool.enemiesToCreate.size(), 99u);
    bool seen[5] = {};
    for (const enemyToCreate& e : pool.enemiesToCreate) {
        ASSERT_GE(e.type, 0);
        ASSERT_LE(e.type, 4);
        seen[e.type] = true;
    }
    for (bool kind : seen)
        EXPECT_TRUE(kind);
}

TEST_F(Waves, QueueFormsOneEnemyPerFrameAroundTheShipOfThatFrame)
{
    pool.enemiesToCreate = {{0, 30, 40}, {1, 0, 90}, {2, -60, 0}};
    Vector3D laterShip(1, 0, 0), laterYRef(0, 0, 1);
    pool.addEnemy(1 / 60.0, &laterShip, nullptr, &laterYRef);
    ASSERT_EQ(pool.enemiesToCreate.size(), 2u);
    EXPECT_EQ(pool.enemiesToCreate[0].type, 1);
    EXPECT_EQ(pool.enemiesToCreate[1].type, 2);
    EXPECT_EQ(pool.enemies[0].live.type, 0);
    EXPECT_NEAR(degreesBetween(pool.enemies[0].live.position, laterShip), 50, 1e-3);
    pool.addEnemy(1 / 60.0, &laterShip, nullptr, &laterYRef);
    EXPECT_LT(vec_dist(&pool.enemies[1].live.position, &laterYRef), 1e-5f);
}

TEST_F(Waves, FullPoolStillConsumesTheQueue)
{
    for (int i = 0; i < EnemyPool::POOL_SIZE; i++)
        pool.create(0, 10.0f, 0.0f, &ship, &yRef);
    pool.enemiesToCreate = {{5, 90, 0}, {6, 90, 0}};
    pool.addEnemy(1 / 60.0, &ship, nullptr, &yRef);
    EXPECT_EQ(pool.enemiesToCreate.size(), 1u);
    EXPECT_EQ(pool.enemiesToCreate[0].type, 6);
    pool.addEnemy(1 / 60.0, &ship, nullptr, &yRef);
    EXPECT_TRUE(pool.enemiesToCreate.empty());
    for (Enemy& e : pool.enemies)
        ASSERT_EQ(e.live.type, 0);
    pool.addEnemy(1 / 60.0, &ship, nullptr, &yRef);  // an empty queue is fine
}

TEST(PoolAllocations, BusyFramesOfPlayAllocateNothing)
{
    ParticlePool particles;
    AsteroidPool asteroids;
    EnemyPool enemies;
    enemies.setParticlePool(&particles);
    enemies.setAsteroidPool(&asteroids);
    asteroids.setParticlePool(&particles);
    sound_double::reset();
    sound_double::log().sounds.reserve(1 << 20);
    srand(21);
    Vector3D ship(0, 0, 1), yRef(0, 1, 0);
    Vector3D shipAxis(1, 0, 0);
    int kills = 0;

    long before = alloc_counter::allocations();
    for (int frame = 0; frame < 6000; frame++) {
        if (frame % 300 == 0)
            asteroids.createIncoming();
        if (frame % 500 == 0)
            enemies.create(frame / 500 % 6 + 5, 100.0f, 20.0f, &ship, &yRef);
        enemies.addWave(1 / 60.0, &ship, &yRef);
        enemies.addEnemy(1 / 60.0, &ship, nullptr, &yRef);
        vec_rotate(&ship, &shipAxis, 0.3f);
        vec_rotate(&yRef, &shipAxis, 0.3f);
        enemies.updatePhysics(1 / 60.0, &ship);
        asteroids.updatePhysics(1 / 60.0);
        particles.updatePhysics(1 / 60.0);
        particles.cleanupParticles();
        // Shots at a few enemies and asteroids, and the ship's own contacts.
        for (int i = frame % 7; i < EnemyPool::POOL_SIZE; i += 25)
            if (enemies.enemies[i].isInUse)
                kills += enemies.collisionDetection(&enemies.enemies[i].live.position, 0.03f, WEAPON_LASER, 1) > 0;
        if (frame % 20 == 0) {
            for (Asteroid& a : asteroids.asteroids)
                if (a.isInUse)
                    asteroids.collisionDetection(&a.live.position, 0.03f, WEAPON_LASER, 1);
        }
        enemies.collisionDetection(&ship, 0.04f, WEAPON_SHIP, 3);
        enemies.enemyLaserCollisionDetection(&ship, 0.04f);
        enemies.cleanupEnemies();
        asteroids.cleanupAsteroids();
    }
    long allocated = alloc_counter::allocations() - before;
    EXPECT_EQ(allocated, 0);
    EXPECT_GT(kills, 100);  // the frames were busy
    EXPECT_GT(enemies.waveCounter, 10);
}
