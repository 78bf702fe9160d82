// The handheld's picture must not change by a single pixel: on a screen of
// exactly 800 x 480 the title screen and a scripted game frame are grabbed from
// the screen and compared with the images the earlier build drew.
//
// Set ZYNTHRA_RECORD_HANDHELD=<folder> to write the grabs there instead (only
// when the picture is meant to change).
#include <filesystem>
#include <fstream>

#include "Menus.h"
#include "controller_support.h"
#include "gl_fixture.h"
#include "sound_double.h"
#include "temp_folder.h"
#include "x11_window.h"

// After GoogleTest: Xlib defines None as a macro.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

struct Rgb {
    unsigned char r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

using Picture = std::vector<Rgb>;

// What the X server shows on the whole 800 x 480 screen.
Picture grabScreen()
{
    Display* display = getDisplay();
    XSync(display, False);
    XImage* image = XGetImage(display, DefaultRootWindow(display), 0, 0, 800, 480, AllPlanes, ZPixmap);
    Picture picture;
    if (image == nullptr)
        return picture;
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 800; x++) {
            const unsigned long p = XGetPixel(image, x, y);
            picture.push_back({(unsigned char)((p & image->red_mask) >> 16),
                               (unsigned char)((p & image->green_mask) >> 8), (unsigned char)(p & image->blue_mask)});
        }
    XDestroyImage(image);
    return picture;
}

void writePicture(const Picture& picture, const std::string& path)
{
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, f);
    png_set_IHDR(png, info, 800, 480, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < 480; y++)
        png_write_row(png, (png_const_bytep)&picture[y * 800]);
    png_write_end(png, NULL);
    png_destroy_write_struct(&png, &info);
    fclose(f);
}

Picture readPicture(const std::string& path)
{
    Picture picture;
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return picture;
    image.format = PNG_FORMAT_RGB;
    if (image.width == 800 && image.height == 480) {
        picture.resize(800 * 480);
        if (!png_image_finish_read(&image, NULL, picture.data(), 0, NULL))
            picture.clear();
    }
    png_image_free(&image);
    return picture;
}

// Compares a grab with the recorded one, or records it.
void checkAgainstRecord(const Picture& grabbed, const std::string& name)
{
    ASSERT_EQ(grabbed.size(), 800u * 480u) << "the screen could not be grabbed";
    if (const char* folder = getenv("ZYNTHRA_RECORD_HANDHELD")) {
        writePicture(grabbed, std::string(folder) + "/" + name);
        return;
    }
    const Picture recorded = readPicture(std::string(ZYNTHRA_HANDHELD_DIR) + "/" + name);
    ASSERT_EQ(recorded.size(), grabbed.size()) << "no usable record " << name;
    int differing = 0, first = -1;
    for (size_t i = 0; i < grabbed.size(); i++)
        if (!(grabbed[i] == recorded[i])) {
            if (first < 0)
                first = (int)i;
            differing++;
        }
    if (differing > 0) {
        const std::string saved = "/tmp/zynthra_handheld_" + name;
        writePicture(grabbed, saved);
        ADD_FAILURE() << name << ": " << differing << " pixels differ, the first at (" << first % 800 << ", "
                      << first / 800 << "); this run's picture is " << saved;
    }
}

// The game and its menus in a folder of their own (the menu writes its files
// where it runs), on the fixture's 800 x 480 screen.
class HandheldPictureTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        ASSERT_TRUE(temp.ok());
        folder = temp.path();
        std::filesystem::copy_file(std::string(ZYNTHRA_DATA_DIR) + "/zyn.png", folder + "/zyn.png");
        ASSERT_EQ(chdir(folder.c_str()), 0);
        sound_double::reset();
        srand(2026);
        game = std::make_unique<Game>();
        menu = std::make_unique<Menu>();
        game->setupVBOs();
        game->setupControls(&controls);
        menu->setupControls(&controls);
        menu->setGame(game.get());
        menu->setKeyboard(keys);
        game->setMenu(menu.get());
        menu->loadMainMenu();
    }
    TempFolder temp{"zynthra_handheld_"};
    std::string folder;
    Controller controls = {};
    int keys[256] = {};
    std::unique_ptr<Game> game;
    std::unique_ptr<Menu> menu;
};

}  // namespace

TEST_F(HandheldPictureTest, TitleScreenAndAScriptedGameFrameAreUnchanged)
{
    // Half a second of the title screen at an even 60 frames a second.
    for (int frame = 0; frame < 30; frame++) {
        menu->stepTitleScene(1.0 / 60);
        stepArenaMotion();
        menu->drawMenu();
    }
    checkAgainstRecord(grabScreen(), "title.png");

    // Two seconds of play: steering with the left nub, firing up and to the
    // right with the right nub, a bomb after one second.
    game->newGame();
    controls.nub0X = 180;
    controls.nub0Y = -60;
    controls.nub1X = 120;
    controls.nub1Y = -200;
    for (int frame = 0; frame < 120; frame++) {
        controls.inputR = frame == 60;
        game->pollStart(1.0 / 60);
        game->pollInput();
        game->updateGameState(1.0 / 60);
        stepArenaMotion();
        game->draw();
    }
    checkAgainstRecord(grabScreen(), "game.png");
}
