#pragma once

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Game.h"
#include "constants.h"
#include "display.h"
#include "gl_support.h"
#include "xvfb.h"

// A real window and GL ES context on a private Xvfb, set up the way the game
// sets it up (the font comes from the data folder).
class GlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(xvfb_.ok()) << "Xvfb did not start";
        ASSERT_EQ(chdir(ZYNTHRA_DATA_DIR), 0);
        ASSERT_EQ(initDisplay(), 0);
        setupGlStuff();
    }
    void TearDown() override { closeGLES(); }

public:
    struct Rgba {
        unsigned char r, g, b, a;
    };

    // The whole screen, top row first.
    static std::vector<Rgba> readFrame()
    {
        const int w = SCREEN_WIDTH, h = SCREEN_HEIGHT;
        std::vector<Rgba> raw(w * h), top(w * h);
        glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, raw.data());
        for (int y = 0; y < h; y++)
            std::copy(raw.begin() + (h - 1 - y) * w, raw.begin() + (h - y) * w, top.begin() + y * w);
        return top;
    }

    static Rgba pixel(const std::vector<Rgba>& frame, int x, int y) { return frame[y * SCREEN_WIDTH + x]; }

    // Sum of r + g + b over a rectangle, to tell ink from background.
    static long brightness(const std::vector<Rgba>& frame, int x0, int y0, int x1, int y1)
    {
        long sum = 0;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++) {
                const Rgba p = pixel(frame, x, y);
                sum += p.r + p.g + p.b;
            }
        return sum;
    }

    // Saves a frame for a person to look at, beside the test program in the
    // build folder and named after it, so test programs and build folders
    // running at the same time never write the same file.
    static void savePng(const std::vector<Rgba>& frame, const std::string& name)
    {
        const std::string path = std::string(GL_TEST_OUTPUT_PREFIX) + name;
        FILE* f = fopen(path.c_str(), "wb");
        if (!f)
            return;
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
        png_infop info = png_create_info_struct(png);
        png_init_io(png, f);
        png_set_IHDR(png, info, SCREEN_WIDTH, SCREEN_HEIGHT, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < SCREEN_HEIGHT; y++)
            png_write_row(png, (png_const_bytep)&frame[y * SCREEN_WIDTH]);
        png_write_end(png, NULL);
        png_destroy_write_struct(&png, &info);
        fclose(f);
    }

private:
    XvfbServer xvfb_;
};

// A new game with its models uploaded, ready to draw; the ship is steady, not
// blinking as it does while it respawns.
class GameGlTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        game = std::make_unique<Game>();
        game->setupVBOs();
        game->newGame();
        game->player.isRezing = false;
    }

    std::vector<Rgba> drawFrame()
    {
        game->draw();
        return readFrame();
    }

    std::unique_ptr<Game> game;
};
