// The shipped images decode the way the game loads them and have the layout
// its text and menu drawing rely on.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "png_support.h"

namespace {

struct Decoded {
    bool ok = false;
    unsigned width = 0, height = 0;
    int components = 0;
    std::vector<unsigned char> pixels;  // top row first

    const unsigned char* at(unsigned x, unsigned y) const { return &pixels[(y * width + x) * components]; }
    unsigned char alpha(unsigned x, unsigned y) const { return at(x, y)[components - 1]; }
};

Decoded decode(const std::string& name)
{
    Decoded image;
    std::string path = std::string(ZYNTHRA_DATA_DIR) + "/" + name;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return image;
    // Decoded by the game's own reader, with the same conversions and limits.
    int width = 0, height = 0;
    image.components = decodePng(file, path.c_str(), largestImageSide, image.pixels, width, height);
    std::fclose(file);
    image.ok = image.components != 0;
    image.width = width;
    image.height = height;
    return image;
}

// Pixels of an image are only on screen and blendable when it is a
// power-of-two texture with an alpha channel.
void expectTextureWithAlpha(const Decoded& image)
{
    ASSERT_TRUE(image.ok);
    EXPECT_EQ(image.width, 512u);
    EXPECT_EQ(image.height, 512u);
    EXPECT_TRUE(image.components == 2 || image.components == 4) << "no alpha channel";
}

const unsigned kCell = 32;

struct Ink {
    int pixels = 0;
    unsigned left = kCell, right = 0, top = kCell, bottom = 0;  // within the cell
};

Ink inkOfCell(const Decoded& font, int code)
{
    Ink ink;
    unsigned x0 = (code % 16) * kCell, y0 = (code / 16) * kCell;
    for (unsigned y = 0; y < kCell; ++y)
        for (unsigned x = 0; x < kCell; ++x)
            if (font.alpha(x0 + x, y0 + y) > 0) {
                ++ink.pixels;
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

}  // namespace

TEST(FontImage, DecodesAsATextureWithAlpha)
{
    expectTextureWithAlpha(decode("font.png"));
}

TEST(FontImage, PrintableGlyphsInTheirCellsAndBlanksElsewhere)
{
    Decoded font = decode("font.png");
    ASSERT_TRUE(font.ok);
    ASSERT_EQ(font.width, 16 * kCell);
    // 'A' is column 1 of row 4 and must be the letter's cell, not a shifted one.
    EXPECT_GT(inkOfCell(font, 'A').pixels, 40);
    for (int code = 0; code < 256; ++code) {
        Ink ink = inkOfCell(font, code);
        if (code > ' ' && code < 127) {
            EXPECT_GT(ink.pixels, 0) << "no glyph for " << code;
        } else {
            // Every string's terminating zero and every space is drawn too.
            EXPECT_EQ(ink.pixels, 0) << "ink in the blank cell " << code;
        }
    }
}

TEST(FontImage, GlyphsFitTheSixteenPixelPitch)
{
    Decoded font = decode("font.png");
    ASSERT_TRUE(font.ok);
    for (int code = '!'; code <= '~'; ++code) {
        Ink ink = inkOfCell(font, code);
        // Neighbouring quads overlap by half a cell: ink outside the middle
        // 16 columns (give or take one) would touch the next character.
        EXPECT_GE(ink.left, 7u) << char(code);
        EXPECT_LE(ink.right, 24u) << char(code);
        // A clear border, so texture filtering never pulls in a neighbour's ink.
        EXPECT_GE(ink.top, 1u) << char(code);
        EXPECT_LE(ink.bottom, kCell - 2) << char(code);
    }
}

TEST(FontImage, GlyphsAreWhiteSoTheTextColourShowsTrue)
{
    Decoded font = decode("font.png");
    ASSERT_TRUE(font.ok);
    for (unsigned y = 0; y < font.height; ++y)
        for (unsigned x = 0; x < font.width; ++x)
            for (int c = 0; c < font.components - 1; ++c)
                ASSERT_EQ(font.at(x, y)[c], 255) << "at " << x << "," << y;
}

TEST(LogoImage, DecodesAsATextureWithAlpha)
{
    expectTextureWithAlpha(decode("zyn.png"));
}

TEST(LogoImage, ArtworkSitsInTheRowsOnScreen)
{
    Decoded logo = decode("zyn.png");
    ASSERT_TRUE(logo.ok);
    ASSERT_EQ(logo.height, 512u);
    // Drawn at y = 100 on a 480-row screen: only rows 0..379 show.
    int visible = 0, hidden = 0;
    for (unsigned y = 0; y < logo.height; ++y)
        for (unsigned x = 0; x < logo.width; ++x)
            if (logo.alpha(x, y) > 128)
                ++(y < 380 ? visible : hidden);
    EXPECT_GT(visible, 5000);
    EXPECT_EQ(hidden, 0);
}

TEST(LogoImage, FadesOutBeforeItsOnScreenEdges)
{
    Decoded logo = decode("zyn.png");
    ASSERT_TRUE(logo.ok);
    // The left and top edges lie inside the screen: any glow reaching them
    // would end in a visible straight seam.
    for (unsigned i = 0; i < 380; ++i) {
        EXPECT_LE(logo.alpha(0, i), 2) << "left edge, row " << i;
        EXPECT_LE(logo.alpha(logo.width - 1, i), 2) << "right edge, row " << i;
    }
    for (unsigned x = 0; x < logo.width; ++x)
        EXPECT_LE(logo.alpha(x, 0), 2) << "top edge, column " << x;
}
