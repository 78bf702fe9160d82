#pragma once

#include <png.h>
#include <zlib.h>

#include <string>
#include <vector>

// PNG files made in memory for the image-loading tests.

// A real, decodable 8-bit grey image of the given size, all black.
inline std::string greyPng(int width, int height)
{
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t length) {
            static_cast<std::string*>(png_get_io_ptr(p))->append((const char*)data, length);
        },
        NULL);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(width, 0);
    for (int y = 0; y < height; y++)
        png_write_row(png, row.data());
    png_write_end(png, NULL);
    png_destroy_write_struct(&png, &info);
    return out;
}

// A 57-byte file that is a valid PNG up to its first (empty) data chunk but
// declares the given size: a decoder that trusts it allocates before reading.
inline std::string pngHeaderDeclaring(uint32_t width, uint32_t height)
{
    auto bigEndian = [](uint32_t v) { return std::string{(char)(v >> 24), (char)(v >> 16), (char)(v >> 8), (char)v}; };
    auto chunk = [&](const char* type, const std::string& data) {
        const std::string body = type + data;
        return bigEndian((uint32_t)data.size()) + body +
               bigEndian((uint32_t)crc32(0, (const Bytef*)body.data(), (uInt)body.size()));
    };
    const std::string header = bigEndian(width) + bigEndian(height) + std::string{8, 6, 0, 0, 0};
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", "") + chunk("IEND", "");
}
