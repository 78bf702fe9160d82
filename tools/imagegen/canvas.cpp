#include "canvas.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

double distanceToSegment(Point2 p, Point2 a, Point2 b)
{
    double dx = b.x - a.x, dy = b.y - a.y;
    double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

bool insideEvenOdd(const std::vector<std::vector<Point2>>& paths, double x, double y)
{
    bool inside = false;
    for (const auto& path : paths) {
        for (std::size_t i = 0, j = path.size() - 1; i < path.size(); j = i++) {
            const Point2& a = path[i];
            const Point2& b = path[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
                inside = !inside;
        }
    }
    return inside;
}

std::uint8_t toByte(float v)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

// Kept apart so that nothing changed after setjmp needs to survive a libpng error.
bool encode(png_structp png, png_infop info, FILE* file, int width, int height, const std::vector<std::uint8_t>& rgba)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, file);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, &rgba[std::size_t(y) * width * 4]);
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

void drawSegment(Mask& mask, Point2 a, Point2 b, double width, float strength)
{
    double reach = width / 2 + 1;
    int x0 = std::max(0, int(std::floor(std::min(a.x, b.x) - reach)));
    int x1 = std::min(mask.width - 1, int(std::ceil(std::max(a.x, b.x) + reach)));
    int y0 = std::max(0, int(std::floor(std::min(a.y, b.y) - reach)));
    int y1 = std::min(mask.height - 1, int(std::ceil(std::max(a.y, b.y) + reach)));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            double d = distanceToSegment({x + 0.5, y + 0.5}, a, b);
            float cover = float(std::clamp(width / 2 + 0.5 - d, 0.0, 1.0)) * strength;
            mask.at(x, y) = std::max(mask.at(x, y), cover);
        }
}

void drawClosedPath(Mask& mask, const std::vector<Point2>& path, double width, float strength)
{
    for (std::size_t i = 0; i < path.size(); ++i)
        drawSegment(mask, path[i], path[(i + 1) % path.size()], width, strength);
}

void fillPaths(Mask& mask, const std::vector<std::vector<Point2>>& paths)
{
    const int samples = 4;
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) {
            int hits = 0;
            for (int sy = 0; sy < samples; ++sy)
                for (int sx = 0; sx < samples; ++sx)
                    hits += insideEvenOdd(paths, x + (sx + 0.5) / samples, y + (sy + 0.5) / samples);
            if (hits)
                mask.at(x, y) = std::max(mask.at(x, y), float(hits) / (samples * samples));
        }
}

Mask blurred(const Mask& mask, double sigma)
{
    int radius = int(std::ceil(sigma * 3));
    std::vector<float> kernel(2 * radius + 1);
    float sum = 0;
    for (int i = -radius; i <= radius; ++i)
        sum += kernel[i + radius] = float(std::exp(-0.5 * i * i / (sigma * sigma)));
    for (float& k : kernel)
        k /= sum;

    Mask across(mask.width, mask.height), out(mask.width, mask.height);
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) {
            float v = 0;
            for (int i = -radius; i <= radius; ++i)
                if (x + i >= 0 && x + i < mask.width)
                    v += kernel[i + radius] * mask.at(x + i, y);
            across.at(x, y) = v;
        }
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) {
            float v = 0;
            for (int i = -radius; i <= radius; ++i)
                if (y + i >= 0 && y + i < mask.height)
                    v += kernel[i + radius] * across.at(x, y + i);
            out.at(x, y) = v;
        }
    return out;
}

void composite(Image& image, const Mask& mask, Colour colour, float opacity)
{
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            float a = std::min(1.0f, mask.at(x, y) * opacity);
            float* p = image.pixel(x, y);
            p[0] = colour.r * a + p[0] * (1 - a);
            p[1] = colour.g * a + p[1] * (1 - a);
            p[2] = colour.b * a + p[2] * (1 - a);
            p[3] = a + p[3] * (1 - a);
        }
}

void compositeImage(Image& image, const Image& top, int left, int topRow)
{
    for (int y = 0; y < top.height; ++y)
        for (int x = 0; x < top.width; ++x) {
            int tx = left + x, ty = topRow + y;
            if (tx < 0 || ty < 0 || tx >= image.width || ty >= image.height)
                continue;
            const float* s = top.pixel(x, y);
            float* d = image.pixel(tx, ty);
            for (int c = 0; c < 4; ++c)
                d[c] = s[c] + d[c] * (1 - s[3]);
        }
}

bool writePng(const std::string& path, const Image& image, Colour clearColour)
{
    std::vector<std::uint8_t> bytes(std::size_t(image.width) * image.height * 4);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const float* p = image.pixel(x, y);
            std::uint8_t* out = &bytes[(std::size_t(y) * image.width + x) * 4];
            out[3] = toByte(p[3]);
            bool clear = out[3] == 0;
            out[0] = toByte(clear ? clearColour.r : p[0] / p[3]);
            out[1] = toByte(clear ? clearColour.g : p[1] / p[3]);
            out[2] = toByte(clear ? clearColour.b : p[2] / p[3]);
        }

    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = info && encode(png, info, file, image.width, image.height, bytes);
    png_destroy_write_struct(&png, &info);
    ok = (std::fclose(file) == 0) && ok;
    return ok;
}
