#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <type_traits>

#include "Sound.h"
#include "alloc_counter.h"
#include "game_test_support.h"
#include "vec_support.h"

#ifdef ZYNTHRA_CLASSIC
// The classic rules carry no decoy state or operation at all.
#define HAS_MEMBER(member)                                                       \
    template <typename T, typename = void>                                       \
    struct Has_##member : std::false_type {                                      \
    };                                                                           \
    template <typename T>                                                        \
    struct Has_##member<T, std::void_t<decltype(&T::member)>> : std::true_type { \
    };
HAS_MEMBER(decoyBombs)
HAS_MEMBER(nextDecoyBomb)
HAS_MEMBER(decoyBombPos)
HAS_MEMBER(decoyBombOut)
HAS_MEMBER(decoyBombEsplode)
HAS_MEMBER(decoyBombTimer)
HAS_MEMBER(decoyBombPulseTimer)
HAS_MEMBER(decoyBombYref)
HAS_MEMBER(decoyBombOrientationMatrix)
HAS_MEMBER(decoyBombOrientation)
HAS_MEMBER(doDecoyBomb)
HAS_MEMBER(decoyBombBoom)
HAS_MEMBER(bombs)  // proves the check can see a member
#undef HAS_MEMBER

static_assert(Has_bombs<Game>::value, "the member check is broken");
static_assert(!Has_decoyBombs<Game>::value && !Has_nextDecoyBomb<Game>::value, "classic Game has decoy stocks");
static_assert(!Has_decoyBombPos<Player>::value && !Has_decoyBombOut<Player>::value &&
                  !Has_decoyBombEsplode<Player>::value && !Has_decoyBombTimer<Player>::value &&
                  !Has_decoyBombPulseTimer<Player>::value && !Has_decoyBombYref<Player>::value &&
                  !Has_decoyBombOrientationMatrix<Player>::value && !Has_decoyBombOrientation<Player>::value,
              "classic Player has decoy state");
static_assert(!Has_doDecoyBomb<Player>::value && !Has_decoyBombBoom<Player>::value,
              "classic Player has decoy operations");
#endif

namespace {
class RulesTest : public GameTest {
protected:
    // Runs frames of play until the game leaves mode 1 or the time is up; returns the frames run.
    int playUntilOver(double dT, int maxFrames)
    {
        for (int frame = 1; frame <= maxFrames; frame++) {
            game->updateGameState(dT);
            if (game->gameMode != MODE_PLAYING)
                return frame;
        }
        return -1;
    }

    int incomingAsteroids()
    {
        int n = 0;
        for (const Asteroid& a : game->asteroids.asteroids)
            n += (a.isInUse && a.incoming) ? 1 : 0;
        return n;
    }
};
}  // namespace

TEST_F(RulesTest, ANewGameStartsWithItsStocksAndThresholds)
{
    game->score = 999;
    game->newGame();
    EXPECT_EQ(game->gameMode, MODE_PLAYING);
    EXPECT_EQ(game->score, 0);
    EXPECT_EQ(game->lives, 3);
    EXPECT_EQ(game->bombs, 3);
    EXPECT_EQ(game->nextLife, 100000);
    EXPECT_EQ(game->nextBomb, 75000);
    EXPECT_EQ(game->nextLaserUpgrade, 15000);
#ifndef ZYNTHRA_CLASSIC
    EXPECT_EQ(game->decoyBombs, 2);
    EXPECT_EQ(game->nextDecoyBomb, 110000);
#endif
    EXPECT_EQ(sound_double::log().gameMusicStarts, 1);
    EXPECT_TRUE(player().getIsRezing());
    EXPECT_FALSE(player().hasSuperLaser);
}

TEST_F(RulesTest, LaserThresholdTriplesEvenAtTheTopLevel)
{
    game->score = 15000;
    game->checkPowerups();
    game->checkPowerups();
    EXPECT_EQ(player().laserType, 1);
    EXPECT_EQ(game->nextLaserUpgrade, 45000);
    EXPECT_EQ(sound_double::count(SOUND_LASER_UP_VOICE), 1);

    player().laserType = 5;
    game->score = 45000;
    game->checkPowerups();
    EXPECT_EQ(player().laserType, 5);
    EXPECT_EQ(game->nextLaserUpgrade, 135000);
    EXPECT_EQ(sound_double::count(SOUND_LASER_UP_VOICE), 1);
}

TEST_F(RulesTest, AJumpPastTwoThresholdsPaysTheSecondRewardNextFrame)
{
    game->score = 150000;
    game->checkPowerups();
    EXPECT_EQ(game->bombs, 4);
    EXPECT_EQ(game->lives, 4);
    EXPECT_EQ(player().laserType, 1);
    game->checkPowerups();
    EXPECT_EQ(game->bombs, 5);
    EXPECT_EQ(game->lives, 4);
    EXPECT_EQ(player().laserType, 2);
    game->checkPowerups();
    EXPECT_EQ(game->bombs, 5);
    EXPECT_EQ(player().laserType, 3);
    EXPECT_EQ(game->nextBomb, 225000);
    EXPECT_EQ(game->nextLife, 200000);
    EXPECT_EQ(sound_double::count(SOUND_EXTRA_BOMB_VOICE), 2);
    EXPECT_EQ(sound_double::count(SOUND_EXTRA_LIFE_VOICE), 1);
#ifndef ZYNTHRA_CLASSIC
    EXPECT_EQ(game->decoyBombs, 3);
    EXPECT_EQ(game->nextDecoyBomb, 220000);
    EXPECT_EQ(sound_double::count(SOUND_EXTRA_DECOY_BOMB_VOICE), 1);
#else
    for (int sound : sound_double::log().sounds)
        EXPECT_LT(sound, NUM_SOUNDS) << "the classic table has no decoy voice";
#endif
}

TEST_F(RulesTest, SuperLaserComesAt38250AndGoesWithTheShip)
{
    game->sphereColor = 38249;
    game->checkPowerups();
    EXPECT_FALSE(player().hasSuperLaser);
    game->sphereColor = 38250;
    for (int i = 0; i < 3; i++)
        game->checkPowerups();
    EXPECT_TRUE(player().hasSuperLaser);
    EXPECT_EQ(sound_double::count(SOUND_SUPER_LASER_VOICE), 1);

    loseShip();
    EXPECT_FALSE(player().hasSuperLaser);
    EXPECT_EQ(game->sphereColor, 0);
    EXPECT_EQ(game->lives, 2);
    game->checkPowerups();
    EXPECT_FALSE(player().hasSuperLaser);
}

TEST_F(RulesTest, ScoringFeedsScoreAndStreakAndTheArenaColourFollows)
{
    Vector3D up(-1, 0, 0), axis(1, 0, 0), spot(0, 0.5f, 0.8660254f);
    game->enemies.create(0, &spot, &axis);
    player().myLaserPool.create(&spot, &up, 100, 0);
    game->collisionDetection();
    EXPECT_EQ(game->score, 100);
    EXPECT_EQ(game->sphereColor, 100);
    EXPECT_EQ(liveShots(player().myLaserPool), 0);

    // A twentieth of the gap per frame, then a snap within 10.
    game->sphereColor = 1000;
    game->sphereCurrentColor = 0;
    const int shown[] = {50, 97, 142};
    for (int expected : shown) {
        game->updateGameState(0);
        EXPECT_EQ(game->sphereCurrentColor, expected);
    }
    game->sphereCurrentColor = 990;
    game->updateGameState(0);
    EXPECT_EQ(game->sphereCurrentColor, 1000);

    // A gap of 11 to 19 still closes (a twentieth of it rounds to 0).
    game->sphereCurrentColor = 981;
    for (int frame = 0; frame < 10; frame++)
        game->updateGameState(0);
    EXPECT_EQ(game->sphereCurrentColor, 1000);

    // After a loss it fades back down the same way.
    game->sphereColor = 0;
    game->updateGameState(0);
    EXPECT_EQ(game->sphereCurrentColor, 950);
}

TEST_F(RulesTest, TheFourthLostShipEndsTheGameFiveSecondsLater)
{
    game->score = 20000;  // enough for the high-score table
    for (int lost = 1; lost <= 3; lost++) {
        loseShip();
        EXPECT_EQ(game->lives, 3 - lost);
        EXPECT_FALSE(game->gameEnding);
    }
    loseShip();
    EXPECT_TRUE(game->gameEnding);
    EXPECT_EQ(sound_double::count(SOUND_GAME_OVER_VOICE), 1);

    // Start does nothing now, and the lost ship stays lost.
    controls.inputStart = true;
    game->pollStart(1);
    EXPECT_FALSE(game->paused);
    EXPECT_EQ(game->gameMode, MODE_PLAYING);
    controls.inputStart = false;

    EXPECT_EQ(playUntilOver(0.5, 20), 10);
    EXPECT_TRUE(player().getIsDead());
    EXPECT_EQ(sound_double::count(SOUND_GAME_OVER_VOICE), 1);
    EXPECT_EQ(game->gameMode, MODE_MENUS);
    EXPECT_EQ(liveParticles(game->particles), 0);
    EXPECT_EQ(liveShots(player().myLaserPool), 0);
    EXPECT_EQ(menu->menuMode, MENU_NAME_ENTRY);
    EXPECT_EQ(menu->highScores_scores[menu->currentEntryIndex], 20000);
}

TEST_F(RulesTest, StartPausesOnceAndResumesWithACountdown)
{
    controls.inputStart = true;
    game->pollStart(0.3);
    EXPECT_TRUE(game->paused);
    EXPECT_EQ(game->gameMode, MODE_PAUSED);
    EXPECT_EQ(menu->menuMode, MENU_PAUSE);
    game->pollStart(0.1);  // still held, inside the guard
    EXPECT_TRUE(game->paused);
    game->pollStart(0.15);
    EXPECT_FALSE(game->paused);
    EXPECT_TRUE(game->unpausing);
    EXPECT_EQ(game->unpauseTimer, 0);
    EXPECT_EQ(game->gameMode, MODE_PLAYING);
}

TEST_F(RulesTest, SelectRunsTheScreenshotCommandEveryFifthOfASecond)
{
    // A stand-in for the outside tool records how it was called.
    writeFile("fbgrab", "#!/bin/sh\necho \"$@\" >> calls.txt\n");
    ASSERT_EQ(system("chmod +x fbgrab"), 0);
    std::string path = std::string(getenv("PATH"));
    setenv("PATH", (folder.string() + ":" + path).c_str(), 1);

    controls.inputSelect = true;
    for (int frame = 0; frame < 4; frame++)
        game->pollStart(0.12);
    setenv("PATH", path.c_str(), 1);

    std::ifstream calls("calls.txt");
    std::string line;
    int count = 0;
    while (std::getline(calls, line)) {
        count++;
        EXPECT_EQ(line.size(), std::string("screen231231-235959.png").size()) << line;
        EXPECT_EQ(line.rfind("screen", 0), 0u) << line;
    }
    EXPECT_EQ(count, 2);
    EXPECT_FALSE(game->paused);
}

TEST_F(RulesTest, FirstAsteroidComesAfterTwentySeconds)
{
    for (int frame = 1; frame < 80; frame++)
        game->updateGameState(0.25);
    EXPECT_EQ(incomingAsteroids(), 0);
    game->updateGameState(0.25);
    EXPECT_EQ(incomingAsteroids(), 1);
    EXPECT_LE(game->asteroidTimer, 0);
    EXPECT_GE(game->asteroidTimer, -8);
    EXPECT_FLOAT_EQ(game->asteroidFrequencyScale, 0.975f);
}

TEST_F(RulesTest, AsteroidIntervalStopsShrinkingAfterSeventeen)
{
    float scale = 1;
    for (int sent = 1; sent <= 19; sent++) {
        game->asteroidTimer = 100;
        scale = game->asteroidFrequencyScale;
        game->updateGameState(0);
        EXPECT_GE(game->asteroidTimer, -8 * scale);
        EXPECT_LE(game->asteroidTimer, 0);
        game->asteroids.initialize();  // room for the next one
        // Float rounding leaves the sixteenth value just above 0.6, so a seventeenth step is taken.
        if (sent == 16) {
            EXPECT_GT(game->asteroidFrequencyScale, 0.6f);
        }
    }
    EXPECT_NEAR(game->asteroidFrequencyScale, 0.575f, 1e-6);
    EXPECT_EQ(game->asteroidFrequencyScale, scale);
}

#ifndef ZYNTHRA_CLASSIC
TEST_F(RulesTest, EnemiesChaseTheDecoyUntilItGoesOff)
{
    ASSERT_TRUE(player().doDecoyBomb());
    Vector3D decoy = player().decoyBombPos;
    // The ship flies off a quarter of the way round; an enemy waits between them.
    for (int i = 0; i < 70; i++)
        player().updatePhysics(256, 0, 0);
    Vector3D axis(0, 1, 0), start(std::sin(0.3f), 0, std::cos(0.3f));
    game->enemies.create(0, &start, &axis);
    Enemy& enemy = game->enemies.enemies[0];
    float before = vec_dist(&enemy.live.position, &decoy);
    game->updatePhysics(1.0 / 60);
    EXPECT_LT(vec_dist(&enemy.live.position, &decoy), before);

    // The fuse runs out at four seconds; the blast takes the enemy with it.
    sound_double::reset();
    for (int frame = 0; frame < 16; frame++)
        game->updatePhysics(0.25);
    EXPECT_FALSE(player().decoyBombOut);
    EXPECT_EQ(sound_double::count(SOUND_BOMB), 1);
    EXPECT_TRUE(enemy.remove);
}
#endif

TEST_F(RulesTest, AFrameOfPlayAllocatesNothing)
{
    game->lives = 1000;  // keep the game running through every collision
    controls.nub0X = 120;
    controls.nub0Y = -40;
    controls.nub1X = -60;
    controls.nub1Y = 30;
    sound_double::log().sounds.reserve(100000);  // the recording itself must not count
    long before = alloc_counter::allocations();
    // Half a minute at 60 Hz: waves, enemies, asteroids, shots, bombs and particles come and go.
    for (int frame = 0; frame < 1800; frame++) {
        controls.inputR = frame % 300 == 0;
        controls.inputL = frame % 400 == 0;
        controls.nub0Y = (frame / 120) % 2 ? -40 : 90;
        game->pollInput();
        game->updateGameState(1.0 / 60);
    }
    EXPECT_EQ(alloc_counter::allocations() - before, 0);
    EXPECT_EQ(game->gameMode, MODE_PLAYING);
    EXPECT_GT(game->score + game->enemies.waveCounter, 0);
}
