// The game's batched drawing against the old drawing kept in the tests (reference_draw.h): fixed
// scenes drawn both ways in the same run must match pixel for pixel, except for a few single
// pixels where the CPU-side transforms round differently from the GL's own matrices.
#include <cstdio>
#include <memory>
#include <string>

#include "Game.h"
#include "Menus.h"
#include "alloc_counter.h"
#include "draw_scenes.h"
#include "gl_fixture.h"
#include "reference_draw.h"

namespace {

constexpr double frameTime = 1.0 / 60;
// Pixels a frame may differ by, from float rounding of the transforms alone.
constexpr int roundingAllowance = 20;

#ifdef ZYNTHRA_CLASSIC
const char* const ruleSet = "classic";
#else
const char* const ruleSet = "main";
#endif

class DrawEquivalenceTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        scratch = std::make_unique<ScratchFolder>();
        menu = std::make_unique<Menu>();
        setupReferenceDrawing();
        before = std::make_unique<Game>();
        after = std::make_unique<Game>();
        for (Game* game : {before.get(), after.get()}) {
            game->setupVBOs();
            game->setMenu(menu.get());
        }
        menu->setGame(after.get());
    }

    // Draws the two games, already filled alike, and returns the number of pixels that differ.
    // A first frame each way lets the GL build what the new state needs (llvmpipe compiles its
    // shaders with LLVM, which allocates); the second frame is compared, and must not allocate.
    int compareGameFrames(const std::string& scene)
    {
        referenceDrawGame(*before);
        stepArenaMotion();
        after->draw();
        addShake(0);
        referenceDrawGame(*before);
        const std::vector<Rgba> old = readFrame();
        addShake(0);
        const long allocated = alloc_counter::allocations();
        stepArenaMotion();
        after->draw();
        EXPECT_EQ(alloc_counter::allocations() - allocated, 0) << scene << ": the drawing allocated";
        return countDifferences(old, readFrame(), scene);
    }

    int compareMenuFrames()
    {
        menu->loadMainMenu();
        // The selection bar at rest where it is heading, as the old drawing of it expects.
        menu->selectPos = 0;
        menu->selectCurrentWidth = (float)(menu->getSelectionWidth(menu->menuMode, menu->menuSelect) * 16);
        referenceDrawMainMenu(*menu, frameTime);
        const std::vector<Rgba> old = readFrame();
        menu->stepTitleScene(frameTime);
        stepArenaMotion();
        menu->drawMenu();
        return countDifferences(old, readFrame(), "menu");
    }

    // Pixels that differ in any channel; both frames are saved when any do, to be looked at.
    static int countDifferences(const std::vector<Rgba>& old, const std::vector<Rgba>& now, const std::string& scene)
    {
        int differing = 0;
        for (size_t i = 0; i < old.size(); i++) {
            const Rgba a = old[i], b = now[i];
            if (a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a)
                continue;
            if (++differing <= 5)
                printf("  (%zu, %zu): %d %d %d %d before, %d %d %d %d now\n", i % 800, i / 800, a.r, a.g, a.b, a.a, b.r,
                       b.g, b.b, b.a);
        }
        printf("%s, %s rules: %d of %zu pixels differ\n", scene.c_str(), ruleSet, differing, old.size());
        if (differing > 0) {
            savePng(old, scene + "_before.png");
            savePng(now, scene + "_after.png");
        }
        return differing;
    }

    std::unique_ptr<ScratchFolder> scratch;
    std::unique_ptr<Menu> menu;
    std::unique_ptr<Game> before, after;
};

}  // namespace

TEST_F(DrawEquivalenceTest, TheMainMenuLooksAsBefore)
{
    EXPECT_LE(compareMenuFrames(), roundingAllowance);
}

TEST_F(DrawEquivalenceTest, AMidGameFrameLooksAsBefore)
{
    fillMidGame(*before, 7);
    fillMidGame(*after, 7);
    EXPECT_LE(compareGameFrames("mid_game"), roundingAllowance);
}

TEST_F(DrawEquivalenceTest, AFullyLoadedFrameLooksAsBefore)
{
    fillFullLoad(*before, 3);
    fillFullLoad(*after, 3);
    EXPECT_LE(compareGameFrames("full_load"), roundingAllowance);
}

TEST_F(DrawEquivalenceTest, TurretsOnTheirBasesLookAsBefore)
{
    fillTurrets(*before, 5);
    fillTurrets(*after, 5);
    EXPECT_LE(compareGameFrames("turrets"), roundingAllowance);
}

#ifndef ZYNTHRA_CLASSIC
TEST_F(DrawEquivalenceTest, ABombRingAndADecoyLookAsBefore)
{
    fillBombAndDecoy(*before, 11);
    fillBombAndDecoy(*after, 11);
    EXPECT_LE(compareGameFrames("bomb_and_decoy"), roundingAllowance);
}
#endif

// Game over, with the ship lost: the text in the middle and no ship.
TEST_F(DrawEquivalenceTest, TheGameOverFrameLooksAsBefore)
{
    for (Game* game : {before.get(), after.get()}) {
        fillMidGame(*game, 13);
        game->gameEnding = true;
        game->player.isDead = true;
    }
    EXPECT_LE(compareGameFrames("game_over"), roundingAllowance);
}
