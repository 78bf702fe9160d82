#include "draw_scenes.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "Game.h"
#include "enemyInfo.h"
#include "vec_support.h"

namespace {

// Budgets large enough that nothing would expire, though drawing alone never spends them.
constexpr float endless = 1e9f;
constexpr double frame = 1.0 / 60;

// A point on the half of the arena that faces the camera above the ship at (0, 0, 1).
Vector3D facingPoint()
{
    Vector3D p;
    vec_getRandomVec(&p);
    vec_normalize(&p);
    p.z = std::fabs(p.z);
    return p;
}

// A random great circle through pos.
Vector3D axisThrough(Vector3D* pos)
{
    Vector3D other = facingPoint(), axis;
    vec_cross(pos, &other, &axis);
    vec_normalize(&axis);
    return axis;
}

void addShots(LaserShotPool& lasers, int type, int count)
{
    for (int i = 0; i < count && lasers.firstAvailable; i++) {
        Vector3D pos = facingPoint(), axis = axisThrough(&pos);
        lasers.create(&pos, &axis, endless, type);
    }
    lasers.updatePhysics(1e-4);  // gives each shot its frame
}

// Enemies as the wave queue places them, at an offset around the ship (in degrees of arc), so
// that every kind, the turret's base included, gets the frame it has in play.
void addEnemies(Game& game, int count, float spread)
{
    Player& ship = game.player;
    for (int i = 0; i < count && game.enemies.firstAvailable; i++)
        game.enemies.create(i % NUM_ENEMY_TYPES, rand_FloatRange(-spread, spread), rand_FloatRange(-spread, spread),
                            ship.getPosition(), ship.getyRef());
    game.enemies.updatePhysics(1e-4, ship.getPosition());  // gives each enemy its frame
}

void addRocks(Game& game, int count)
{
    for (int i = 0; i < count && game.asteroids.firstAvailable; i++) {
        if (i % 5 == 0) {
            game.asteroids.createIncoming();
        } else {
            Vector3D pos = facingPoint(), axis = axisThrough(&pos);
            game.asteroids.createFragment(0.4f, &pos, &axis);
        }
    }
}

void addBursts(Game& game, int count, int sparks)
{
    const Vector3D colors[3] = {{1, 1, 1}, {1, 0.7294118f, 0.05882353f}, {0, 1, 0}};
    for (int i = 0; i < count; i++) {
        Vector3D pos = facingPoint(), color = colors[i % 3];
        for (int k = 0; k < sparks; k++) {
            Vector3D velocity;
            vec_getRandomVec(&velocity);
            game.particles.createEsplosion(&pos, &velocity, &color);
        }
    }
}

// A new game whose ship rests at the start, drawn steadily rather than blinking.
void startGame(Game& game, unsigned seed)
{
    srand(seed);
    game.newGame();
    game.player.isRezing = false;
}

}  // namespace

void fillFullLoad(Game& game, unsigned seed)
{
    startGame(game, seed);
    addEnemies(game, EnemyPool::POOL_SIZE, 60);
    addRocks(game, AsteroidPool::POOL_SIZE);
    addBursts(game, ParticlePool::POOL_SIZE, 1);
    for (Particle& p : game.particles.particles)
        p.totalDist = p.distLeft = endless;
    addShots(game.player.myLaserPool, 5, LaserShotPool::POOL_SIZE);
    addShots(game.enemies.myLaserPool, 7, LaserShotPool::POOL_SIZE);
}

void fillMidGame(Game& game, unsigned seed)
{
    startGame(game, seed);
    game.score = game.displayScore = 48250;
    game.sphereColor = game.sphereCurrentColor = 9000;
    addEnemies(game, 20, 30);
    addRocks(game, 3);
    addBursts(game, 4, 20);
    for (int i = 0; i < 10; i++)
        game.particles.updatePhysics(frame);
    addShots(game.player.myLaserPool, 2, 8);
    addShots(game.enemies.myLaserPool, 7, 3);
}

#ifndef ZYNTHRA_CLASSIC
void fillBombAndDecoy(Game& game, unsigned seed)
{
    startGame(game, seed);
    addEnemies(game, 12, 25);
    game.player.doDecoyBomb();
    // The ship flies off to the upper right, leaving its trail, then bombs.
    for (int i = 0; i < 40; i++)
        game.player.updatePhysics(150, -120, frame);
    game.player.bombClock = 1;
    game.player.doBomb(&game.enemies, &game.asteroids);
    game.enemies.cleanupEnemies();
    for (int i = 0; i < 12; i++)
        game.particles.updatePhysics(frame);
}
#endif

void fillTurrets(Game& game, unsigned seed)
{
    startGame(game, seed);
    Player& ship = game.player;
    for (int i = 0; i < 6; i++)
        game.enemies.create(LASER_TURRET, rand_FloatRange(-20, 20), rand_FloatRange(-15, 15), ship.getPosition(),
                            ship.getyRef());
    addEnemies(game, 8, 20);
    // Turned towards the ship: the turret turns, its base (in the main rules) keeps its heading.
    for (int i = 0; i < 30; i++)
        game.enemies.updatePhysics(frame, ship.getPosition());
}

ScratchFolder::ScratchFolder()
{
    if (!folder_.ok())
        return;
    const std::filesystem::path folder = folder_.path();
    std::filesystem::copy_file(std::filesystem::path(ZYNTHRA_DATA_DIR) / "zyn.png", folder / "zyn.png");
    std::filesystem::current_path(folder);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::current_path(ZYNTHRA_DATA_DIR, ignored);
}
