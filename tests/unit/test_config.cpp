#include "menu_test_support.h"

class ConfigFile : public MenuTest {
protected:
    // Reads the given config.txt into a fresh menu and game.
    void readConfig(const std::string& text)
    {
        writeFile("config.txt", text);
        makeMenu();
        menu->readConfig();
    }
};

TEST_F(ConfigFile, MissingFileAppliesAndWritesTheDefaults)
{
    makeMenu();
    menu->movementOption = game->movementOption = SCHEME_DPAD;
    setMusicVolDirect(90);
    setSoundVolDirect(10);
    testing::internal::CaptureStdout();
    menu->readConfig();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Unable to open config file!\n");
    EXPECT_EQ(menu->movementOption, SCHEME_LEFT_NUB);
    EXPECT_EQ(game->movementOption, SCHEME_LEFT_NUB);
    EXPECT_EQ(game->firingOption, SCHEME_RIGHT_NUB);
    EXPECT_EQ(getMusicVol(), 50);
    EXPECT_EQ(getSoundVol(), 40);
    EXPECT_EQ(readFile("config.txt"), "movement\t0\nfiring\t1\nsound\t40\nmusic\t50\n");
}

TEST_F(ConfigFile, OutOfRangeValuesAreReplacedAndNegativeSchemesPass)
{
    readConfig("movement\t7\nfiring\t9\nsound\t150\nmusic\t101\n");
    EXPECT_EQ(menu->movementOption, SCHEME_LEFT_NUB);
    EXPECT_EQ(menu->firingOption, SCHEME_RIGHT_NUB);
    EXPECT_EQ(game->firingOption, SCHEME_RIGHT_NUB);
    EXPECT_EQ(getSoundVol(), 50);
    EXPECT_EQ(getMusicVol(), 40);

    readConfig("sound\t-1\nmusic\t-1\nmovement\t-2\nfiring\t-7\n");
    EXPECT_EQ(getSoundVol(), 50);
    EXPECT_EQ(getMusicVol(), 40);
    EXPECT_EQ(menu->movementOption, -2);
    EXPECT_EQ(game->movementOption, -2);
    EXPECT_EQ(game->firingOption, -7);
}

TEST_F(ConfigFile, OnlyTheFirstFourParsedLinesCount)
{
    // Keys are case-sensitive: "Music" is an unknown key, but it counts.
    const std::string text =
        "\n# comment\nmovement\nMusic\t12\nmovement 2\n\n   firing\t\t3 trailing\nmovement\t1\nsound\t70\n";
    readConfig(text);
    EXPECT_EQ(menu->movementOption, SCHEME_RIGHT_NUB) << "the later line wins";
    EXPECT_EQ(menu->firingOption, SCHEME_FACE_BUTTONS);
    EXPECT_EQ(getSoundVol(), 40) << "a fifth parsed line is not applied";
    EXPECT_EQ(getMusicVol(), 50);
    EXPECT_EQ(readFile("config.txt"), text) << "reading never rewrites the file";
}

TEST_F(ConfigFile, BadLinesAreSkippedWithoutCounting)
{
    const std::string junk("\x01\xff\x00\x7f movement\t3\n", 16);
    readConfig(junk + std::string(300, 'k') + "\t1\n" + "movement\t" + std::string(60000, '9') +
               "\nmusic\t2147483648\nsound\t-2147483649\nfiring\t2\nmovement\t3\nsound\t12\nmusic\t34\n");
    EXPECT_EQ(menu->firingOption, SCHEME_DPAD);
    EXPECT_EQ(menu->movementOption, SCHEME_FACE_BUTTONS);
    EXPECT_EQ(getSoundVol(), 12);
    EXPECT_EQ(getMusicVol(), 34);
}

TEST_F(ConfigFile, AFailedSaveLeavesTheOldFileAndNoTemporary)
{
    readConfig("movement\t2\nfiring\t3\nsound\t20\nmusic\t30\n");
    menu->movementOption = SCHEME_RIGHT_NUB;
    const std::set<std::string> files = {"config.txt", "config.txt.lock", "highScores.txt", "highScores.txt.lock",
                                         "zyn.png"};
    {
        FileSizeLimit limit(10);
        menu->writeConfig();
    }
    EXPECT_EQ(readFile("config.txt"), "movement\t2\nfiring\t3\nsound\t20\nmusic\t30\n");
    EXPECT_EQ(folderContents(), files);
    EXPECT_EQ(menu->movementOption, SCHEME_RIGHT_NUB);

    // A folder that takes no new file: the failure is said, with its reason.
    std::filesystem::permissions(".", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    {
        PermissionsApply permissions;
        testing::internal::CaptureStdout();
        menu->writeConfig();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "config.txt could not be saved: Permission denied\n");
    }
    std::filesystem::permissions(".", std::filesystem::perms::owner_all);

    menu->writeConfig();
    EXPECT_EQ(readFile("config.txt"), "movement\t1\nfiring\t3\nsound\t20\nmusic\t30\n");
    EXPECT_EQ(folderContents(), files);
}

namespace {
const char* const unreadableLines =
    "Unable to open config file!\nconfig.txt cannot be read: settings will not be saved\n";
}

TEST_F(ConfigFile, AFileThatCannotBeReadIsNeverReplaced)
{
    const std::string players = "movement\t2\nfiring\t3\nsound\t20\nmusic\t30\n";
    writeFile("config.txt", players);
    std::filesystem::permissions("config.txt", std::filesystem::perms::none);
    PermissionsApply permissions;
    makeMenu();
    testing::internal::CaptureStdout();
    menu->readConfig();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), unreadableLines);
    EXPECT_EQ(menu->movementOption, DEFAULT_MOVEMENT_SCHEME) << "the defaults play on in memory";
    EXPECT_EQ(game->firingOption, DEFAULT_FIRING_SCHEME);
    EXPECT_EQ(getSoundVol(), 40);

    // Leaving the options screen saves nothing for the rest of the run.
    menu->changeMenu(MENU_OPTIONS);
    menu->menuSelect = 4;
    press(&Controller::inputX);
    EXPECT_EQ(menu->menuMode, MENU_MAIN);
    menu->writeConfig();
    std::filesystem::permissions("config.txt", std::filesystem::perms::owner_read);
    EXPECT_EQ(readFile("config.txt"), players);
    EXPECT_EQ(folderContents(),
              (std::set<std::string>{"config.txt", "highScores.txt", "highScores.txt.lock", "zyn.png"}));
}

TEST_F(ConfigFile, AnUnwritablePlaceKeepsTheGameGoing)
{
    // A directory in the file's place can be neither read nor replaced.
    std::filesystem::create_directory("config.txt");
    makeMenu();
    testing::internal::CaptureStdout();
    menu->readConfig();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), unreadableLines);
    EXPECT_EQ(menu->firingOption, SCHEME_RIGHT_NUB);
    EXPECT_TRUE(std::filesystem::is_directory("config.txt"));
    EXPECT_EQ(folderContents(),
              (std::set<std::string>{"config.txt", "highScores.txt", "highScores.txt.lock", "zyn.png"}));

    // A working folder that no longer exists cannot take a file either.
    std::filesystem::remove_all(folder);
    menu->writeConfig();
    EXPECT_FALSE(std::filesystem::exists(folder));
}

// Pads with fewer analogue sticks than the handheld's two.
class PadSticks : public ConfigFile {
protected:
    // Starts the menu the way main does with a pad of that many sticks.
    void start(int sticks)
    {
        makeMenu();
        menu->setPadSticks(sticks);
        testing::internal::CaptureStdout();
        menu->readConfig();
        testing::internal::GetCapturedStdout();
    }

    void expectSchemes(int movement, int firing)
    {
        EXPECT_EQ(menu->movementOption, movement);
        EXPECT_EQ(game->movementOption, movement);
        EXPECT_EQ(menu->firingOption, firing);
        EXPECT_EQ(game->firingOption, firing);
    }
};

TEST_F(PadSticks, FirstStartPlaysWithWhatThePadHas)
{
    const int expected[3][2] = {{SCHEME_DPAD, SCHEME_FACE_BUTTONS},
                                {SCHEME_LEFT_NUB, SCHEME_FACE_BUTTONS},
                                {SCHEME_LEFT_NUB, SCHEME_RIGHT_NUB}};
    for (int sticks = 0; sticks <= 2; sticks++) {
        SCOPED_TRACE(sticks);
        std::filesystem::remove("config.txt");
        start(sticks);
        expectSchemes(expected[sticks][0], expected[sticks][1]);
        // The file holds the player's choice, which is no choice yet: a pad
        // with more sticks later plays the usual way.
        EXPECT_EQ(readFile("config.txt"), "movement\t0\nfiring\t1\nsound\t40\nmusic\t50\n");
    }
}

TEST_F(PadSticks, OnlySchemesThePadCannotPlayGiveWay)
{
    // Movement on the right stick, firing on the left: one stick keeps the
    // firing, and the movement's stand-in leaves the left stick to it.
    const std::string saved = "movement\t1\nfiring\t0\nsound\t20\nmusic\t30\n";
    writeFile("config.txt", saved);
    start(1);
    expectSchemes(SCHEME_FACE_BUTTONS, SCHEME_LEFT_NUB);
    menu->setPadSticks(0);
    expectSchemes(SCHEME_DPAD, SCHEME_FACE_BUTTONS);
    menu->setPadSticks(2);
    expectSchemes(SCHEME_RIGHT_NUB, SCHEME_LEFT_NUB);
    menu->setPadSticks(0);
    menu->writeConfig();
    EXPECT_EQ(readFile("config.txt"), saved) << "a choice made with another pad is not lost";

    // Schemes a stickless pad plays are never touched; a stand-in avoids the
    // buttons the kept one uses.
    writeFile("config.txt", "movement\t3\nfiring\t2\n");
    start(0);
    expectSchemes(SCHEME_FACE_BUTTONS, SCHEME_DPAD);
    writeFile("config.txt", "movement\t3\nfiring\t1\n");
    start(0);
    expectSchemes(SCHEME_FACE_BUTTONS, SCHEME_DPAD);

    // A hand-edited scheme plays as its slot's default: it needs sticks too.
    writeFile("config.txt", "movement\t-2\nfiring\t-7\n");
    start(1);
    expectSchemes(-2, SCHEME_FACE_BUTTONS);
    start(0);
    expectSchemes(SCHEME_DPAD, SCHEME_FACE_BUTTONS);
    start(2);
    expectSchemes(-2, -7);
}

TEST_F(PadSticks, AChoiceMadeInOptionsIsKeptAndSaved)
{
    start(0);
    menu->changeMenu(MENU_OPTIONS);
    menu->menuSelect = 2;
    press(&Controller::inputLeft);
    expectSchemes(SCHEME_RIGHT_NUB, SCHEME_FACE_BUTTONS);
    menu->setPadSticks(0);
    frame();
    EXPECT_EQ(menu->movementOption, SCHEME_RIGHT_NUB) << "the same pad keeps the player's choice";

    menu->menuSelect = 4;
    press(&Controller::inputX);
    EXPECT_EQ(readFile("config.txt"), "movement\t1\nfiring\t1\nsound\t40\nmusic\t50\n");

    // Another pad with fewer sticks moves it again, and a choice on firing sticks.
    menu->setPadSticks(1);
    expectSchemes(SCHEME_LEFT_NUB, SCHEME_FACE_BUTTONS);
    menu->changeMenu(MENU_OPTIONS);
    menu->menuSelect = 3;
    press(&Controller::inputRight);
    menu->saveBeforeQuit();
    EXPECT_EQ(readFile("config.txt"), "movement\t1\nfiring\t0\nsound\t40\nmusic\t50\n");
}
