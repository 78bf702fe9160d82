// Writes the game's images:
//   imagegen <font.png> <zyn.png> [<preview.png>]
// The font sheet comes from DejaVu Sans Mono Bold (Debian package
// fonts-dejavu-core); the logo is drawn from fixed geometry. Nothing is
// random, so running it again gives byte-identical files. The optional
// preview shows both as the game draws them; it is not game data.

#include <cstdio>

#include "canvas.h"
#include "fontsheet.h"
#include "logo.h"
#include "preview.h"

namespace {

const char* const kFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";

bool save(const char* path, const Image& image, Colour clearColour)
{
    if (writePng(path, image, clearColour))
        return true;
    std::fprintf(stderr, "imagegen: cannot write %s\n", path);
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s <font.png> <zyn.png> [<preview.png>]\n", argv[0]);
        return 2;
    }
    Image font(0, 0);
    if (!renderFontSheet(kFontPath, font))
        return 1;
    Image logo = renderLogo();
    // White under the clear pixels, so filtered glyph edges never darken.
    bool ok = save(argv[1], font, {1, 1, 1});
    ok = save(argv[2], logo, {0, 0, 0}) && ok;
    if (argc == 4)
        ok = save(argv[3], renderPreview(font, logo), {0, 0, 0}) && ok;
    return ok ? 0 : 1;
}
