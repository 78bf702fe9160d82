#include <memory>

#include "Game.h"
#include "gl_fixture.h"
#include "gl_support.h"
#include "sound_double.h"

namespace {
// A new game's first frames, drawn with the real models into the real context.
class GameDrawTest : public GameGlTest {
protected:
    static bool isWhite(const Rgba& p) { return p.r > 170 && p.g > 170 && p.b > 170; }
    static bool isBlue(const Rgba& p) { return p.b > 60 && p.b > p.r + 40 && p.b > p.g + 20; }

    static int count(const std::vector<Rgba>& frame, int x0, int y0, int x1, int y1, bool (*test)(const Rgba&))
    {
        int n = 0;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++)
                n += test(pixel(frame, x, y)) ? 1 : 0;
        return n;
    }
};
}  // namespace

TEST_F(GameDrawTest, ANewGameShowsTheBlueArenaTheShipAndTheHud)
{
    std::vector<Rgba> frame = drawFrame();
    savePng(frame, "game_frame.png");

    // The arena's blue wireframe fills the screen around the ship.
    EXPECT_GT(count(frame, 0, 40, 800, 440, isBlue), 5000);

    // The ship's white outline sits in the middle of the screen.
    int shipInk = count(frame, 370, 215, 430, 265, isWhite);
    EXPECT_GT(shipInk, 40);

    // HUD texts in the four corners, nothing between them.
    EXPECT_GT(count(frame, 0, 0, 256, 32, isWhite), 300);       // Score:0000000000
    EXPECT_GT(count(frame, 650, 0, 762, 32, isWhite), 100);     // Lives:3
    EXPECT_GT(count(frame, 0, 445, 224, 477, isWhite), 200);    // Decoy Bombs:2
    EXPECT_GT(count(frame, 650, 445, 762, 477, isWhite), 100);  // Bombs:3
    EXPECT_LT(count(frame, 300, 0, 600, 32, isWhite), 30);

    // A lost ship is not drawn.
    game->player.isDead = true;
    frame = drawFrame();
    EXPECT_LT(count(frame, 370, 215, 430, 265, isWhite), shipInk / 4);
}

TEST_F(GameDrawTest, GameOverAndTheCountdownShowInTheMiddle)
{
    game->player.isDead = true;
    std::vector<Rgba> frame = drawFrame();
    int quiet = count(frame, 320, 150, 480, 260, isWhite);

    game->gameEnding = true;
    game->unpausing = true;
    game->unpauseTimer = 0.25f;
    frame = drawFrame();
    savePng(frame, "game_over_frame.png");
    EXPECT_GT(count(frame, 320, 220, 480, 252, isWhite), quiet + 200);  // Game over!
    EXPECT_GT(count(frame, 320, 156, 480, 188, isWhite), 200);          // Get ready!
    EXPECT_GT(count(frame, 368, 188, 432, 220, isWhite), 60);           // 0.75
}

TEST_F(GameDrawTest, DrawingShowsTheStateWithoutAdvancingIt)
{
    // The roll-up, the countdown and the camera's shake belong to the step:
    // a game plays the same however many frames are drawn.
    game->score = 1000;
    game->unpausing = true;
    game->unpauseTimer = 0.5f;
    addShake(5);
    for (int frame = 1; frame <= 4; frame++)
        game->draw();
    EXPECT_EQ(game->displayScore, 0);
    EXPECT_TRUE(game->unpausing);
    EXPECT_EQ(game->unpauseTimer, 0.5f);
    EXPECT_EQ(getShakeAmount(), 5);
    addShake(0);
}
