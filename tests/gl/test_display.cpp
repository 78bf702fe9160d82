#include <cmath>
#include <cstring>
#include <string>

#include "gl_fixture.h"
#include "x11_window.h"

// After GoogleTest: Xlib defines None as a macro.
#include <X11/Xlib.h>

namespace {

// Draws texture tex over the whole screen, white, in the 2-D pixel mode.
void drawFullScreen(GLuint tex)
{
    static const GLfloat verts[] = {800, 0, -1, 0, 0, -1, 800, 480, -1, 0, 480, -1};
    static const GLfloat coords[] = {1, 0, 0, 0, 1, 1, 0, 1};
    set2dMode();
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glBindTexture(GL_TEXTURE_2D, tex);
    glColor4f(1, 1, 1, 1);
    glTexCoordPointer(2, GL_FLOAT, 0, coords);
    glVertexPointer(3, GL_FLOAT, 0, verts);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

struct PngImage {
    int colourType;
    int bitDepth;
    std::vector<unsigned char> rows;  // 2 x 2 image, packed rows of rowBytes each
    int rowBytes;
    std::vector<png_color> palette;
    std::vector<png_color_16> trnsGrey;
};

std::string writePng(const char* name, const PngImage& image)
{
    std::string path = std::string("/tmp/zyn_gltest_") + std::to_string(getpid()) + name;
    FILE* f = fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, f);
    png_set_IHDR(png, info, 2, 2, image.bitDepth, image.colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!image.palette.empty())
        png_set_PLTE(png, info, image.palette.data(), (int)image.palette.size());
    if (!image.trnsGrey.empty())
        png_set_tRNS(png, info, NULL, 0, (png_color_16p)image.trnsGrey.data());
    png_write_info(png, info);
    for (int y = 0; y < 2; y++)
        png_write_row(png, image.rows.data() + y * image.rowBytes);
    png_write_end(png, NULL);
    png_destroy_write_struct(&png, &info);
    fclose(f);
    return path;
}

// The colour shown for each of the four texels, read at their screen centres.
std::vector<GlTest::Rgba> texels(GLuint tex)
{
    glClearColor(0, 0, 1, 1);  // blue shows through transparent texels
    glClear(GL_COLOR_BUFFER_BIT);
    drawFullScreen(tex);
    const auto frame = GlTest::readFrame();
    return {frame[120 * 800 + 200], frame[120 * 800 + 600], frame[360 * 800 + 200], frame[360 * 800 + 600]};
}

void expectRgb(const GlTest::Rgba& p, int r, int g, int b)
{
    EXPECT_NEAR(p.r, r, 2);
    EXPECT_NEAR(p.g, g, 2);
    EXPECT_NEAR(p.b, b, 2);
}

}  // namespace

TEST_F(GlTest, ModesSetThePixelProjectionAndTheDepthTest)
{
    set2dMode();
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    glClear(GL_COLOR_BUFFER_BIT);
    static const GLfloat quad[] = {32, 0, -1, 0, 0, -1, 32, 32, -1, 0, 32, -1};
    glColor4f(1, 1, 1, 1);
    glVertexPointer(3, GL_FLOAT, 0, quad);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    const auto frame = readFrame();
    EXPECT_EQ(brightness(frame, 0, 0, 32, 32), 32L * 32 * 765);
    EXPECT_EQ(brightness(frame, 32, 0, 800, 480), 0);
    EXPECT_EQ(brightness(frame, 0, 32, 32, 480), 0);

    set3dMode();
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint mode;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(GlTest, TextAdvancesSixteenPixelsPerGlyphOnThirtyTwoPixelQuads)
{
    // A font whose 'A' cell is opaque white and 'B' cell opaque red.
    std::vector<unsigned char> img(256 * 256 * 4, 0);
    auto fillCell = [&](int c, unsigned char r, unsigned char g, unsigned char b) {
        for (int y = 0; y < 16; y++)
            for (int x = 0; x < 16; x++) {
                unsigned char* p = &img[(((c / 16) * 16 + y) * 256 + (c % 16) * 16 + x) * 4];
                p[0] = r, p[1] = g, p[2] = b, p[3] = 255;
            }
    };
    fillCell('A', 255, 255, 255);
    fillCell('B', 255, 0, 0);
    GLuint tex;
    glGenTextures(1, &tex);
    glBindTexture(GL_TEXTURE_2D, tex);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 256, 256, 0, GL_RGBA, GL_UNSIGNED_BYTE, img.data());
    fonttex = tex;

    set2dMode();
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glColor4f(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glPrintf(0, 0, "A");
    glPrintf(100, 100, "%s", "AB");
    glPrintf(0, 200, "%s", "");
    // Longer than the 255-character buffer: glyphs past the cut are not drawn.
    std::string longLine(300, 'A');
    glPrintf(-16 * 250, 300, "%s", longLine.c_str());
    const auto frame = readFrame();

    EXPECT_EQ(brightness(frame, 0, 0, 32, 32), 32L * 32 * 765);
    EXPECT_EQ(brightness(frame, 32, 0, 100, 32), 0);
    // "AB": B overdraws the right half of A.
    expectRgb(pixel(frame, 108, 116), 255, 255, 255);
    expectRgb(pixel(frame, 124, 116), 255, 0, 0);
    expectRgb(pixel(frame, 140, 116), 255, 0, 0);
    EXPECT_EQ(brightness(frame, 148, 100, 200, 132), 0);
    EXPECT_EQ(brightness(frame, 0, 200, 800, 232), 0);
    // Glyph 254 (the last) spans x 64..96; a 256th would reach x 112.
    EXPECT_GT(brightness(frame, 64, 300, 96, 332), 0);
    EXPECT_EQ(brightness(frame, 96, 300, 120, 332), 0);
}

TEST_F(GlTest, LoadImageConvertsEveryPngKind)
{
    PngImage paletted{
        PNG_COLOR_TYPE_PALETTE, 8, {0, 1, 2, 3}, 2, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}}, {}};
    auto t = texels(loadImage(writePng("pal.png", paletted).c_str()));
    expectRgb(t[0], 255, 0, 0);
    expectRgb(t[1], 0, 255, 0);
    expectRgb(t[2], 0, 0, 255);
    expectRgb(t[3], 255, 255, 255);

    // Two bits per sample, rows packed MSB first: values 0, 1 / 2, 3.
    PngImage grey2{PNG_COLOR_TYPE_GRAY, 2, {0x10, 0xB0}, 1, {}, {}};
    t = texels(loadImage(writePng("g2.png", grey2).c_str()));
    expectRgb(t[0], 0, 0, 0);
    expectRgb(t[1], 85, 85, 85);
    expectRgb(t[2], 170, 170, 170);
    expectRgb(t[3], 255, 255, 255);

    // 16-bit RGBA: the high byte of each sample is kept; alpha 0 lets the blue through.
    PngImage rgba16{PNG_COLOR_TYPE_RGB_ALPHA,
                    16,
                    {0xFF, 0xFF, 0, 0, 0,    0,    0xFF, 0xFF, 0,    0,    0x80, 0x00, 0,    0,    0xFF, 0xFF,
                     0,    0,    0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x40, 0x00, 0x40, 0x00, 0x40, 0x00, 0,    0},
                    16,
                    {},
                    {}};
    t = texels(loadImage(writePng("rgba16.png", rgba16).c_str()));
    expectRgb(t[0], 255, 0, 0);
    expectRgb(t[1], 0, 128, 0);
    expectRgb(t[2], 0, 0, 255);
    expectRgb(t[3], 0, 0, 255);

    // Grey with a transparent value: becomes luminance plus alpha.
    png_color_16 clear;
    memset(&clear, 0, sizeof clear);
    clear.gray = 10;
    PngImage greyTrns{PNG_COLOR_TYPE_GRAY, 8, {200, 10, 10, 100}, 2, {}, {clear}};
    t = texels(loadImage(writePng("gt.png", greyTrns).c_str()));
    expectRgb(t[0], 200, 200, 200);
    expectRgb(t[1], 0, 0, 255);
    expectRgb(t[2], 0, 0, 255);
    expectRgb(t[3], 100, 100, 100);
}

TEST_F(GlTest, LoadImageRejectsAFileThatIsNotAPng)
{
    std::string path = std::string("/tmp/zyn_gltest_") + std::to_string(getpid()) + "junk.png";
    FILE* f = fopen(path.c_str(), "wb");
    fputs("GIF89a this is not a png at all", f);
    fclose(f);
    GLuint before;
    glGenTextures(1, &before);
    EXPECT_EQ(loadImage(path.c_str()), 0u);
    GLuint after;
    glGenTextures(1, &after);
    EXPECT_EQ(after, before + 1) << "a texture was left behind";
}

TEST_F(GlTest, SoftwareAccumulationMatchesTheMatrixStack)
{
    float soft[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const float steps[][2] = {{1.2f, -0.4f}, {-0.86f, 0.86f}, {0, 1.22f}, {0.3f, 0}};
    for (int i = 0; i < 50; i++) {
        const float rx = steps[i % 4][0], ry = steps[i % 4][1];
        OpenGLAccumulateMatrix(soft, rx, ry);
        glRotatef(ry, 1, 0, 0);
        glRotatef(rx, 0, 1, 0);
    }
    float hard[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, hard);
    for (int i = 0; i < 16; i++)
        EXPECT_NEAR(soft[i], hard[i], 2e-5f) << i;
}

TEST_F(GlTest, CameraLooksAtTheCentreAndShakesForTwentySteps)
{
    Vector3D pos(0, 0, 1), up(0, 1, 0);
    float m[16];
    glLoadIdentity();
    updateCamera(&pos, &up);
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    // The standard look-at from (0, 0, 4) towards the origin: a plain translation.
    const float expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -4, 1};
    for (int i = 0; i < 16; i++)
        EXPECT_NEAR(m[i], expected[i], 1e-6f) << i;

    addShake(25);
    for (int frame = 1; frame <= 21; frame++) {
        settleShake();
        glLoadIdentity();
        updateCamera(&pos, &up);
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        const bool tilted = fabsf(m[4]) > 1e-4f || fabsf(m[5] - 1) > 1e-4f;
        EXPECT_EQ(tilted, frame <= 20) << "frame " << frame;
    }
    EXPECT_EQ(getShakeAmount(), 0);

    addShake(0.3f);
    settleShake();
    glLoadIdentity();
    updateCamera(&pos, &up);
    EXPECT_EQ(getShakeAmount(), 0);
}

TEST(Display, BareServerWithoutFullScreenAtomsStillOpens)
{
    XvfbServer xvfb;
    ASSERT_TRUE(xvfb.ok());
    Display* probe = XOpenDisplay(NULL);
    ASSERT_NE(probe, nullptr);
    // Nothing has created the window-manager atoms on a fresh server.
    EXPECT_EQ(XInternAtom(probe, "_NET_WM_STATE_FULLSCREEN", True), (Atom)None);

    // The probe stays connected: closing the last client resets the server.
    ASSERT_EQ(chdir(ZYNTHRA_DATA_DIR), 0);
    ASSERT_EQ(initDisplay(), 0);
    XSync(getDisplay(), False);  // a BadAtom would end the process here
    closeGLES();
    EXPECT_EQ(getDisplay(), nullptr);
    XCloseDisplay(probe);
}
