#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "Game.h"
#include "constants.h"
#include "menu_test_support.h"
#include "pool_test_support.h"
#include "sound_double.h"

using pool_test::liveParticles;
using pool_test::liveShots;

inline void expectVec(const Vector3D& v, float x, float y, float z, float tol = 1e-5f)
{
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

// A ship with its own pools, wired as the game wires them, without a game.
class ShipTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sound_double::reset();
        player.setParticlePool(&particles);
        enemies.setParticlePool(&particles);
        enemies.setAsteroidPool(&asteroids);
        asteroids.setParticlePool(&particles);
    }

    ParticlePool particles;
    EnemyPool enemies;
    AsteroidPool asteroids;
    Player player;
};

// Heading of a shot on the screen, in degrees counter-clockwise from the
// right, for a ship at (0, 0, 1) with its starting axes (x right, y up).
inline float launchAngle(const LaserShot& shot)
{
    Vector3D axis = shot.rotationAxis, position = shot.position;
    Vector3D dir(axis.y * position.z - axis.z * position.y, axis.z * position.x - axis.x * position.z,
                 axis.x * position.y - axis.y * position.x);
    return std::atan2(dir.y, dir.x) * RAD_TO_DEG;
}

// A game that has just been started from the main menu, in a fresh working folder.
class GameTest : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        makeMenu();
        game->newGame();
        sound_double::reset();
    }

    Player& player() { return game->player; }

    // Puts a basic enemy right on the ship, ready to collide.
    void enemyOnShip()
    {
        Vector3D axis(1, 0, 0);
        game->enemies.create(0, player().getPosition(), &axis);
    }

    // Makes the ship vulnerable and crashes it into an enemy.
    void loseShip()
    {
        player().isDead = false;
        player().isRezing = false;
        enemyOnShip();
        game->collisionDetection();
    }
};
