#pragma once

#include <cstdio>
#include <vector>

// No texture the game uses comes near this; a damaged or crafted header could
// otherwise ask for gigabytes before a single row is read.
constexpr int largestImageSide = 2048;

// Decodes an open PNG file to 8-bit samples, top row first. Returns the
// component count, or 0 when the file is not a usable PNG (or wider or taller than
// largestSide).
int decodePng(FILE* file, const char* filename, int largestSide, std::vector<unsigned char>& pixels, int& width,
              int& height);

// Writes 8-bit RGBA pixels, top row first, as an RGB PNG file: false when the
// file cannot be written whole.
bool writePng(const char* path, int width, int height, const unsigned char* rgba);
