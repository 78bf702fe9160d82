/* seetext [-n] FONT SHOT X Y TEXT: is TEXT drawn at X Y (the game's 800 x 480
 * picture coordinates) in the screenshot SHOT, alone or at the start of a line?
 *
 * The test renders TEXT from the font sheet FONT the way the game's glPrintf
 * lays it out (32 x 32 cells, 16 pixels apart, bilinear sampling, white drawn
 * over with the glyphs' alpha) at the size and place the screenshot shows the
 * picture (5:3, letterboxed in the middle). Where the text is drawn, the pixels
 * its glyphs cover fully are white (text is drawn last, opaque there) and those
 * they leave clear are the scene's: no other line of text, ship, spark or enemy
 * whitens that very shape. Prints what it found, and exits 0 when every
 * character is there (with -n: when under half of the covered pixels are
 * white, the text is not there), 1 otherwise and 2 when a file cannot be read. */
#include <math.h>
#include <png.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define PICTURE_WIDTH 800
#define PICTURE_HEIGHT 480
#define CELL 32    /* a glyph cell of the sheet, drawn at this size */
#define ADVANCE 16 /* from one character to the next */

struct image {
    int width, height;
    int channels;
    unsigned char* pixels;
};

static int load(const char* path, int format, int channels, struct image* out)
{
    png_image png;
    memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path)) {
        fprintf(stderr, "seetext: cannot read %s: %s\n", path, png.message);
        return 0;
    }
    png.format = format;
    out->width = (int)png.width;
    out->height = (int)png.height;
    out->channels = channels;
    out->pixels = malloc(PNG_IMAGE_SIZE(png));
    if (out->pixels == NULL || !png_image_finish_read(&png, NULL, out->pixels, 0, NULL)) {
        fprintf(stderr, "seetext: cannot decode %s: %s\n", path, png.message);
        png_image_free(&png);
        return 0;
    }
    return 1;
}

/* The font's alpha at texel (x, y), clamped to the sheet's edge as the GL does. */
static double texel(const struct image* font, int x, int y)
{
    x = x < 0 ? 0 : x >= font->width ? font->width - 1 : x;
    y = y < 0 ? 0 : y >= font->height ? font->height - 1 : y;
    return font->pixels[(y * font->width + x) * 4 + 3] / 255.0;
}

/* Bilinear alpha at a point of the sheet (texel centres at half units). */
static double sample(const struct image* font, double x, double y)
{
    x -= 0.5;
    y -= 0.5;
    int x0 = (int)floor(x), y0 = (int)floor(y);
    double fx = x - x0, fy = y - y0;
    return (texel(font, x0, y0) * (1 - fx) + texel(font, x0 + 1, y0) * fx) * (1 - fy) +
           (texel(font, x0, y0 + 1) * (1 - fx) + texel(font, x0 + 1, y0 + 1) * fx) * fy;
}

/* How much of the white text covers the point (lx, ly) of the text's own
 * rectangle: each glyph's quad blends over those drawn before it. */
static double coverage(const struct image* font, const char* text, double lx, double ly)
{
    double through = 1;
    for (int i = 0; text[i]; i++) {
        double gx = lx - ADVANCE * i;
        if (gx < 0 || gx >= CELL)
            continue;
        unsigned char c = (unsigned char)text[i];
        through *= 1 - sample(font, (c % 16) * CELL + gx, (c / 16) * CELL + ly);
    }
    return 1 - through;
}

/* Where the game's picture lies in a window of this size: the same 5:3 letterbox. */
struct placement {
    double left, top, scale_x, scale_y;
};

static struct placement place(int width, int height)
{
    int w, h;
    if (width * 3 <= height * 5) {
        w = width;
        h = (int)lround(width * 0.6);
    } else {
        h = height;
        w = (int)lround(height * 5.0 / 3.0);
    }
    int below = (height - h) / 2; /* the GL counts rows from the bottom */
    struct placement p = {(width - w) / 2, height - h - below, (double)w / PICTURE_WIDTH, (double)h / PICTURE_HEIGHT};
    return p;
}

static int white(const struct image* shot, int x, int y)
{
    const unsigned char* p = &shot->pixels[(y * shot->width + x) * 3];
    return p[0] >= 204 && p[1] >= 204 && p[2] >= 204;
}

/* What one character's band of the text (16 pixels of the picture wide) shows:
 * its fully covered pixels, and those its glyphs leave clear. */
struct band {
    int covered, covered_white;
    int clear, clear_white;
};

/* A character is there when its covered pixels are white, and the pixels its
 * glyph leaves clear are not all lit: a glyph with more strokes in its place
 * whitens those too. The scene behind text in play (the white ship, sparks)
 * may light a few. */
static int band_matches(const struct band* b)
{
    return b->covered_white * 10 >= b->covered * 9 && b->clear_white * 2 <= b->covered + 6;
}

int main(int argc, char** argv)
{
    int absent = argc > 1 && strcmp(argv[1], "-n") == 0;
    if (argc != 6 + absent) {
        fprintf(stderr, "usage: seetext [-n] FONT SHOT X Y TEXT\n");
        return 2;
    }
    char** arg = argv + 1 + absent;
    struct image font = {0}, shot = {0};
    if (!load(arg[0], PNG_FORMAT_RGBA, 4, &font) || !load(arg[1], PNG_FORMAT_RGB, 3, &shot)) {
        free(font.pixels);
        free(shot.pixels);
        return 2;
    }
    const double x = atof(arg[2]), y = atof(arg[3]);
    const char* text = arg[4];
    const int length = (int)strlen(text);
    struct band* bands = calloc(length ? length : 1, sizeof *bands);
    if (length == 0 || bands == NULL) {
        free(bands);
        free(font.pixels);
        free(shot.pixels);
        return 2;
    }
    const struct placement p = place(shot.width, shot.height);
    const double right = x + ADVANCE * (double)length + ADVANCE;
    int covered = 0, lit = 0;
    for (int sy = (int)floor(p.top + y * p.scale_y); sy < (int)ceil(p.top + (y + CELL) * p.scale_y); sy++)
        for (int sx = (int)floor(p.left + x * p.scale_x); sx < (int)ceil(p.left + right * p.scale_x); sx++) {
            if (sx < 0 || sy < 0 || sx >= shot.width || sy >= shot.height)
                continue;
            double lx = (sx + 0.5 - p.left) / p.scale_x - x, ly = (sy + 0.5 - p.top) / p.scale_y - y;
            if (lx < 0 || ly < 0 || ly >= CELL)
                continue;
            /* Past the last character the next one may follow: TEXT may begin a line. */
            int beyond = lx >= ADVANCE * length;
            int n = (int)(lx / ADVANCE);
            struct band* b = &bands[n < length ? n : length - 1];
            double c = coverage(&font, text, lx, ly);
            int w = white(&shot, sx, sy);
            if (c >= 0.95) {
                b->covered++;
                b->covered_white += w;
                covered++;
                lit += w;
            } else if (c <= 0.05 && !beyond) {
                b->clear++;
                b->clear_white += w;
            }
        }
    int unlike = -1;
    for (int i = 0; i < length && unlike < 0; i++)
        if (!band_matches(&bands[i]))
            unlike = i;
    printf("\"%s\" at %s,%s: %d of %d glyph pixels white", text, arg[2], arg[3], lit, covered);
    if (unlike >= 0)
        printf("; unlike it from character %d ('%c': %d of %d white, %d white around)", unlike + 1, text[unlike],
               bands[unlike].covered_white, bands[unlike].covered, bands[unlike].clear_white);
    printf("\n");
    /* Freed so that a sanitized run's leak check sees nothing of ours. */
    free(bands);
    free(font.pixels);
    free(shot.pixels);
    if (covered < 20) {
        fprintf(stderr, "seetext: \"%s\" is too small at this size to be told from anything else\n", text);
        return 2;
    }
    int gone = lit * 2 < covered;
    return (absent ? gone : unlike < 0) ? 0 : 1;
}
