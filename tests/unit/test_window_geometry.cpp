#include <gtest/gtest.h>

#include "display.h"

TEST(WindowGeometry, TheWindowOpensAtTheLargestWholeMultipleThatFits)
{
    EXPECT_EQ(windowScale(800, 480), 1);    // the handheld
    EXPECT_EQ(windowScale(1920, 1080), 2);  // 1600 x 960
    EXPECT_EQ(windowScale(2560, 1440), 3);  // 2400 x 1440, exactly the height
    EXPECT_EQ(windowScale(3840, 1200), 2);  // the height decides
    EXPECT_EQ(windowScale(1599, 2000), 1);  // the width decides
    EXPECT_EQ(windowScale(640, 400), 1);    // never below 1x
}

TEST(WindowGeometry, ThePictureKeepsItsShapeCentredBetweenBlackBars)
{
    struct Case {
        int width, height;
        Viewport expected;
    };
    const Case cases[] = {
        {800, 480, {0, 0, 800, 480}},       // the handheld: the whole window
        {1600, 960, {0, 0, 1600, 960}},     // a whole multiple: no bars
        {1920, 1080, {60, 0, 1800, 1080}},  // wider: bars left and right
        {1000, 900, {0, 150, 1000, 600}},   // taller: bars above and below
        {1500, 500, {333, 0, 833, 500}},    // odd spare width: the extra pixel right
        {400, 240, {0, 0, 400, 240}},       // smaller than the handheld's screen
        {1001, 2000, {0, 699, 1001, 601}},  // rounded to the nearer pixel
        // Common desktop sizes, below the handheld's screen too.
        {640, 480, {0, 48, 640, 384}},
        {720, 720, {0, 144, 720, 432}},
        {1024, 768, {0, 77, 1024, 614}},
        {1280, 720, {40, 0, 1200, 720}},
        {1280, 800, {0, 16, 1280, 768}},
    };
    for (const Case& c : cases) {
        const Viewport v = letterbox(c.width, c.height);
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        EXPECT_EQ(v.x, c.expected.x);
        EXPECT_EQ(v.y, c.expected.y);
        EXPECT_EQ(v.width, c.expected.width);
        EXPECT_EQ(v.height, c.expected.height);
    }
}
