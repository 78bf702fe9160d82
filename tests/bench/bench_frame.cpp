#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "Game.h"
#include "controller_support.h"
#include "vec_support.h"

namespace {
// Budgets large enough that nothing expires while the benchmark runs.
constexpr float endless = 1e9f;

// Tops the pool up to 50 live shots fanned out around the ship.
void fillLasers(LaserShotPool& pool, Vector3D* from)
{
    for (int i = 0; pool.firstAvailable != nullptr; i++) {
        Vector3D axis(1, 0, 0);
        vec_rotate(&axis, from, i * 7.2f);
        pool.create(from, &axis, endless, i % 6);
    }
}

void fillParticles(ParticlePool& pool, Vector3D* from)
{
    Vector3D white(1, 1, 1);
    for (int i = 0; i < ParticlePool::POOL_SIZE; i++) {
        Vector3D vel;
        vec_getRandomVec(&vel);
        pool.createEsplosion(from, &vel, &white);
    }
    for (Particle& p : pool.particles)
        p.totalDist = p.distLeft = endless;
}
}  // namespace

// One frame of play (input mapping and the whole rules step, no drawing) with
// the ship's 50 shots and all 550 particles alive, after 20 s of waves.
static void BM_FrameOfPlay(benchmark::State& state)
{
    srand(1);
    Controller controls{};
    auto game = std::make_unique<Game>();
    game->setupControls(&controls);
    game->newGame();
    game->lives = 1000000;  // the game must not end: there is no menu to hand it to
    controls.nub0X = 150;
    controls.nub0Y = -60;
    for (int frame = 0; frame < 1200; frame++) {
        game->pollInput();
        game->updateGameState(1.0 / 60);
    }
    fillLasers(game->player.myLaserPool, game->player.getPosition());
    fillParticles(game->particles, game->player.getPosition());

    for (auto _ : state) {
        // Shots that hit are consumed; replacing them keeps the pool full (a few creates a frame).
        fillLasers(game->player.myLaserPool, game->player.getPosition());
        game->pollInput();
        game->updateGameState(1.0 / 60);
        benchmark::DoNotOptimize(game->score);
    }
    int particles = 0;
    for (const Particle& p : game->particles.particles)
        particles += p.isInUse ? 1 : 0;
    state.counters["particles"] = particles;
}
BENCHMARK(BM_FrameOfPlay);
