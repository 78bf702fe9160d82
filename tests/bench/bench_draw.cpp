// One drawn frame, before and after the drawing was batched, side by side: full load (125 enemies,
// 25 asteroids, 550 particles, both laser pools full), a typical mid-game frame (about 20 enemies)
// and the main menu, drawn into the game's own GL ES context on a private Xvfb (Mesa's llvmpipe).
// "before" is the old drawing kept in the tests (reference_draw.h), "after" the game's own.
//
// Counters per frame, from the GL call counter linked into this program: draw_calls, gl_calls,
// vertices. Budgets after batching: full load at most 80 draw calls and 400 GL calls, mid-game at
// most 25 draw calls, the menu at most 12. CPU is this thread's time (submitting and the driver's
// vertex work); Time is wall time, which also waits for llvmpipe's rasteriser threads (glFinish).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <memory>

#include "Game.h"
#include "Menus.h"
#include "display.h"
#include "draw_scenes.h"
#include "gl_call_counter.h"
#include "gl_support.h"
#include "reference_draw.h"
#include "xvfb.h"

namespace {

enum class Scene { fullLoad, midGame, menu };
enum class Path { before, after };

constexpr double frameTime = 1.0 / 60;

struct Screen {
    std::unique_ptr<Game> game;
    Menu menu;

    explicit Screen(Scene scene) : game(std::make_unique<Game>())
    {
        game->setupVBOs();
        game->setMenu(&menu);
        menu.setGame(game.get());
        menu.loadMainMenu();
        if (scene == Scene::fullLoad)
            fillFullLoad(*game, 1);
        if (scene == Scene::midGame)
            fillMidGame(*game, 1);
    }

    void draw(Scene scene, Path path)
    {
        if (scene == Scene::menu) {
            if (path == Path::before) {
                referenceDrawMainMenu(menu, frameTime);
            } else {
                menu.stepTitleScene(frameTime);
                stepArenaMotion();
                menu.drawMenu();
            }
        } else if (path == Path::before) {
            referenceDrawGame(*game);
        } else {
            stepArenaMotion();
            game->draw();
        }
    }
};

// The game's display on a private Xvfb, opened once for every run of the benchmark.
bool displayReady()
{
    static XvfbServer xvfb;
    static const bool ready = [] {
        if (!xvfb.ok() || chdir(ZYNTHRA_DATA_DIR) != 0 || initDisplay() == 1)
            return false;
        setupGlStuff();
        setupReferenceDrawing();
        static ScratchFolder scratch;  // the menu's high-score file goes there
        return true;
    }();
    return ready;
}

void BM_Draw(benchmark::State& state, Scene scene, Path path)
{
    if (!displayReady()) {
        state.SkipWithError("no display");
        return;
    }
    Screen screen(scene);
    screen.draw(scene, path);  // warms up, and settles the menu's eased bar
    gl_call_counter::reset();
    screen.draw(scene, path);
    const gl_call_counter::Counts counted = gl_call_counter::counts();

    for (auto _ : state)
        screen.draw(scene, path);

    if (glGetError() != GL_NO_ERROR)
        state.SkipWithError("GL error while drawing");
    state.counters["draw_calls"] = counted.drawCalls;
    state.counters["gl_calls"] = counted.calls;
    state.counters["vertices"] = counted.vertices;
}

#define DRAW_BENCHMARK(name, scene, path)         \
    BENCHMARK_CAPTURE(BM_Draw, name, scene, path) \
        ->Unit(benchmark::kMillisecond)           \
        ->Iterations(40)                          \
        ->Repetitions(3)                          \
        ->ReportAggregatesOnly(true)

DRAW_BENCHMARK(full_load_before, Scene::fullLoad, Path::before);
DRAW_BENCHMARK(full_load_after, Scene::fullLoad, Path::after);
DRAW_BENCHMARK(mid_game_before, Scene::midGame, Path::before);
DRAW_BENCHMARK(mid_game_after, Scene::midGame, Path::after);
DRAW_BENCHMARK(menu_before, Scene::menu, Path::before);
DRAW_BENCHMARK(menu_after, Scene::menu, Path::after);

}  // namespace
