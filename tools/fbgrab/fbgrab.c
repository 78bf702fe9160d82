/* fbgrab FILE.png: saves the whole screen of $DISPLAY as an RGB PNG.
 *
 * The game takes its screenshots by running this command; on an X11 desktop the
 * screen is the root window. The image is written beside FILE and renamed into
 * place, so a failed grab never leaves a broken picture under the wanted name. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* One colour channel of a TrueColor pixel. */
struct channel {
    unsigned long mask;
    int shift;
    int bits;
};

static struct channel channel_of(unsigned long mask)
{
    struct channel c = {mask, 0, 0};
    while (mask && !(mask & 1)) {
        mask >>= 1;
        c.shift++;
    }
    while (mask & 1) {
        mask >>= 1;
        c.bits++;
    }
    return c;
}

static png_byte eight_bits(unsigned long pixel, const struct channel* c)
{
    unsigned long v = (pixel & c->mask) >> c->shift;
    if (c->bits >= 8)
        return (png_byte)(v >> (c->bits - 8));
    return (png_byte)(v * 255 / ((1ul << c->bits) - 1));
}

/* Fills rgb (3 bytes per pixel, row by row) from the image; 0 for visuals without
 * fixed colour channels. */
static int to_rgb(XImage* image, const Visual* visual, png_byte* rgb)
{
    if (visual->class != TrueColor && visual->class != DirectColor)
        return 0;
    struct channel r = channel_of(visual->red_mask), g = channel_of(visual->green_mask),
                   b = channel_of(visual->blue_mask);
    if (!r.bits || !g.bits || !b.bits)
        return 0;
    for (int y = 0; y < image->height; y++)
        for (int x = 0; x < image->width; x++) {
            unsigned long pixel = XGetPixel(image, x, y);
            *rgb++ = eight_bits(pixel, &r);
            *rgb++ = eight_bits(pixel, &g);
            *rgb++ = eight_bits(pixel, &b);
        }
    return 1;
}

static int write_png(const char* path, const png_byte* rgb, int width, int height)
{
    FILE* f = fopen(path, "wb");
    if (f == NULL)
        return 0;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png ? png_create_info_struct(png) : NULL;
    volatile int ok = 0; /* read again after libpng's error jump */
    if (info != NULL && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, f);
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < height; y++)
            png_write_row(png, rgb + (size_t)y * width * 3);
        png_write_end(png, NULL);
        ok = 1;
    }
    png_destroy_write_struct(&png, &info);
    return fclose(f) == 0 && ok;
}

static int grab(Display* display, const char* path)
{
    Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, root, &attributes))
        return 0;
    XImage* image = XGetImage(display, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (image == NULL)
        return 0;
    png_byte* rgb = malloc((size_t)image->width * image->height * 3);
    char* partial = malloc(strlen(path) + sizeof ".part");
    int ok = 0;
    if (rgb && partial && to_rgb(image, attributes.visual, rgb)) {
        sprintf(partial, "%s.part", path);
        ok = write_png(partial, rgb, image->width, image->height) && rename(partial, path) == 0;
        if (!ok)
            remove(partial);
    }
    free(partial);
    free(rgb);
    XDestroyImage(image);
    return ok;
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: fbgrab FILE.png\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "fbgrab: cannot open display \"%s\"\n", XDisplayName(NULL));
        return 1;
    }
    int ok = grab(display, argv[1]);
    XCloseDisplay(display);
    if (!ok) {
        fprintf(stderr, "fbgrab: could not save the screen as %s\n", argv[1]);
        return 1;
    }
    return 0;
}
