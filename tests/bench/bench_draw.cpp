// One drawn frame of play (Game::draw) at full load: 125 enemies, 25 asteroids, 550 particles and
// both laser pools full, drawn into the game's own GL ES context on a private Xvfb (Mesa's llvmpipe).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "Game.h"
#include "gl_support.h"
#include "vec_support.h"
#include "xvfb.h"

namespace {

// Budgets large enough that nothing would expire, though drawing alone never spends them.
constexpr float endless = 1e9f;

// A point on the half of the arena that faces the camera above the ship at (0, 0, 1), so that
// everything is on screen and costs what it would in play.
Vector3D facingPoint() {
    Vector3D p;
    vec_getRandomVec(&p);
    vec_normalize(&p);
    p.z = std::fabs(p.z);
    return p;
}

// A random great circle through pos.
Vector3D axisThrough(Vector3D* pos) {
    Vector3D other = facingPoint(), axis;
    vec_cross(pos, &other, &axis);
    vec_normalize(&axis);
    return axis;
}

void fillLasers(LaserShotPool& lasers, int type) {
    while (lasers.firstAvailable) {
        Vector3D pos = facingPoint(), axis = axisThrough(&pos);
        lasers.create(&pos, &axis, endless, type);
    }
    lasers.updatePhysics(1e-4);  // gives each shot its frame
}

// Every pool full: all eleven enemy kinds, fragments and falling rocks, white sparks, both lasers.
void fillWorld(Game& game) {
    Vector3D* ship = game.player.getPosition();
    for (int i = 0; game.enemies.firstAvailable; i++) {
        Vector3D pos = facingPoint(), axis = axisThrough(&pos);
        game.enemies.create(i % NUM_ENEMY_TYPES, &pos, &axis);
    }
    game.enemies.updatePhysics(1e-4, ship);  // gives each enemy its frame
    for (int i = 0; game.asteroids.firstAvailable; i++) {
        if (i % 5 == 0) {
            game.asteroids.createIncoming();
        } else {
            Vector3D pos = facingPoint(), axis = axisThrough(&pos);
            game.asteroids.createFragment(0.4f, &pos, &axis);
        }
    }
    Vector3D white(1, 1, 1);
    while (game.particles.firstAvailable) {
        Vector3D pos = facingPoint(), velocity;
        vec_getRandomVec(&velocity);
        game.particles.createEsplosion(&pos, &velocity, &white);
    }
    for (Particle& p : game.particles.particles) p.totalDist = p.distLeft = endless;
    fillLasers(game.player.myLaserPool, 5);
    fillLasers(game.enemies.myLaserPool, 7);
}

// Wall time: llvmpipe rasterises on threads of its own, and Game::draw waits for them (glFinish).
void BM_DrawFullLoad(benchmark::State& state) {
    static XvfbServer xvfb;  // one server for every run of the benchmark
    if (!xvfb.ok() || chdir(ZYNTHRA_DATA_DIR) != 0 || initDisplay() == 1) {
        state.SkipWithError("no display");
        return;
    }
    setupGlStuff();
    auto game = std::make_unique<Game>();
    game->setupVBOs();
    srand(1);
    game->newGame();
    game->player.isRezing = false;  // drawn steadily, not blinking
    fillWorld(*game);

    for (auto _ : state) game->draw(1.0 / 60);

    if (glGetError() != GL_NO_ERROR) state.SkipWithError("GL error while drawing");
    int enemies = 0;
    for (const Enemy& e : game->enemies.enemies) enemies += e.isInUse ? 1 : 0;
    state.counters["enemies"] = enemies;
    closeGLES();
}
BENCHMARK(BM_DrawFullLoad)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
