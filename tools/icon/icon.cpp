// Draws the menu icon: the arena as a glowing wireframe sphere on a dark disc,
// with the ship on its face.
//   icongen <out.png> [classic]
// The classic program's icon glows amber instead of blue, so the two can be
// told apart in a menu. Nothing is random: the same file every time.

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "canvas.h"

namespace {

constexpr int kSize = 128;
constexpr double kCentre = kSize / 2.0;
constexpr double kRadius = 50;
constexpr double kTilt = 0.45;  // radians the sphere leans towards the viewer
constexpr double kPi = 3.14159265358979323846;

struct Palette {
    Colour glow, line, core;
};

// A point of the unit sphere at the given latitude and longitude, tilted and
// projected straight onto the icon; depth > 0 faces the viewer.
Point2 project(double latitude, double longitude, double* depth)
{
    double x = std::cos(latitude) * std::sin(longitude);
    double y = std::sin(latitude);
    double z = std::cos(latitude) * std::cos(longitude);
    double tiltedY = y * std::cos(kTilt) - z * std::sin(kTilt);
    *depth = y * std::sin(kTilt) + z * std::cos(kTilt);
    return {kCentre + kRadius * x, kCentre - kRadius * tiltedY};
}

// One line over the sphere from (lat0, lon0) to (lat1, lon1), in small steps;
// the far side is drawn faint, as through glass.
void drawArc(Mask& mask, double lat0, double lon0, double lat1, double lon1)
{
    const int steps = 96;
    double depth = 0;
    Point2 previous = project(lat0, lon0, &depth);
    for (int i = 1; i <= steps; ++i) {
        double t = double(i) / steps;
        Point2 next = project(lat0 + (lat1 - lat0) * t, lon0 + (lon1 - lon0) * t, &depth);
        drawSegment(mask, previous, next, depth > 0 ? 1.6 : 1.0, depth > 0 ? 1.0f : 0.3f);
        previous = next;
    }
}

Mask sphereLines()
{
    Mask lines(kSize, kSize);
    for (int parallel = -2; parallel <= 2; ++parallel) {
        double latitude = parallel * kPi / 6;
        drawArc(lines, latitude, 0, latitude, 2 * kPi);
    }
    for (int meridian = 0; meridian < 6; ++meridian) {
        double longitude = meridian * kPi / 6;
        drawArc(lines, -kPi / 2, longitude, kPi / 2, longitude);
        drawArc(lines, -kPi / 2, longitude + kPi, kPi / 2, longitude + kPi);
    }
    return lines;
}

// The ship: an arrowhead pointing up and to the right, on the sphere's face.
Mask ship()
{
    const std::vector<Point2> hull = {{0, -13}, {9, 9}, {0, 4}, {-9, 9}};
    const double angle = kPi / 5;
    std::vector<Point2> placed;
    for (const Point2& p : hull)
        placed.push_back({kCentre + 6 + p.x * std::cos(angle) - p.y * std::sin(angle),
                          kCentre + 8 + p.x * std::sin(angle) + p.y * std::cos(angle)});
    Mask body(kSize, kSize);
    fillPaths(body, {placed});
    return body;
}

Mask disc(double radius)
{
    std::vector<Point2> rim;
    for (int i = 0; i < 128; ++i)
        rim.push_back({kCentre + radius * std::cos(2 * kPi * i / 128), kCentre + radius * std::sin(2 * kPi * i / 128)});
    Mask mask(kSize, kSize);
    fillPaths(mask, {rim});
    return mask;
}

Image renderIcon(const Palette& palette)
{
    Mask lines = sphereLines();
    Mask body = ship();
    Image icon(kSize, kSize);
    composite(icon, disc(kRadius + 10), {0.02f, 0.02f, 0.08f}, 0.92f);
    composite(icon, blurred(lines, 4), palette.glow, 1.4f);
    composite(icon, lines, palette.line, 1.0f);
    composite(icon, blurred(body, 3), {0, 0, 0}, 1.5f);
    composite(icon, blurred(body, 2), palette.core, 1.2f);
    composite(icon, body, {1, 1, 1}, 1.0f);
    return icon;
}

}  // namespace

int main(int argc, char** argv)
{
    bool classic = argc == 3 && std::strcmp(argv[2], "classic") == 0;
    if (argc < 2 || argc > 3 || (argc == 3 && !classic)) {
        std::fprintf(stderr, "usage: %s <out.png> [classic]\n", argv[0]);
        return 2;
    }
    const Palette blue = {{0.1f, 0.25f, 1.0f}, {0.5f, 0.9f, 1.0f}, {0.0f, 0.8f, 1.0f}};
    const Palette amber = {{1.0f, 0.35f, 0.05f}, {1.0f, 0.85f, 0.45f}, {1.0f, 0.6f, 0.1f}};
    if (!writePng(argv[1], renderIcon(classic ? amber : blue), {0, 0, 0})) {
        std::fprintf(stderr, "icongen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
