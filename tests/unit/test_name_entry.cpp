#include "menu_test_support.h"

namespace {
const int keyA = 38, keyB = 56, keyC = 54, keyQ = 24, eraseKey = 22, returnKey = 36;
}

// A finished game with 600000 points has just entered row 1 of the default table.
class NameEntry : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        makeMenu();
        forgetKeyPresses();
        menu->addHighScore(600000);
        sound_double::reset();
    }

    // The frames in which the game's own key events are drained at the latest.
    void openScreen()
    {
        frame();
        frame();
    }

    // Holds a key for one frame that comes after the repeat gate has opened.
    void type(int code)
    {
        keys[code] = 1;
        frame();
        keys[code] = 0;
    }
};

TEST_F(NameEntry, TypedLettersAndReturnStoreTheName)
{
    ASSERT_EQ(menu->menuMode, MENU_NAME_ENTRY);
    for (int code : {keyA, keyB, keyC})
        type(code);
    EXPECT_EQ(menu->currentEntry, "abc");
    type(returnKey);

    EXPECT_EQ(menu->menuMode, MENU_HIGH_SCORES);
    EXPECT_EQ(menu->currentEntry, "");
    EXPECT_EQ(menu->highScores_names[1], "abc");
    EXPECT_EQ(menu->highScores_names[2], "mirel");
    EXPECT_EQ(menu->highScores_displayNames[1], "abc" + std::string(36, '.'));
    EXPECT_EQ(sound_double::count(SOUND_MENU_SELECT), 4);
    EXPECT_EQ(sound_double::log().menuMusicStarts, 1);
    EXPECT_EQ(readFile("highScores.txt").substr(0, 33), "kovar\t935808\nabc\t600000\nmirel\t500");
}

TEST_F(NameEntry, EveryKeyOfTheTableTypesItsCharacter)
{
    const std::string expected = "1234567890qwertyuiopasdfghjklzxcvbnm";
    std::string typed;
    for (int code = 0; code < 256; code++)
        if (menu->keyChars[code] != 0)
            typed += menu->keyChars[code];
    EXPECT_EQ(typed, expected);

    // A key between the rows types nothing but still uses up the repeat gate.
    keys[23] = 1;
    frame();
    keys[23] = 0;
    keys[19] = keys[10] = 1;
    frame(0.1);
    EXPECT_EQ(menu->currentEntry, "");
    frame(0.15);
    EXPECT_EQ(menu->currentEntry, "1") << "the lowest key code wins";
    EXPECT_EQ(sound_double::count(SOUND_MENU_SELECT), 1);
}

TEST_F(NameEntry, ThirteenCharactersAtMostAndEraseTakesTheLast)
{
    type(eraseKey);
    EXPECT_TRUE(sound_double::log().sounds.empty()) << "erasing nothing is silent";
    for (int i = 0; i < 14; i++)
        type(keyQ);
    EXPECT_EQ(menu->currentEntry, std::string(13, 'q'));
    type(eraseKey);
    EXPECT_EQ(menu->currentEntry, std::string(12, 'q'));
    EXPECT_EQ(sound_double::count(SOUND_MENU_SELECT), 14);
}

TEST_F(NameEntry, AHeldKeyRepeatsEveryFifthOfASecond)
{
    keys[keyA] = keys[keyQ] = 1;
    for (int i = 0; i < 10; i++)
        frame(0.07);  // accepted at 0.24, 0.45 and 0.66 s
    EXPECT_EQ(menu->currentEntry, "qqq");
}

TEST_F(NameEntry, ConfirmButtonFinishesAndOtherButtonsDoNothing)
{
    type(keyB);
    for (bool Controller::*button : {&Controller::inputB, &Controller::inputUp, &Controller::inputDown,
                                     &Controller::inputLeft, &Controller::inputRight})
        press(button);
    EXPECT_EQ(menu->menuMode, MENU_NAME_ENTRY);
    EXPECT_EQ(menu->menuSelect, 0);
    EXPECT_EQ(sound_double::count(SOUND_MENU_CHANGE), 0);

    press(&Controller::inputX);
    EXPECT_EQ(menu->menuMode, MENU_HIGH_SCORES);
    EXPECT_EQ(menu->highScores_names[1], "b");
}

TEST_F(NameEntry, AnEmptyNameIsStoredAndReadsBack)
{
    type(returnKey);
    EXPECT_EQ(menu->highScores_names[1], "");
    const std::vector<int> scores = menu->highScores_scores;
    makeMenu();
    EXPECT_EQ(menu->highScores_names[1], "");
    EXPECT_EQ(menu->highScores_names[2], "mirel");
    EXPECT_EQ(menu->highScores_scores, scores);
}

// Taps at 120 ms a key, shorter than a frame apart from their presses: each goes
// down and up between two drains, so only its press is left to type.
TEST_F(NameEntry, KeysAreTakenAsTheyGoDownHoweverFast)
{
    openScreen();
    const int t = 28, e = 26, s = 39, r = 27;
    for (int code : {t, e, s, t, e, r}) {
        recordKeyPress(code);
        for (int i = 0; i < 7; i++)
            frame(0.12 / 7);
    }
    EXPECT_EQ(menu->currentEntry, "tester");

    // Two presses in one drain still type both, in order; keys that type
    // nothing (Escape, an arrow) are passed over.
    recordKeyPress(9);
    recordKeyPress(keyA);
    recordKeyPress(111);
    recordKeyPress(keyB);
    frame(0.01);
    frame(0.01);
    EXPECT_EQ(menu->currentEntry, "testerab");
    EXPECT_EQ(sound_double::count(SOUND_MENU_SELECT), 8);
}

TEST_F(NameEntry, KeysPressedDuringTheGameAreNotTyped)
{
    recordKeyPress(keyA);  // waiting since the game, drained before the screen opened
    frame(0.01);
    recordKeyPress(keyB);  // drained at the end of the screen's first frame
    frame(0.01);
    frame(0.01);
    EXPECT_EQ(menu->currentEntry, "");
    recordKeyPress(keyC);
    frame(0.01);
    EXPECT_EQ(menu->currentEntry, "c");
}

// A press is taken at once; holding the key on repeats it no faster than the
// 0.2 s gate, and the pad's confirm button keeps that gate too.
TEST_F(NameEntry, AHeldKeyStillRepeatsNoFasterThanTheGate)
{
    openScreen();
    recordKeyPress(keyA);
    keys[keyA] = 1;
    for (int i = 0; i < 10; i++)
        frame(0.06);  // pressed at 0, repeats at 0.24 and 0.48 s
    EXPECT_EQ(menu->currentEntry, "aaa");
    keys[keyA] = 0;

    recordKeyPress(keyB);
    controls.inputX = true;
    frame(0.05);
    EXPECT_EQ(menu->currentEntry, "aaab");
    frame(0.1);
    EXPECT_EQ(menu->menuMode, MENU_NAME_ENTRY) << "confirm waits for the gate after a typed key";
    frame(0.15);
    EXPECT_EQ(menu->menuMode, MENU_HIGH_SCORES);
    EXPECT_EQ(menu->highScores_names[1], "aaab");
}
