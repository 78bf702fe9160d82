#include <gtest/gtest.h>

#include <iterator>

#include "Game.h"
#include "Menus.h"
#include "game_test_support.h"

namespace {
// A game in progress driven frame by frame as the loop drives it: the frame's
// update, then its drawing, which changes nothing. The pause turn, the
// "Get ready!" countdown and the HUD's roll-up advance on the update, also
// in frames where the game itself stands still.
class FrameTest : public GameTest {
protected:
    enum Held { NOTHING, START, DOWN, X };

    struct Step {
        double dT;
        Held held;
        bool paused, unpausing;
        float unpauseTimer;
        int displayScore;
        float pauseRotX;
        bool gameRuns;  // the game's own state advanced (its asteroid clock moved)
    };

    void run(const Step* steps, int count)
    {
        for (int i = 0; i < count; i++) {
            const Step& s = steps[i];
            controls.inputStart = s.held == START;
            controls.inputDown = s.held == DOWN;
            controls.inputX = s.held == X;
            const float clockBefore = game->asteroidTimer;
            game->updateFrame(s.dT);
            SCOPED_TRACE(testing::Message() << "frame " << i + 1);
            EXPECT_EQ(game->paused, s.paused);
            EXPECT_EQ(game->unpausing, s.unpausing);
            EXPECT_EQ(game->gameMode, s.paused ? MODE_PAUSED : MODE_PLAYING);
            EXPECT_FLOAT_EQ(game->unpauseTimer, s.unpauseTimer);
            EXPECT_EQ(game->displayScore, s.displayScore);
            EXPECT_FLOAT_EQ(game->pauseRotX, s.pauseRotX);
            EXPECT_FLOAT_EQ(game->pauseRotY, s.pauseRotX / 2);
            EXPECT_EQ(game->asteroidTimer != clockBefore, s.gameRuns);
        }
    }
};
}  // namespace

TEST_F(FrameTest, StartPausesAndTheCountdownRunsWhileTheGameStandsStill)
{
    game->score = 1000;
    // The roll-up takes a tenth of the gap per frame, but never while paused.
    const Step steps[] = {
        {1.0 / 60, NOTHING, false, false, 0, 100, 0, true},
        {1.0 / 60, NOTHING, false, false, 0, 190, 0, true},
        {0.25, START, true, false, 0, 190, 0.1f, false},
        {0.25, NOTHING, true, false, 0, 190, 0.2f, false},
        // Start again: the countdown starts in this very frame, and the score rolls on.
        {0.25, START, false, true, 0.25f, 271, 0, false},
        {0.25, NOTHING, false, true, 0.5f, 343, 0, false},
        {0.25, NOTHING, false, true, 0.75f, 408, 0, false},
        {0.25, NOTHING, false, false, 0, 467, 0, false},  // a full second: play again from the next frame
        {1.0 / 60, NOTHING, false, false, 0, 520, 0, true},
    };
    run(steps, std::size(steps));
}

TEST_F(FrameTest, ResumeFromThePauseMenuCountsDownTheSameWay)
{
    game->score = 95;
    game->displayScore = 80;
    const Step steps[] = {
        {0.25, START, true, false, 0, 80, 0.1f, false},
        {0.25, DOWN, true, false, 0, 80, 0.2f, false},  // onto "Resume"
        // A gap of 11 to 19 rolls up one point a frame; within 10 the score arrives at once.
        {0.25, X, false, true, 0.25f, 81, 0, false},
        {0.5, NOTHING, false, true, 0.75f, 82, 0, false},
        {0.3, NOTHING, false, false, 0, 83, 0, false},
        {0.1, NOTHING, false, false, 0, 84, 0, true},
        {0.1, NOTHING, false, false, 0, 85, 0, true},
        {0.1, NOTHING, false, false, 0, 95, 0, true},
    };
    run(steps, std::size(steps));
    EXPECT_EQ(menu->menuSelect, 1);
}
