#pragma once

#include <string>
#include <vector>

// Single-channel coverage in 0..1 (more where layers overlap), one float a pixel.
struct Mask {
    int width, height;
    std::vector<float> value;

    Mask(int w, int h) : width(w), height(h), value(std::size_t(w) * h, 0.0f) {}
    float& at(int x, int y) { return value[std::size_t(y) * width + x]; }
    float at(int x, int y) const { return value[std::size_t(y) * width + x]; }
};

struct Colour {
    float r, g, b;
};

struct Point2 {
    double x, y;
};

// Premultiplied RGBA in 0..1, four floats a pixel, row 0 at the top.
struct Image {
    int width, height;
    std::vector<float> rgba;

    Image(int w, int h) : width(w), height(h), rgba(std::size_t(w) * h * 4, 0.0f) {}
    float* pixel(int x, int y) { return &rgba[(std::size_t(y) * width + x) * 4]; }
    const float* pixel(int x, int y) const { return &rgba[(std::size_t(y) * width + x) * 4]; }
};

// An anti-aliased line of the given width, kept where it is brighter than
// what the mask already holds.
void drawSegment(Mask& mask, Point2 a, Point2 b, double width, float strength = 1.0f);
void drawClosedPath(Mask& mask, const std::vector<Point2>& path, double width, float strength = 1.0f);

// Fills the inside of the paths by the even-odd rule, anti-aliased by
// supersampling, so a path inside another cuts a hole.
void fillPaths(Mask& mask, const std::vector<std::vector<Point2>>& paths);

// Gaussian blur; the image edge counts as empty.
Mask blurred(const Mask& mask, double sigma);

// Lays the mask over the image in one colour; opacity scales the coverage.
void composite(Image& image, const Mask& mask, Colour colour, float opacity);

// Lays `top` over `image` at (left, top) with the usual "over" rule.
void compositeImage(Image& image, const Image& top, int left, int topRow);

// Writes 8-bit RGBA; fully transparent pixels are written with the colour
// given, so texture filtering at glyph edges blends towards it.
bool writePng(const std::string& path, const Image& image, Colour clearColour);
