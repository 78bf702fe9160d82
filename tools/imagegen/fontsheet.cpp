#include "fontsheet.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>

namespace {

// Pixel size of the face: capitals about 18 pixels tall and the widest
// glyphs just inside the 16-pixel pitch, so neighbours never touch.
constexpr int kPixelSize = 25;
// Baseline row within a cell: room for capitals above and descenders below.
constexpr int kBaseline = 24;

// Copies one rendered glyph into its cell, centring its advance box on the
// cell's middle; whatever would spill out of the cell is cut, with a warning.
void placeGlyph(Image& sheet, const FT_GlyphSlot glyph, int code)
{
    int cellX = (code % 16) * kCellSize;
    int cellY = (code / 16) * kCellSize;
    int left = cellX + kCellSize / 2 - int(glyph->advance.x >> 6) / 2 + glyph->bitmap_left;
    int top = cellY + kBaseline - glyph->bitmap_top;
    const FT_Bitmap& bitmap = glyph->bitmap;
    bool cut = false;
    for (unsigned row = 0; row < bitmap.rows; ++row)
        for (unsigned column = 0; column < bitmap.width; ++column) {
            unsigned char cover = bitmap.buffer[row * bitmap.pitch + column];
            if (!cover)
                continue;
            int x = left + int(column), y = top + int(row);
            // One clear pixel round every cell keeps texture filtering from
            // pulling a neighbour's ink in.
            if (x <= cellX || x >= cellX + kCellSize - 1 || y <= cellY || y >= cellY + kCellSize - 1) {
                cut = true;
                continue;
            }
            float a = cover / 255.0f;
            float* p = sheet.pixel(x, y);
            p[0] = p[1] = p[2] = p[3] = a;
        }
    if (cut)
        std::fprintf(stderr, "imagegen: glyph %d does not fit its cell\n", code);
}

}  // namespace

bool renderFontSheet(const std::string& fontPath, Image& sheet)
{
    FT_Library library;
    if (FT_Init_FreeType(&library)) {
        std::fprintf(stderr, "imagegen: cannot start FreeType\n");
        return false;
    }
    FT_Face face = nullptr;
    bool ok = FT_New_Face(library, fontPath.c_str(), 0, &face) == 0;
    if (!ok)
        std::fprintf(stderr, "imagegen: cannot open font %s\n", fontPath.c_str());
    if (ok && FT_Set_Pixel_Sizes(face, 0, kPixelSize) != 0) {
        std::fprintf(stderr, "imagegen: font %s has no size %d\n", fontPath.c_str(), kPixelSize);
        ok = false;
    }
    sheet = Image(16 * kCellSize, 16 * kCellSize);
    for (int code = '!'; ok && code <= '~'; ++code) {
        if (FT_Load_Char(face, code, FT_LOAD_RENDER) != 0) {
            std::fprintf(stderr, "imagegen: font %s has no glyph %d\n", fontPath.c_str(), code);
            ok = false;
        } else {
            placeGlyph(sheet, face->glyph, code);
        }
    }
    if (face)
        FT_Done_Face(face);
    FT_Done_FreeType(library);
    return ok;
}

void drawText(Image& target, const Image& sheet, int x, int y, const std::string& text, Colour colour)
{
    Image quad(kCellSize, kCellSize);
    for (unsigned char c : text) {
        int cellX = (c % 16) * kCellSize, cellY = (c / 16) * kCellSize;
        for (int row = 0; row < kCellSize; ++row)
            for (int column = 0; column < kCellSize; ++column) {
                const float* s = sheet.pixel(cellX + column, cellY + row);
                float* d = quad.pixel(column, row);
                d[0] = s[0] * colour.r;
                d[1] = s[1] * colour.g;
                d[2] = s[2] * colour.b;
                d[3] = s[3];
            }
        compositeImage(target, quad, x, y);
        x += kAdvance;
    }
}
