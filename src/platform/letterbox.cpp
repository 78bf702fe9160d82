#include <GLES/gl.h>

#include <algorithm>
#include <cmath>

#include "constants.h"
#include "display.h"

// The picture's geometry is the same for every backend.

int windowScale(int screenWidth, int screenHeight)
{
    const int scale = std::min(screenWidth / SCREEN_WIDTH, screenHeight / SCREEN_HEIGHT);
    return scale < 1 ? 1 : scale;
}

Viewport letterbox(int width, int height)
{
    // Whichever side is short for 5:3 sets the scale; the other gets the bars.
    Viewport v;
    if (width * 3 <= height * 5) {
        v.width = width;
        v.height = (int)lround(width * 0.6);
    } else {
        v.height = height;
        v.width = (int)lround(height * 5.0 / 3.0);
    }
    v.x = (width - v.width) / 2;
    v.y = (height - v.height) / 2;
    return v;
}

void clearBars(const Viewport& picture, int windowWidth, int windowHeight)
{
    if (picture.width == windowWidth && picture.height == windowHeight)
        return;
    glEnable(GL_SCISSOR_TEST);
    if (picture.x > 0) {
        glScissor(0, 0, picture.x, windowHeight);
        glClear(GL_COLOR_BUFFER_BIT);
        glScissor(picture.x + picture.width, 0, windowWidth - picture.x - picture.width, windowHeight);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    if (picture.y > 0) {
        glScissor(0, 0, windowWidth, picture.y);
        glClear(GL_COLOR_BUFFER_BIT);
        glScissor(0, picture.y + picture.height, windowWidth, windowHeight - picture.y - picture.height);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glDisable(GL_SCISSOR_TEST);
}
