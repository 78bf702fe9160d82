#include <sys/stat.h>

#include <regex>

#include "menu_test_support.h"

using MenuNavigation = MenuTest;

TEST_F(MenuNavigation, UpAndDownWrapAndOnlyMoveOnScreensWithItems)
{
    makeMenu();
    press(&Controller::inputUp);
    EXPECT_EQ(menu->menuSelect, 4);
    press(&Controller::inputDown);
    EXPECT_EQ(menu->menuSelect, 0);

    menu->changeMenu(MENU_HIGH_SCORES);
    press(&Controller::inputDown);
    press(&Controller::inputUp);
    EXPECT_EQ(menu->menuSelect, 0);
    EXPECT_EQ(menu->getSelectionWidth(2, 0), 0);
    EXPECT_EQ(sound_double::count(SOUND_MENU_CHANGE), 4);
}

TEST_F(MenuNavigation, OneAcceptedPressEvery0_2SecondsSharedByAllButtons)
{
    makeMenu();
    controls.inputDown = true;
    for (int i = 0; i < 10; i++)
        frame(0.07);  // accepted at 0.24, 0.45 and 0.66 s
    controls.inputDown = false;
    EXPECT_EQ(menu->menuSelect, 3);

    // Confirming opens the credits; the next press waits for the gate again.
    controls.inputX = true;
    frame(0.3);
    controls.inputX = false;
    ASSERT_EQ(menu->menuMode, MENU_CREDITS);
    controls.inputB = true;
    frame(0.15);
    EXPECT_EQ(sound_double::count(SOUND_MENU_SELECT), 1);
    frame(0.15);
    EXPECT_EQ(sound_double::count(SOUND_MENU_SELECT), 2);
}

TEST_F(MenuNavigation, MainMenuItemsLeadToTheirScreens)
{
    makeMenu();
    const int expected[] = {MENU_OPTIONS, MENU_HIGH_SCORES, MENU_CREDITS};
    for (int item = 1; item <= 3; item++) {
        menu->changeMenu(MENU_MAIN);
        menu->menuSelect = item;
        press(&Controller::inputX);
        EXPECT_EQ(menu->menuMode, expected[item - 1]);
        EXPECT_EQ(menu->menuSelect, 0);
    }
    EXPECT_EQ(menu->currentMenuSelections, 0);  // credits

    menu->changeMenu(MENU_MAIN);
    menu->menuSelect = 4;
    press(&Controller::inputX);
    EXPECT_TRUE(menu->quit);

    menu->menuSelect = 0;
    press(&Controller::inputX);
    EXPECT_EQ(game->gameMode, MODE_PLAYING);
    EXPECT_EQ(menu->menuMode, MENU_MAIN);
    EXPECT_EQ(sound_double::log().gameMusicStarts, 1);
}

TEST_F(MenuNavigation, BackAndConfirmOnHighScoresAndCredits)
{
    makeMenu();
    menu->changeMenu(MENU_CREDITS);
    press(&Controller::inputB);
    EXPECT_EQ(menu->menuMode, MENU_CREDITS) << "B does not leave the credits";
    press(&Controller::inputX);
    EXPECT_EQ(menu->menuMode, MENU_MAIN);

    for (bool Controller::*button : {&Controller::inputB, &Controller::inputX}) {
        menu->changeMenu(MENU_HIGH_SCORES);
        press(button);
        EXPECT_EQ(menu->menuMode, MENU_MAIN);
    }
    EXPECT_EQ(sound_double::count(SOUND_MENU_SELECT), 4);
    menu->changeMenu(NUM_MENU_SCREENS);
    EXPECT_EQ(menu->menuMode, MENU_MAIN);
}

TEST_F(MenuNavigation, ConfirmOnOptionLinesOtherThanBackChangesNothing)
{
    makeMenu();
    menu->changeMenu(MENU_OPTIONS);
    for (int item = 0; item < 4; item++) {
        menu->menuSelect = item;
        press(&Controller::inputX);
        EXPECT_EQ(menu->menuMode, MENU_OPTIONS);
    }
    EXPECT_EQ(sound_double::count(SOUND_MENU_SELECT), 4);
    EXPECT_EQ(menu->movementOption, SCHEME_LEFT_NUB);
    EXPECT_EQ(menu->firingOption, SCHEME_RIGHT_NUB);
    EXPECT_EQ(sound_double::log().musicVol, 50);
    EXPECT_FALSE(std::filesystem::exists("config.txt"));
}

TEST_F(MenuNavigation, VolumesMoveEveryHeldFrameWithoutTheGate)
{
    makeMenu();
    menu->changeMenu(MENU_OPTIONS);
    controls.inputRight = true;
    for (int i = 0; i < 3; i++)
        frame(0);
    EXPECT_EQ(sound_double::log().musicVol, 53);
    EXPECT_TRUE(sound_double::log().sounds.empty());

    menu->menuSelect = 1;
    for (int i = 0; i < 3; i++)
        frame(0);
    controls.inputRight = false;
    controls.inputLeft = true;
    frame(0);
    EXPECT_EQ(sound_double::log().soundVol, 42);
    EXPECT_EQ(sound_double::count(SOUND_MENU_SELECT), 4);
}

TEST_F(MenuNavigation, ControlSchemesStepThroughTheGateAndWrap)
{
    makeMenu();
    menu->changeMenu(MENU_OPTIONS);
    menu->menuSelect = 2;
    menu->movementOption = SCHEME_FACE_BUTTONS;
    controls.inputRight = true;
    frame();
    frame(0.1);
    controls.inputRight = false;
    EXPECT_EQ(menu->movementOption, SCHEME_LEFT_NUB) << "one step per 0.2 s";
    EXPECT_EQ(game->movementOption, SCHEME_LEFT_NUB);

    menu->menuSelect = 3;
    menu->firingOption = SCHEME_LEFT_NUB;
    press(&Controller::inputLeft);
    EXPECT_EQ(menu->firingOption, SCHEME_FACE_BUTTONS);
    EXPECT_EQ(game->firingOption, SCHEME_FACE_BUTTONS);
    EXPECT_EQ(menu->getSelectionWidth(1, 3), 21);

    // A hand-edited negative scheme: Right steps it up by one, Left sets 3.
    menu->firingOption = -5;
    EXPECT_EQ(menu->getSelectionWidth(1, 3), 0);
    press(&Controller::inputRight);
    EXPECT_EQ(menu->firingOption, -4);
    press(&Controller::inputLeft);
    EXPECT_EQ(menu->firingOption, SCHEME_FACE_BUTTONS);
}

TEST_F(MenuNavigation, LeavingOptionsWritesConfigAndReturnsWhereItCameFrom)
{
    makeMenu();
    menu->changeMenu(MENU_OPTIONS);
    menu->movementOption = SCHEME_DPAD;
    menu->menuSelect = 4;
    press(&Controller::inputX);
    EXPECT_EQ(menu->menuMode, MENU_MAIN);
    EXPECT_EQ(readFile("config.txt"), "movement\t2\nfiring\t1\nsound\t40\nmusic\t50\n");

    game->newGame();
    game->pauseGame();
    ASSERT_EQ(menu->menuMode, MENU_PAUSE);
    press(&Controller::inputX);  // "Options"
    ASSERT_EQ(menu->menuMode, MENU_OPTIONS);
    menu->firingOption = SCHEME_FACE_BUTTONS;
    press(&Controller::inputB);
    EXPECT_EQ(menu->menuMode, MENU_PAUSE);
    EXPECT_EQ(readFile("config.txt"), "movement\t2\nfiring\t3\nsound\t40\nmusic\t50\n");

    // Start resumes the game straight from the options screen: that saves them too.
    press(&Controller::inputX);  // "Options"
    ASSERT_EQ(menu->menuMode, MENU_OPTIONS);
    menu->movementOption = SCHEME_FACE_BUTTONS;
    controls.inputStart = true;
    game->pollStart(0.25);
    controls.inputStart = false;
    EXPECT_FALSE(game->paused);
    EXPECT_EQ(readFile("config.txt"), "movement\t3\nfiring\t3\nsound\t40\nmusic\t50\n");
}

TEST_F(MenuNavigation, PauseMenuResumesOrAbandonsTheGame)
{
    makeMenu();
    game->newGame();
    game->pauseGame();
    menu->menuSelect = 1;
    press(&Controller::inputX);
    EXPECT_EQ(game->gameMode, MODE_PLAYING);
    EXPECT_TRUE(game->unpausing);

    game->pauseGame();
    press(&Controller::inputB);
    EXPECT_EQ(game->gameMode, MODE_PLAYING);
    EXPECT_FALSE(game->paused);

    // A score of 0 does not enter the default table: back to the main menu.
    game->pauseGame();
    menu->menuSelect = 2;
    press(&Controller::inputX);
    EXPECT_EQ(game->gameMode, MODE_MENUS);
    EXPECT_EQ(menu->menuMode, MENU_MAIN);
    EXPECT_EQ(sound_double::log().menuMusicStarts, 2) << "at start-up and again now";
}

TEST_F(MenuNavigation, ChangingScreensPutsTheBarAtTheTopAndEasesItsWidth)
{
    makeMenu();
    menu->menuSelect = 2;
    for (int i = 0; i < 200; i++)
        menu->easeSelectionBar();
    EXPECT_EQ(menu->selectPos, 64);
    EXPECT_EQ(menu->selectCurrentWidth, 12 * 16);

    menu->changeMenu(MENU_PAUSE);
    EXPECT_EQ(menu->selectPos, 0);
    menu->easeSelectionBar();
    EXPECT_FLOAT_EQ(menu->selectCurrentWidth, 192 - 64 * 0.125f);  // towards 8 cells
}

TEST_F(MenuNavigation, SelectTakesAScreenshotOnlyInTheMainRules)
{
    makeMenu();
    std::filesystem::create_directory("bin");
    writeFile("bin/fbgrab", "#!/bin/sh\necho \"$@\" >> \"" + folder.string() + "/shots\"\n");
    chmod("bin/fbgrab", 0755);
    const std::string path = getenv("PATH");
    setenv("PATH", (folder.string() + "/bin:" + path).c_str(), 1);
    controls.inputSelect = true;
    frame();
    frame(0.1);
    setenv("PATH", path.c_str(), 1);

#ifdef ZYNTHRA_CLASSIC
    EXPECT_FALSE(std::filesystem::exists("shots"));
#else
    EXPECT_TRUE(std::regex_match(readFile("shots"), std::regex("screen[0-9]{6}-[0-9]{6}\\.png\n")));
#endif
}

TEST_F(MenuNavigation, ALogoThatCannotBeDecodedEndsTheProgram)
{
    makeMenu();
    writeFile("zyn.png", greyPng(8, 8).substr(0, 40));
    EXPECT_EXIT(
        {
            dup2(2, 1);
            menu->loadMainMenu();
        },
        testing::ExitedWithCode(1), "Unable to open image zyn.png!");
}
