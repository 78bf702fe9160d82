#include <gtest/gtest.h>

#include <vector>

#include "Sound.h"
#include "game_test_support.h"

namespace {
class InputTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        player().shotClock = 10;  // every frame may fire
    }

    void expectMove(int x, int y)
    {
        game->getMovementInput();
        EXPECT_EQ(game->moveX, x);
        EXPECT_EQ(game->moveY, y);
    }

    // Runs the firing step; returns the heading of the one shot it fired, or nothing.
    std::vector<float> firedAngles()
    {
        player().myLaserPool.removeAll();
        player().shotClock = 10;
        game->getFiringInput();
        std::vector<float> angles;
        for (const LaserShot& shot : player().myLaserPool.shots) {
            if (shot.isInUse)
                angles.push_back(launchAngle(shot));
        }
        return angles;
    }

    void expectFiredAt(float degrees)
    {
        std::vector<float> angles = firedAngles();
        ASSERT_EQ(angles.size(), 1u);
        EXPECT_NEAR(angles[0], degrees, 1e-3);
    }

    void releaseAll() { controls = Controller{}; }
};
}  // namespace

TEST_F(InputTest, DPadPairsFollowTheButtonPriority)
{
    struct Case {
        bool up, right, down, left;
        int x, y;
    };
    const Case cases[] = {
        {true, false, false, false, 0, -256},
        {true, false, false, true, -181, -181},
        {true, true, false, false, 181, -181},
        {false, true, false, false, 256, 0},
        {false, true, true, false, 181, 181},
        {false, false, true, false, 0, 256},
        {false, false, true, true, -181, 181},
        {false, false, false, true, -256, 0},
        {false, false, false, false, 0, 0},
        // Conflicts: Up wins over Down, Up+Left+Right is Up+Right, Right wins over Left.
        {true, false, true, false, 0, -256},
        {true, true, false, true, 181, -181},
        {false, true, false, true, 256, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.up << c.right << c.down << c.left);
        auto holdAndExpect = [&](bool& up, bool& right, bool& down, bool& left) {
            up = c.up;
            right = c.right;
            down = c.down;
            left = c.left;
            expectMove(c.x, c.y);
            releaseAll();
        };
        holdAndExpect(controls.inputUp, controls.inputRight, controls.inputDown, controls.inputLeft);
        // The face buttons give the same pairs: Y up, B right, X down, A left.
        game->setMovementOption(SCHEME_FACE_BUTTONS);
        game->setFiringOption(SCHEME_LEFT_NUB);
        holdAndExpect(controls.inputY, controls.inputB, controls.inputX, controls.inputA);
        game->setMovementOption(SCHEME_LEFT_NUB);
        game->setFiringOption(SCHEME_RIGHT_NUB);
    }
}

TEST_F(InputTest, DefaultsSteerWithTheLeftNubAndAimWithTheRight)
{
    controls.inputUp = controls.inputRight = true;
    expectMove(181, -181);  // the d-pad steers while the left nub rests
    controls.nub0X = 40;
    controls.nub0Y = -3;
    expectMove(40, -3);  // the raw reading, no dead zone

    EXPECT_TRUE(firedAngles().empty());
    controls.inputB = controls.inputX = true;
    expectFiredAt(-45);  // the face buttons fire while the right nub rests
    controls.nub1X = -10;
    controls.nub1Y = 10;
    expectFiredAt(-135);
}

TEST_F(InputTest, ANubDoesNotHandOverToButtonsTheOtherOptionUses)
{
    // Moving on the d-pad, firing on the left nub: the resting nub fires nothing.
    game->setMovementOption(SCHEME_DPAD);
    game->setFiringOption(SCHEME_LEFT_NUB);
    controls.inputDown = true;
    expectMove(0, 256);
    EXPECT_TRUE(firedAngles().empty());

    // Firing on the d-pad, moving on the left nub: the d-pad does not steer.
    game->setMovementOption(SCHEME_LEFT_NUB);
    game->setFiringOption(SCHEME_DPAD);
    expectMove(0, 0);
    expectFiredAt(-90);

    // The right-nub mirror image with the face buttons.
    releaseAll();
    game->setMovementOption(SCHEME_RIGHT_NUB);
    game->setFiringOption(SCHEME_FACE_BUTTONS);
    controls.inputA = controls.inputX = true;
    expectMove(0, 0);
    expectFiredAt(-135);
}

TEST_F(InputTest, OneControlCanBothMoveAndFire)
{
    game->setMovementOption(SCHEME_RIGHT_NUB);
    game->setFiringOption(SCHEME_RIGHT_NUB);
    controls.nub1X = 0;
    controls.nub1Y = -100;
    expectMove(0, -100);
    expectFiredAt(90);
}

TEST_F(InputTest, UnknownSchemesPlayAsTheDefaults)
{
    game->setMovementOption(7);
    game->setFiringOption(-3);
    EXPECT_EQ(game->movementOption, 7);
    EXPECT_EQ(game->firingOption, -3);
    controls.inputLeft = true;
    controls.inputY = true;
    expectMove(-256, 0);
    expectFiredAt(90);
    controls.nub0X = 5;
    controls.nub1Y = 9;
    expectMove(5, 0);
    expectFiredAt(-90);
}

TEST_F(InputTest, BombsNeedAStockALiveShipAndTheCoolDown)
{
    controls.inputR = true;
    game->pollInput();
    EXPECT_EQ(game->bombs, 2);
    game->pollInput();  // held: the ship's cool-down spaces the bombs
    EXPECT_EQ(game->bombs, 2);
    player().updatePhysics(0, 0, 0.5);
    game->pollInput();
    EXPECT_EQ(game->bombs, 1);

    player().updatePhysics(0, 0, 0.5);
    player().isDead = true;
    game->pollInput();
    EXPECT_EQ(game->bombs, 1);

    player().isDead = false;
    game->bombs = 0;
    game->pollInput();
    EXPECT_EQ(game->bombs, 0);
    EXPECT_EQ(sound_double::count(SOUND_BOMB), 2);
}

#ifndef ZYNTHRA_CLASSIC
TEST_F(InputTest, TheLeftShoulderDropsOneDecoyAtATime)
{
    controls.inputL = true;
    game->pollInput();
    EXPECT_EQ(game->decoyBombs, 1);
    EXPECT_TRUE(player().decoyBombOut);
    game->pollInput();
    EXPECT_EQ(game->decoyBombs, 1);

    player().decoyBombOut = false;
    player().isDead = true;
    game->pollInput();
    EXPECT_EQ(game->decoyBombs, 1);
}
#endif
