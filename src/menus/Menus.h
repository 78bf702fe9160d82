#pragma once

#include <optional>
#include <string>
#include <vector>

#include "GameStates.h"

struct Controller;
class Game;
enum class FileRead;

// Everything the player sees outside of play and while a game is paused:
// the menu screens, the settings file, the high-score table and name entry.
class Menu {
public:
    Menu();

    void setupControls(Controller* controls);
    void setGame(Game* theGame);
    void setKeyboard(int* keyboard);

    void loadMainMenu();
    void changeMenu(int menu);
    void menuPollInput(double dT);
    // The title screens' motion, one step of the rules' worth: the arena
    // turns and the selection bar eases.
    void stepTitleScene(double dT);
    // The bar eases towards the selection, a step at a time.
    void easeSelectionBar();
    // Draw what the steps left; they change nothing the game plays by.
    void drawMenu();
    void drawInGameMenu();
    void drawLogo();
    int getSelectionWidth(int menu, int selection);

    void readConfig();
    void writeConfig();
    // The analogue sticks of the pad in play (the handheld's two until told).
    // When the count changes, a scheme the pad cannot play gives way to one it
    // can; config.txt keeps the player's own choice all the same, so a choice
    // made with another pad is not lost.
    void setPadSticks(int sticks);

    void readHighScores();
    void addHighScore(int score);
    void refreshHighScores();
    void writeHighScores();
    // The program is being closed (its window, or a signal): a name being
    // entered is kept with what was typed of it, then what is unsaved is saved.
    void saveBeforeQuit();

    void setupKeyChars();
    int getKey(double dT);

    bool quit = false;
    Controller* pndControls = nullptr;
    int* keys = nullptr;
    char keyChars[256] = {};
    int menuSelect = 0;
    int menuMode = MENU_MAIN;  // a MenuScreen
    int currentMenuSelections = 0;
    float selectionTimer = 0.1f;
    float menuRotation = 0;
    int selectDest = 0;
    float selectPos = 0;
    int selectWidth = 0;
    float selectCurrentWidth = 0;
    Game* game = nullptr;
    int zynText = 0;
    std::vector<int> highScores_scores;
    std::vector<std::string> highScores_names;
    std::vector<std::string> highScores_displayNames;
    std::string currentEntry;
    int currentEntryIndex = 0;
    int nameEntryFrames = 0;
    int movementOption = DEFAULT_MOVEMENT_SCHEME;
    int firingOption = DEFAULT_FIRING_SCHEME;
    // False once the file was found but could not be read: it is then never
    // replaced during this run.
    bool configSaved = true;
    bool highScoresSaved = true;

private:
    struct ScoreRow {
        std::string name;
        int score;
    };
    // Rows this run made that are not in the file yet, oldest first.
    std::vector<ScoreRow> unsavedRows;
    int padSticks = 2;
    // The player's scheme that the pad in play cannot play, while
    // movementOption or firingOption stands in for it.
    std::optional<int> heldMovement;
    std::optional<int> heldFiring;

    void applyDefaultConfig(FileRead result);
    void fitSchemesToPad();

    bool accepted(bool held);
    void leaveOptions();
    void confirmSelection();
    void adjustOption(int step);
    void pollNameEntry(double dT);
    int takeTypingPress();
    void finishNameEntry();
    void drawSelectionBar();
    void drawOptionLines();
};
