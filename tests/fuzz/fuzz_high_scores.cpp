// Arbitrary bytes as highScores.txt: the table read back always has ten rows,
// printable names and no negative score the file did not write, the file that
// was read is left alone, and what the game writes back reads as the same table.
#include <ctype.h>
#include <errno.h>
#include <stdlib.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "Game.h"
#include "Menus.h"
#include "fuzz_folder.h"

namespace {

Game* game;
Menu* menu;

// True when the text writes this negative number: a minus sign and digits of
// that value ("-03" is -3).
bool writesNegative(const std::string& text, int number)
{
    for (size_t at = text.find('-'); at != std::string::npos; at = text.find('-', at + 1)) {
        if (at + 1 == text.size() || !isdigit((unsigned char)text[at + 1]))
            continue;
        char* end = nullptr;
        errno = 0;
        if (strtoll(text.c_str() + at, &end, 10) == number && errno == 0)
            return true;
    }
    return false;
}

void checkTable(const std::string& file)
{
    FUZZ_CHECK(menu->highScores_scores.size() == 10);
    FUZZ_CHECK(menu->highScores_names.size() == 10);
    FUZZ_CHECK(menu->highScores_displayNames.size() == 10);
    for (int i = 0; i < 10; i++) {
        for (unsigned char c : menu->highScores_names[i])
            FUZZ_CHECK(!iscntrl(c) && c != ' ');
        FUZZ_CHECK(menu->highScores_names[i].size() <= 255);
        const int score = menu->highScores_scores[i];
        FUZZ_CHECK(score >= 0 || writesNegative(file, score));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    enterPrivateFolder();
    game = new Game();
    menu = new Menu();  // writes the default table: no file yet
    menu->setGame(game);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    writeBytes("highScores.txt", data, size);
    menu->readHighScores();
    checkTable(input);
    FUZZ_CHECK(readBytes("highScores.txt") == input);

    const std::vector<std::string> names = menu->highScores_names;
    const std::vector<int> scores = menu->highScores_scores;
    menu->writeHighScores();
    const std::string written = readBytes("highScores.txt");
    menu->readHighScores();
    FUZZ_CHECK(menu->highScores_names == names);
    FUZZ_CHECK(menu->highScores_scores == scores);
    menu->writeHighScores();
    FUZZ_CHECK(readBytes("highScores.txt") == written);

    // The program closed during name entry: the new row is merged into the
    // file as it is now, and the table read back is the one on the screen.
    if (std::any_of(scores.begin(), scores.end(), [](int score) { return score < INT_MAX; })) {
        menu->addHighScore(INT_MAX);
        menu->saveBeforeQuit();
        const std::vector<std::string> shownNames = menu->highScores_names;
        const std::vector<int> shownScores = menu->highScores_scores;
        FUZZ_CHECK(std::find(shownNames.begin(), shownNames.end(), "player") != shownNames.end());
        menu->readHighScores();
        FUZZ_CHECK(menu->highScores_names == shownNames);
        FUZZ_CHECK(menu->highScores_scores == shownScores);
    }
    return 0;
}
