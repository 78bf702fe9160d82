#include "logo.h"

#include <algorithm>
#include <vector>

namespace {

using Path = std::vector<Point2>;
using Glyph = std::vector<Path>;

// Letter box and stroke, in pixels.
constexpr double W = 52, H = 92, T = 14;
constexpr double kChamfer = 14, kInnerChamfer = 6;
constexpr double kGap = 10;
constexpr double kTop = 72;
constexpr double kSlant = 0.16;  // forward lean: horizontal shift per pixel of height

Glyph letterZ()
{
    const double d = 18;  // across the diagonal, so it looks as thick as the bars
    return {{{0, 0}, {W, 0}, {W, T}, {d, H - T}, {W, H - T}, {W, H}, {0, H}, {0, H - T}, {W - d, T}, {0, T}}};
}

Glyph letterY()
{
    const double arm = 16, join = 50;
    return {{{0, 0},
             {arm, 0},
             {W / 2, join * (W / 2 - arm) / (W / 2 - T / 2)},
             {W - arm, 0},
             {W, 0},
             {W / 2 + T / 2, join},
             {W / 2 + T / 2, H},
             {W / 2 - T / 2, H},
             {W / 2 - T / 2, join}}};
}

Glyph letterN()
{
    const double k = 35;  // vertical extent of the diagonal's cut
    return {{{0, 0}, {T, 0}, {W - T, H - k}, {W - T, 0}, {W, 0}, {W, H}, {W - T, H}, {T, k}, {T, H}, {0, H}}};
}

Glyph letterT()
{
    return {{{0, 0},
             {W, 0},
             {W, T},
             {W / 2 + T / 2, T},
             {W / 2 + T / 2, H},
             {W / 2 - T / 2, H},
             {W / 2 - T / 2, T},
             {0, T}}};
}

Glyph letterH()
{
    const double bar = H / 2 - T / 2;
    return {{{0, 0},
             {T, 0},
             {T, bar},
             {W - T, bar},
             {W - T, 0},
             {W, 0},
             {W, H},
             {W - T, H},
             {W - T, bar + T},
             {T, bar + T},
             {T, H},
             {0, H}}};
}

Glyph letterR()
{
    const double bowl = 52, leg = 15, c = kChamfer, i = kInnerChamfer;
    return {{{0, 0},
             {W - c, 0},
             {W, c},
             {W, bowl - c},
             {W - c, bowl},
             {W, H},
             {W - leg, H},
             {W - c - leg, bowl},
             {T, bowl},
             {T, H},
             {0, H}},
            {{T, T}, {W - T - i, T}, {W - T, T + i}, {W - T, bowl - T - i}, {W - T - i, bowl - T}, {T, bowl - T}}};
}

Glyph letterA()
{
    const double bar = H / 2, c = kChamfer, i = kInnerChamfer;
    return {{{0, c}, {c, 0}, {W - c, 0}, {W, c}, {W, H}, {W - T, H}, {W - T, bar + T}, {T, bar + T}, {T, H}, {0, H}},
            {{T, T + i}, {T + i, T}, {W - T - i, T}, {W - T, T + i}, {W - T, bar}, {T, bar}}};
}

// The word's outlines, placed and centred in the image.
std::vector<Path> wordOutlines(int imageWidth)
{
    const Glyph letters[] = {letterZ(), letterY(), letterN(), letterT(), letterH(), letterR(), letterA()};
    const int count = sizeof letters / sizeof letters[0];
    double left = (imageWidth - (count * W + (count - 1) * kGap + H * kSlant)) / 2;
    std::vector<Path> outlines;
    for (const Glyph& glyph : letters) {
        for (Path path : glyph) {
            for (Point2& p : path)
                p = {p.x + left + (H - p.y) * kSlant, p.y + kTop};
            outlines.push_back(path);
        }
        left += W + kGap;
    }
    return outlines;
}

// The back face of the extruded letters: pulled a little towards a point
// high above the word's middle, as if seen from slightly below.
std::vector<Path> backFaces(const std::vector<Path>& front, Point2 vanishing, double depth)
{
    std::vector<Path> back = front;
    for (Path& path : back)
        for (Point2& p : path)
            p = {p.x + (vanishing.x - p.x) * depth, p.y + (vanishing.y - p.y) * depth};
    return back;
}

// Scales each row of the mask: brighter at the letters' tops, like glass lit
// from above.
Mask shadedDownwards(const Mask& mask, double top, double height, float bright, float dim)
{
    Mask out = mask;
    for (int y = 0; y < out.height; ++y) {
        double t = std::clamp((y - top) / height, 0.0, 1.0);
        float scale = float(bright + (dim - bright) * t);
        for (int x = 0; x < out.width; ++x)
            out.at(x, y) *= scale;
    }
    return out;
}

// What of `lines` the solid front faces do not cover.
Mask hiddenBehind(const Mask& lines, const Mask& body)
{
    Mask out = lines;
    for (std::size_t i = 0; i < out.value.size(); ++i)
        out.value[i] *= 1.0f - body.value[i];
    return out;
}

// A thin rule under the word, brightest in the middle and fading out well
// inside the image, so its glow never meets an edge.
Mask underline(int size, double y, double halfLength)
{
    Mask rule(size, size);
    const int pieces = 64;
    for (int i = 0; i < pieces; ++i) {
        double a = -1 + 2.0 * i / pieces, b = -1 + 2.0 * (i + 1) / pieces;
        double mid = (a + b) / 2;
        float strength = float(1 - mid * mid);
        drawSegment(rule, {size / 2 + a * halfLength, y}, {size / 2 + b * halfLength, y}, 1.4, strength * strength);
    }
    return rule;
}

}  // namespace

Image renderLogo()
{
    const int size = 512;
    std::vector<Path> front = wordOutlines(size);
    std::vector<Path> back = backFaces(front, {size / 2.0, -300.0}, 0.06);

    Mask body(size, size);
    fillPaths(body, front);
    Mask frontLines(size, size), backLines(size, size);
    for (const Path& path : front)
        drawClosedPath(frontLines, path, 1.6);
    for (std::size_t i = 0; i < back.size(); ++i) {
        drawClosedPath(backLines, back[i], 1.2);
        for (std::size_t j = 0; j < back[i].size(); ++j)
            drawSegment(backLines, front[i][j], back[i][j], 1.2);
    }
    backLines = hiddenBehind(backLines, body);
    Mask rule = underline(size, kTop + H + 26, 200);

    Image logo(size, size);
    // A dark halo keeps the letters readable over the bright arena behind.
    composite(logo, blurred(body, 12), {0, 0, 0}, 2.2f);
    composite(logo, blurred(frontLines, 16), {0.1f, 0.25f, 1.0f}, 1.6f);
    composite(logo, blurred(rule, 8), {0.1f, 0.25f, 1.0f}, 1.5f);
    composite(logo, blurred(backLines, 2.5), {0.15f, 0.4f, 1.0f}, 0.8f);
    composite(logo, backLines, {0.35f, 0.6f, 1.0f}, 0.75f);
    composite(logo, shadedDownwards(body, kTop, H, 0.75f, 0.3f), {0.05f, 0.18f, 0.45f}, 1.0f);
    composite(logo, blurred(frontLines, 5), {0.0f, 0.8f, 1.0f}, 1.8f);
    composite(logo, blurred(rule, 3), {0.0f, 0.8f, 1.0f}, 1.5f);
    composite(logo, frontLines, {0.85f, 1.0f, 1.0f}, 1.0f);
    composite(logo, rule, {0.85f, 1.0f, 1.0f}, 1.0f);
    return logo;
}
