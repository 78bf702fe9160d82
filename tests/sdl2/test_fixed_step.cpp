#include <gtest/gtest.h>

#include <vector>

#include "fixed_step.h"

namespace {

// The steps each of a run of equal frames runs.
std::vector<int> stepsOfFrames(FixedStep& clock, long long frameTicks, int frames)
{
    std::vector<int> steps;
    for (int i = 0; i < frames; i++)
        steps.push_back(clock.advance(frameTicks));
    return steps;
}

int total(const std::vector<int>& steps)
{
    int sum = 0;
    for (int s : steps)
        sum += s;
    return sum;
}

}  // namespace

TEST(FixedStep, TimeLeftOverCarriesToTheNextFrame)
{
    FixedStep clock(10, 4);
    EXPECT_EQ(clock.advance(10), 1);
    EXPECT_EQ(clock.advance(5), 0);
    EXPECT_EQ(clock.ticksToNextStep(), 5);
    EXPECT_EQ(clock.advance(5), 1);
    EXPECT_EQ(clock.advance(25), 2);
    EXPECT_EQ(clock.advance(5), 1) << "the half step left over came due";
    // A clock reading that goes back owes nothing, and takes nothing back.
    EXPECT_EQ(clock.advance(-30), 0);
    EXPECT_EQ(clock.advance(10), 1);
}

TEST(FixedStep, AStallRunsAtMostTheCapAndDropsTheRest)
{
    FixedStep clock(10, 4);
    EXPECT_EQ(clock.advance(1000), 4);
    // The next ordinary frame is ordinary again: nothing of the stall is owed.
    EXPECT_EQ(clock.advance(10), 1);
    EXPECT_EQ(clock.advance(39), 3);
    // Exactly the cap is no stall: the part step left over stays owed.
    EXPECT_EQ(clock.advance(36), 4);
    EXPECT_EQ(clock.ticksToNextStep(), 5);
}

// A held clock counts 1/(60 rate) s: a frame is 60 ticks, a step `rate` ticks.
// Every rate runs exactly 60 steps in a second of frames.
TEST(FixedStep, HeldDisplaysOfEveryRateRunSixtyStepsASecond)
{
    for (int rate : {30, 60, 144, 50, 75}) {
        SCOPED_TRACE(rate);
        FixedStep clock(rate, 4);
        const std::vector<int> steps = stepsOfFrames(clock, 60, rate * 3);
        EXPECT_EQ(total(steps), 180);
        for (int s : steps) {
            EXPECT_GE(s, rate > 60 ? 0 : 60 / rate);
            EXPECT_LE(s, (60 + rate - 1) / rate);
        }
    }
    // Below 15 Hz a frame calls for more steps than the cap: the game slows.
    FixedStep slow(10, 4);
    EXPECT_EQ(total(stepsOfFrames(slow, 60, 10)), 40);
}

TEST(FixedStep, PostponedStepsFallDueInTheNextFrame)
{
    FixedStep clock(10, 4);
    ASSERT_EQ(clock.advance(30), 3);
    // The frame ran one of its three steps and drew for a screenshot.
    clock.postpone(2);
    EXPECT_EQ(clock.ticksToNextStep(), -10) << "two steps are already due";
    EXPECT_EQ(clock.advance(10), 3) << "the two postponed and the frame's own";
    EXPECT_EQ(clock.advance(10), 1);
}
