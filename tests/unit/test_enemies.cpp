#include <gtest/gtest.h>

#include <cstdlib>
#include <type_traits>
#include <utility>

#include "Enemy.h"
#include "EnemyPool.h"
#include "constants.h"
#include "pool_test_support.h"
#include "sound_double.h"

using pool_test::degreesBetween;
using pool_test::turned;

namespace {

const Vector3D NORTH(0, 0, 1);
const Vector3D X_AXIS(1, 0, 0);

// An enemy of `type` at NORTH, its great circle about the x axis.
Enemy enemyAtNorth(int type)
{
    Enemy enemy;
    Vector3D pos = NORTH, axis = X_AXIS;
    enemy.Init(type, &axis, &pos, 0, 0);
    return enemy;
}

// Positive when a step from `before` to `after` turns to the left of the course towards `target`.
double sideOfCourse(Vector3D before, Vector3D after, Vector3D target)
{
    Vector3D toTarget;
    vec_cross(&before, &target, &toTarget);  // normal of the direct course's plane
    return vec_dot(&toTarget, &after);
}

struct Motion {
    int type;
    double dT;
    float stepDegrees;
    bool homes;            // heads straight for the target
    double spinPerSecond;  // degrees about the model's normal
};

constexpr double FAST_SPIN = 120.0 * PI_F, WELL_SPIN = 150.0 * PI_F;

#ifdef ZYNTHRA_CLASSIC
constexpr float SHOOTER_STEP = 0.45f;
#else
constexpr float SHOOTER_STEP = 0.5f;
#endif

}  // namespace

TEST(EnemyMotion, OneFrameOfEachKind)
{
    // The target lies 60 degrees from the enemy; the phases chosen make every kind go straight at it.
    const Motion motions[] = {
        {0, 1 / 60.0, 0.45f, true, 0},
        {2, 1 / 60.0, 0.5f, true, FAST_SPIN},
        {3, 0.5, 1.0f, true, 0},
        {4, 0.5, 0.9f, true, FAST_SPIN},
        {5, 1 / 60.0, 0.8f, false, 0},
        {6, 1 / 60.0, 0.8f, false, 0},
        {7, 1 / 60.0, 0.0f, false, WELL_SPIN},
        {8, 1 / 60.0, 0.0f, false, WELL_SPIN},
        {9, 1 / 60.0, SHOOTER_STEP, true, 0},
        {10, 1 / 60.0, 0.0f, false, 0},
    };
    Vector3D target = turned(NORTH, Vector3D(0, 1, 0), 60);
    for (const Motion& m : motions) {
        SCOPED_TRACE(m.type);
        Enemy enemy = enemyAtNorth(m.type);
        Vector3D before = enemy.live.position;
        Vector3D axisBefore = enemy.live.rotationAxis;
        enemy.updatePhysics(m.dT, &target);
        Vector3D after = enemy.live.position;
        EXPECT_NEAR(degreesBetween(before, after), m.stepDegrees, 2e-3);
        EXPECT_NEAR(enemy.live.orientation, m.spinPerSecond * m.dT, 1e-3);
        if (m.homes) {
            EXPECT_NEAR(degreesBetween(after, target), 60 - m.stepDegrees, 2e-3);
        }
        if (m.type == 5 || m.type == 6) {
            // Fixed great circle: the target does not matter.
            EXPECT_NEAR(vec_dot(&axisBefore, &enemy.live.rotationAxis), 1, 1e-6);
        }
        // The model's +y (column 1) points along the travel, its normal (column 2) out of the sphere.
        const float* m16 = enemy.live.orientationMatrix;
        EXPECT_FLOAT_EQ(m16[8], after.x);
        EXPECT_FLOAT_EQ(m16[10], after.z);
        EXPECT_FLOAT_EQ(m16[15], 1);
        if (m.stepDegrees > 0) {
            Vector3D travel = after;
            vec_subtract(&travel, &before);
            Vector3D forward(m16[4], m16[5], m16[6]);
            EXPECT_NEAR(vec_dot(&travel, &forward) / vec_magnitude(&travel), 1, 1e-3);
        }
    }
}

TEST(EnemyMotion, DiamondWeavesBothWaysStarVeersToOneSide)
{
    Vector3D target = turned(NORTH, Vector3D(0, 1, 0), 60);
    // After 0.5 s the diamond's weave is at +90 degrees, after 1.5 s at -90; the star is at 90 after 1 s and 2 s.
    auto sideAfter = [&](int type, double seconds) {
        Enemy enemy = enemyAtNorth(type);
        enemy.live.orientationAccumulator = (float)((seconds - 1 / 60.0) * PI_F);
        Vector3D before = enemy.live.position;
        enemy.updatePhysics(1 / 60.0, &target);
        // A square angle to the course leaves the distance to the target all but unchanged.
        EXPECT_NEAR(degreesBetween(enemy.live.position, target), 60, 0.01) << type << " " << seconds;
        return sideOfCourse(before, enemy.live.position, target);
    };
    double diamondEarly = sideAfter(1, 0.5), diamondLate = sideAfter(1, 1.5);
    EXPECT_LT(diamondEarly * diamondLate, 0);
    double starEarly = sideAfter(4, 1.0), starLate = sideAfter(4, 2.0);
    EXPECT_GT(starEarly * starLate, 0);
}

TEST(EnemyMotion, FishSurgesWithItsPhase)
{
    Vector3D target = turned(NORTH, Vector3D(0, 1, 0), 60);
    Enemy fish = enemyAtNorth(3);
    fish.live.timer = PI_F - 0.1f;  // close to the standstill of the pulse
    Vector3D before = fish.live.position;
    fish.updatePhysics(0.1 / PI_F, &target);
    EXPECT_LT(degreesBetween(before, fish.live.position), 1e-3);
}

TEST(EnemyMotion, HomingKindsChaseWhateverTargetIsPassed)
{
    // While a decoy is out the pool is handed the decoy's position instead of the ship's.
    EnemyPool pool;
    Vector3D ship = turned(NORTH, Vector3D(0, 1, 0), 40);
    Vector3D decoy = turned(NORTH, Vector3D(0, 1, 0), -40);
    for (int type = 0; type <= 4; type++) {
        Vector3D pos = NORTH, axis = X_AXIS;
        pool.create(type, &pos, &axis);
    }
    for (int frame = 0; frame < 30; frame++)
        pool.updatePhysics(1 / 60.0, &decoy);
    for (int i = 0; i <= 4; i++) {
        EXPECT_LT(degreesBetween(pool.enemies[i].live.position, decoy), 39) << i;
        EXPECT_GT(degreesBetween(pool.enemies[i].live.position, ship), 41) << i;
    }
}

namespace {

struct TimedAction {
    int type;
    float interval;
    bool spawnsEnemy;  // otherwise it drops an asteroid fragment
};

#ifdef ZYNTHRA_CLASSIC
constexpr float MINER_INTERVAL = 7.0f, WELL_INTERVAL = 1.5f;
#else
constexpr float MINER_INTERVAL = 4.0f, WELL_INTERVAL = 1.0f;
#endif

}  // namespace

TEST(EnemyTimers, SpawnersWellsAndMinersActOnlyOnceTheirIntervalIsPassed)
{
    const TimedAction actions[] = {
        {5, 2.0f, true}, {6, MINER_INTERVAL, false}, {7, WELL_INTERVAL, true}, {8, 3.0f, false}};
    Vector3D target = turned(NORTH, Vector3D(0, 1, 0), 90);
    srand(7);
    for (const TimedAction& a : actions) {
        SCOPED_TRACE(a.type);
        ParticlePool particles;
        AsteroidPool asteroids;
        EnemyPool pool;
        pool.setParticlePool(&particles);
        pool.setAsteroidPool(&asteroids);
        Vector3D pos = NORTH, axis = X_AXIS;
        pool.create(a.type, &pos, &axis);
        Enemy& parent = pool.enemies[0];

        pool.updatePhysics(a.interval, &target);  // reaching the interval is not enough
        EXPECT_EQ(pool_test::countInUse(pool.enemies), 1);
        EXPECT_EQ(pool_test::countInUse(asteroids.asteroids), 0);

        Vector3D headingBefore = parent.live.rotationAxis;
        pool.updatePhysics(0.001, &target);
        EXPECT_EQ(parent.live.timer, 0);
        EXPECT_LT(vec_dot(&headingBefore, &parent.live.rotationAxis), 0.9999f);  // turned at random
        if (a.spawnsEnemy) {
            ASSERT_EQ(pool_test::countInUse(pool.enemies), 2);
            EXPECT_GE(pool.enemies[1].live.type, 0);
            EXPECT_LE(pool.enemies[1].live.type, 4);
            EXPECT_EQ(pool.enemies[1].live.hitsLeft, 0);
        } else {
            ASSERT_EQ(pool_test::countInUse(asteroids.asteroids), 1);
            Asteroid& mine = asteroids.asteroids[0];
            EXPECT_FALSE(mine.incoming);
            EXPECT_GE(mine.live.radius, 0.0675f);
            EXPECT_LE(mine.live.radius, 0.0825f);
            EXPECT_LT(vec_dist(&mine.live.position, &parent.live.position), 1e-5f);
        }
    }
}

TEST(EnemyTimers, SpawnerWithNoRoomStillTurnsAndResets)
{
    EnemyPool pool;
    Vector3D target = turned(NORTH, Vector3D(0, 1, 0), 90);
    for (int i = 0; i < EnemyPool::POOL_SIZE; i++) {
        Vector3D pos = NORTH, axis = X_AXIS;
        pool.create(i == 0 ? 5 : 7, &pos, &axis);
    }
    pool.updatePhysics(2.5, &target);
    EXPECT_EQ(pool.enemies[0].live.timer, 0);
    EXPECT_EQ(pool.firstAvailable, nullptr);
}

namespace {

// An enemy pool with one laser kind placed `degrees` from the target at NORTH.
struct LaserFixture {
    ParticlePool particles;
    EnemyPool pool;
    Vector3D target = NORTH;

    LaserFixture(int type, float degrees)
    {
        pool.setParticlePool(&particles);
        Vector3D pos = turned(NORTH, Vector3D(0, 1, 0), degrees), axis = X_AXIS;
        pool.create(type, &pos, &axis);
    }
    Enemy& enemy() { return pool.enemies[0]; }
    int shots() { return pool_test::liveShots(pool.myLaserPool); }
    float distance() { return vec_dist(&enemy().live.position, &target); }
};

}  // namespace

TEST(EnemyLasers, ShooterFiresOnlyInRangeAndAfterASecond)
{
    LaserFixture near(9, 15);  // chord 0.26
    near.pool.updatePhysics(0.6, &near.target);
    EXPECT_EQ(near.shots(), 0);
    Vector3D standing = near.enemy().live.position;
    near.pool.updatePhysics(0.5, &near.target);
    EXPECT_EQ(near.shots(), 1);
    EXPECT_EQ(near.enemy().live.timer, 0);
    EXPECT_EQ(degreesBetween(standing, near.enemy().live.position), 0);  // stands still in range

    // The shot flies at the target and strikes it.
    bool struck = false;
    for (int frame = 0; frame < 60 && !struck; frame++) {
        near.pool.myLaserPool.updatePhysics(1 / 60.0);
        struck = near.pool.enemyLaserCollisionDetection(&near.target, 0.04f);
    }
    EXPECT_TRUE(struck);

    LaserFixture far(9, 60);  // chord 1.0: closes in without firing
    for (int frame = 0; frame < 5; frame++)
        far.pool.updatePhysics(2.0, &far.target);
    EXPECT_EQ(far.shots(), 0);
    EXPECT_NEAR(degreesBetween(far.enemy().live.position, far.target), 60 - 5 * SHOOTER_STEP, 2e-3);
}

TEST(EnemyLasers, ShooterEnteringRangeWithTimeBankedFiresAtOnce)
{
    // Chord 0.5 is 28.955 degrees; one step brings it inside.
    LaserFixture shooter(9, 28.955f + SHOOTER_STEP * 0.5f);
    shooter.pool.updatePhysics(2.0, &shooter.target);
    EXPECT_EQ(shooter.shots(), 0);
    EXPECT_LE(shooter.distance(), 0.5f);
    shooter.pool.updatePhysics(0.01, &shooter.target);
    EXPECT_EQ(shooter.shots(), 1);
}

TEST(EnemyLasers, TurretNeverMovesAndNeverFiresBeyondRange)
{
    LaserFixture turret(10, 110);  // chord 1.64
    Vector3D placed = turret.enemy().live.position;
    for (int frame = 0; frame < 100; frame++)
        turret.pool.updatePhysics(1.0, &turret.target);
    EXPECT_EQ(turret.shots(), 0);
    EXPECT_EQ(degreesBetween(placed, turret.enemy().live.position), 0);

    // Within 1.5 it fires at once with its time banked, then every 1.25 s.
    turret.target = turned(NORTH, Vector3D(0, 1, 0), 30);
    turret.pool.updatePhysics(0.01, &turret.target);
    EXPECT_EQ(turret.shots(), 1);
    turret.pool.updatePhysics(1.2, &turret.target);
    EXPECT_EQ(turret.shots(), 1);
    turret.pool.updatePhysics(0.06, &turret.target);
    EXPECT_EQ(turret.shots(), 2);
}

namespace {
template <typename T, typename = void>
struct HasBaseFrame : std::false_type {
};
template <typename T>
struct HasBaseFrame<T, std::void_t<decltype(std::declval<T>().firstRotationAxis)>> : std::true_type {
};
template <typename T, typename = void>
struct HasBaseMatrix : std::false_type {
};
template <typename T>
struct HasBaseMatrix<T, std::void_t<decltype(std::declval<T>().genericOrientationMatrix)>> : std::true_type {
};
}  // namespace

#ifdef ZYNTHRA_CLASSIC
static_assert(!HasBaseFrame<Enemy::Live>::value, "the classic turret base turns with the turret");
static_assert(!HasBaseMatrix<EnemyPool>::value, "the classic pool needs no matrix for the base");
#else
static_assert(HasBaseFrame<Enemy::Live>::value && HasBaseMatrix<EnemyPool>::value, "the turret base has a frame");

TEST(EnemyLasers, TurretBaseKeepsItsFrameWhileTheTurretTurns)
{
    EnemyPool pool;
    Vector3D ship = NORTH, yRef(0, 1, 0);
    pool.create(10, 60.0f, 80.0f, &ship, &yRef);
    Enemy& turret = pool.enemies[0];
    Vector3D baseAxis = turret.live.firstRotationAxis, baseForward = turret.live.firstForward;
    // The base faces the point the turret was placed from.
    EXPECT_NEAR(vec_dot(&baseAxis, &baseAxis), 1, 1e-5);
    EXPECT_GT(vec_dot(&baseForward, &ship), 0.5f);

    Vector3D elsewhere = turned(turret.live.position, Vector3D(0, 0, 1), 20);
    pool.updatePhysics(0.1, &elsewhere);
    pool.updatePhysics(0.1, &ship);
    Vector3D axisNow = turret.live.rotationAxis;
    pool.updatePhysics(0.1, &elsewhere);
    EXPECT_LT(vec_dot(&axisNow, &turret.live.rotationAxis), 0.99f);  // the turret turned
    EXPECT_EQ(vec_dist(&baseAxis, &turret.live.firstRotationAxis), 0);
    EXPECT_EQ(vec_dist(&baseForward, &turret.live.firstForward), 0);
}
#endif
