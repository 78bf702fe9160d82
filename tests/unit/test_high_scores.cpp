#include <vector>

#include "menu_test_support.h"

using HighScores = MenuTest;

namespace {
const char* const defaultFile =
    "kovar\t935808\nmirel\t500000\nquil\t250000\ntalva\t125000\nruka\t100000\n"
    "brenn\t75000\nhallem\t50000\nveska\t25000\nondri\t12500\npelio\t10000\n";

const char* const unreadableLines =
    "Unable to open high scores file!\nhighScores.txt cannot be read: scores will not be saved\n";

std::string rows(int count, int firstScore)
{
    std::string text;
    for (int i = 0; i < count; i++)
        text += "p" + std::to_string(i) + "\t" + std::to_string(firstScore - i) + "\n";
    return text;
}
}  // namespace

TEST_F(HighScores, FirstStartWritesTheDefaultTable)
{
    EXPECT_EQ(makeMenuCapturingOutput(), "Unable to open high scores file!\n");
    EXPECT_EQ(readFile("highScores.txt"), defaultFile);
    EXPECT_EQ(menu->highScores_displayNames[0], "kovar" + std::string(34, '.'));
    EXPECT_EQ(menu->highScores_scores[9], 10000);

    // The next start reads the same table back, silently.
    EXPECT_EQ(makeMenuCapturingOutput(), "");
    EXPECT_EQ(menu->highScores_names[6], "hallem");
    EXPECT_EQ(menu->highScores_scores[6], 50000);
}

TEST_F(HighScores, AShortFileLeavesEmptyRowsAndIsNotRewritten)
{
    const std::string text = "ann\t300\n" + std::string(45, 'x') + "\t200\nbo\t100";
    writeFile("highScores.txt", text);
    makeMenu();
    EXPECT_EQ(menu->highScores_names[2], "bo");
    EXPECT_EQ(menu->highScores_displayNames[1], std::string(45, 'x'));
    EXPECT_EQ(menu->highScores_displayNames[3], std::string(39, '.'));
    EXPECT_EQ(menu->highScores_scores[9], 0);
    EXPECT_EQ(readFile("highScores.txt"), text);

    menu->addHighScore(1);
    EXPECT_EQ(menu->currentEntryIndex, 3);
    EXPECT_EQ(menu->menuMode, MENU_NAME_ENTRY);
}

TEST_F(HighScores, BadLinesAreSkippedAndGoodRowsKeepTheirOrder)
{
    writeFile("highScores.txt", std::string("lo\t-5\n\x01\x02\x00\xfe\t9\n", 12) + "no tab here\nname with\t7\n" +
                                    "be\all\t6\nde\x7fl\t6\n" + std::string(256, 'n') + "\t8\n" +
                                    std::string(255, 'm') + "\t8\n" + "big\t2147483648\nhuge\t" +
                                    std::string(60000, '7') + "\n" + "hi\t900\n" + rows(12, 50));
    makeMenu();
    const std::vector<std::string> names = {"lo", std::string(255, 'm'), "hi", "p0", "p1", "p2", "p3", "p4", "p5",
                                            "p6"};
    const std::vector<int> scores = {-5, 8, 900, 50, 49, 48, 47, 46, 45, 44};
    EXPECT_EQ(menu->highScores_names, names);
    EXPECT_EQ(menu->highScores_scores, scores);
    ASSERT_EQ(menu->highScores_displayNames.size(), 10u);

    // Unsorted rows stay as read: a new score goes before the first smaller one.
    menu->addHighScore(0);
    EXPECT_EQ(menu->currentEntryIndex, 0);
    EXPECT_EQ(menu->highScores_scores[0], 0);
    EXPECT_EQ(menu->highScores_scores[9], 45);
}

TEST_F(HighScores, EqualScoresGoBelowAndRowNineMustBeBeaten)
{
    makeMenu();
    menu->changeMenu(MENU_HIGH_SCORES);
    menu->addHighScore(10000);
    EXPECT_EQ(menu->menuMode, MENU_MAIN) << "the main menu is loaded again";
    EXPECT_EQ(sound_double::log().menuMusicStarts, 2);
    EXPECT_EQ(readFile("highScores.txt"), defaultFile);

    menu->addHighScore(935808);
    EXPECT_EQ(menu->currentEntryIndex, 1);
    EXPECT_EQ(menu->menuMode, MENU_NAME_ENTRY);
    EXPECT_EQ(menu->highScores_scores[1], 935808);
    EXPECT_EQ(menu->highScores_scores[2], 500000);
    EXPECT_EQ(menu->highScores_scores[9], 12500);
    EXPECT_EQ(menu->highScores_names[1], "mirel") << "names wait for the name entry";

    writeFile("highScores.txt", "");
    makeMenu();
    menu->addHighScore(0);
    EXPECT_EQ(menu->menuMode, MENU_MAIN);
}

TEST_F(HighScores, AnEmptyNameRoundTripsWithoutShiftingRows)
{
    makeMenu();
    menu->addHighScore(250001);
    press(&Controller::inputX);  // confirmed at once: no name
    EXPECT_NE(readFile("highScores.txt").find("mirel\t500000\n\t250001\nquil"), std::string::npos);

    const std::vector<int> scores = menu->highScores_scores;
    const std::vector<std::string> names = menu->highScores_names;
    makeMenu();
    EXPECT_EQ(menu->highScores_scores, scores);
    EXPECT_EQ(menu->highScores_names, names);
    EXPECT_EQ(menu->highScores_displayNames[2], std::string(39, '.'));
}

TEST_F(HighScores, FailedSavesSaySoKeepTheOldFileAndTryAgain)
{
    makeMenu();
    menu->addHighScore(600000);
    menu->currentEntry = "ada";
    {
        FileSizeLimit limit(100);  // less than the table, more than the line said
        testing::internal::CaptureStdout();
        press(&Controller::inputX);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "highScores.txt could not be saved: File too large\n");
    }
    EXPECT_EQ(menu->highScores_names[1], "ada");
    EXPECT_EQ(menu->highScores_scores[1], 600000);
    EXPECT_EQ(menu->menuMode, MENU_HIGH_SCORES);
    EXPECT_EQ(readFile("highScores.txt"), defaultFile);
    EXPECT_EQ(folderContents(), (std::set<std::string>{"highScores.txt", "highScores.txt.lock", "zyn.png"}));

    // The next save takes the row that could not be saved along.
    menu->addHighScore(20000);
    menu->currentEntry = "bo";
    press(&Controller::inputX);
    EXPECT_EQ(readFile("highScores.txt"),
              "kovar\t935808\nada\t600000\nmirel\t500000\nquil\t250000\ntalva\t125000\n"
              "ruka\t100000\nbrenn\t75000\nhallem\t50000\nveska\t25000\nbo\t20000\n");

    // A directory in the file's place: cannot be read, never replaced.
    std::filesystem::remove("highScores.txt");
    std::filesystem::create_directory("highScores.txt");
    EXPECT_EQ(makeMenuCapturingOutput(), unreadableLines);
    EXPECT_EQ(menu->highScores_names[0], "kovar");
    EXPECT_TRUE(std::filesystem::is_directory("highScores.txt"));
    EXPECT_EQ(folderContents(), (std::set<std::string>{"highScores.txt", "highScores.txt.lock", "zyn.png"}));

    // Nor can a working folder that has gone away.
    std::filesystem::remove_all(folder);
    testing::internal::CaptureStdout();
    menu->highScoresSaved = true;
    menu->writeHighScores();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "highScores.txt could not be saved: No such file or directory\n");
    EXPECT_EQ(menu->highScores_scores[0], 935808);
}

TEST_F(HighScores, ATableThatCannotBeReadIsNeverReplaced)
{
    const std::string players = rows(10, 500);
    writeFile("highScores.txt", players);
    std::filesystem::permissions("highScores.txt", std::filesystem::perms::none);
    {
        PermissionsApply permissions;
        EXPECT_EQ(makeMenuCapturingOutput(), unreadableLines);
        EXPECT_EQ(menu->highScores_names[0], "kovar") << "the defaults play on in memory";

        // A game that enters the table changes it in memory only.
        menu->addHighScore(600000);
        menu->currentEntry = "ada";
        press(&Controller::inputX);
        EXPECT_EQ(menu->highScores_names[1], "ada");
    }
    std::filesystem::permissions("highScores.txt", std::filesystem::perms::owner_read);
    EXPECT_EQ(readFile("highScores.txt"), players);
    EXPECT_EQ(folderContents(), (std::set<std::string>{"highScores.txt", "zyn.png"}));
}
