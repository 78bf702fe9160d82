#include "preview.h"

#include <cmath>
#include <string>

#include "Sphere.h"
#include "fontsheet.h"

namespace {

constexpr int kScreenWidth = 800, kScreenHeight = 480;

// A hint of the arena behind the menus: the sphere's edges seen from a
// slight tilt, as thin blue lines with a dark glow.
void drawArenaHint(Image& screen, int top)
{
    Mask lines(kScreenWidth, kScreenHeight);
    const double tilt = 0.35, turn = 0.5, radius = 200;
    auto project = [&](const Vertex3D& v) {
        double x = v.x * std::cos(turn) + v.z * std::sin(turn);
        double z = -v.x * std::sin(turn) + v.z * std::cos(turn);
        double y = v.y * std::cos(tilt) - z * std::sin(tilt);
        return Point2{kScreenWidth / 2 + x * radius, kScreenHeight / 2 - y * radius};
    };
    for (int i = 0; i < icoSphereNumberOfVertices; i += 2)
        drawSegment(lines, project(icoSphereVertexData[i].vertex), project(icoSphereVertexData[i + 1].vertex), 3.0);
    Image layer(kScreenWidth, kScreenHeight);
    composite(layer, blurred(lines, 3), {0, 0, 0.4f}, 0.8f);
    composite(layer, lines, {0, 0, 1}, 0.4f);
    compositeImage(screen, layer, 0, top);
}

void drawSelectionBar(Image& screen, int top, int widthInCells)
{
    Mask bar(widthInCells * 16, 32);
    for (float& v : bar.value)
        v = 1;
    Image layer(bar.width, bar.height);
    composite(layer, bar, {0, 1, 0}, 0.3f);
    compositeImage(screen, layer, 0, top);
}

void drawMainMenu(Image& screen, const Image& font, const Image& logo)
{
    drawArenaHint(screen, 0);
    drawSelectionBar(screen, 0, 9);
    const char* items[] = {"New Game", "Options", "High Scores", "Credits", "Quit"};
    for (int i = 0; i < 5; ++i)
        drawText(screen, font, 0, 32 * i, items[i], {1, 1, 1});
    compositeImage(screen, logo, 288, 100);
}

void drawHudAndOptions(Image& screen, const Image& font, int top)
{
    const Colour white{1, 1, 1};
    drawArenaHint(screen, top);
    drawText(screen, font, 0, top + 0, "Score:0000001234", white);
    drawText(screen, font, 650, top + 0, "Lives:3", white);
    drawText(screen, font, 0, top + 445, "Decoy Bombs:2", white);
    drawText(screen, font, 650, top + 445, "Bombs:3", white);
    drawText(screen, font, 320, top + 156, "Get ready!", white);
    drawText(screen, font, 368, top + 188, "0.75", white);
    const char* options[] = {"Music Volume: 50%", "SFX Volume: 100%", "Movement: ABXY Buttons", "Firing: Right Nub",
                             "Back"};
    for (int i = 0; i < 5; ++i)
        drawText(screen, font, 0, top + 48 + 32 * i, options[i], white);
    drawText(screen, font, 0, top + 300, "The quick brown fox jumps over the lazy dog.", white);
    drawText(screen, font, 0, top + 332, "0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~", white);
    drawText(screen, font, 0, top + 364, "New high score! Enter your name:", {1, 0.8f, 0.2f});
}

}  // namespace

Image renderPreview(const Image& fontSheet, const Image& logo)
{
    Image preview(kScreenWidth, 2 * kScreenHeight);
    drawMainMenu(preview, fontSheet, logo);
    drawHudAndOptions(preview, fontSheet, kScreenHeight);
    // The screens are opaque: black behind everything.
    for (std::size_t i = 3; i < preview.rgba.size(); i += 4)
        preview.rgba[i] = 1;
    return preview;
}
