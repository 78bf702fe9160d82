#include "png_support.h"

#include <png.h>

static int componentsOf(int colourType)
{
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY:
        return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        return 4;
    default:
        return 0;
    }
}

int decodePng(FILE* file, const char* filename, int largestSide, std::vector<unsigned char>& pixels, int& width,
              int& height)
{
    unsigned char header[8];
    if (fread(header, 1, 8, file) != 8 || png_sig_cmp(header, 0, 8) != 0)
        return 0;
    rewind(file);

    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    if (png == NULL)
        return 0;
    png_infop info = png_create_info_struct(png);
    if (info == NULL) {
        png_destroy_read_struct(&png, NULL, NULL);
        return 0;
    }
    // Only IHDR, PLTE, tRNS, IDAT and IEND matter to the game. libpng would
    // allocate whatever length a text or profile chunk declares before finding
    // the file too short: a few damaged bytes could ask for 2 GB. Skipped
    // chunks are read past in pieces.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, NULL, -1);
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, NULL);
        return 0;
    }

    png_init_io(png, file);
    png_read_info(png, info);
    if (png_get_image_width(png, info) > (png_uint_32)largestSide ||
        png_get_image_height(png, info) > (png_uint_32)largestSide) {
        png_destroy_read_struct(&png, &info, NULL);
        return 0;
    }
    int bitDepth = png_get_bit_depth(png, info);
    int colourType = png_get_color_type(png, info);
    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (bitDepth == 16)
        png_set_strip_16(png);
    else if (bitDepth < 8)
        png_set_packing(png);
    png_read_update_info(png, info);

    width = png_get_image_width(png, info);
    height = png_get_image_height(png, info);
    const int components = componentsOf(png_get_color_type(png, info));
    if (components == 0) {
        png_destroy_read_struct(&png, &info, NULL);
        printf("%s broken?\n", filename);
        return 0;
    }

    const size_t rowBytes = (size_t)width * components;
    pixels.resize(rowBytes * height);
    rows.resize(height);
    for (int i = 0; i < height; i++)
        rows[i] = pixels.data() + i * rowBytes;
    png_read_image(png, rows.data());
    png_read_end(png, NULL);
    png_destroy_read_struct(&png, &info, NULL);
    return components;
}

// Kept apart from writePng so that no local is live across the setjmp.
static bool writeRows(FILE* file, int width, int height, const unsigned char* rgba)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    if (png == NULL)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == NULL || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    // The alpha of a window's pixels means nothing: each fourth byte is left out.
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < height; y++)
        png_write_row(png, (png_bytep)(rgba + (size_t)y * width * 4));
    png_write_end(png, NULL);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool writePng(const char* path, int width, int height, const unsigned char* rgba)
{
    FILE* file = fopen(path, "wb");
    if (file == NULL)
        return false;
    const bool written = writeRows(file, width, height, rgba);
    // A full disk shows only when the file is closed.
    return fclose(file) == 0 && written;
}
