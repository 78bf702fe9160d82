#include "Menus.h"

#include <GLES/gl.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "Game.h"
#include "Sound.h"
#include "Vector3D.h"
#include "controller_support.h"
#include "display.h"
#include "draw_support.h"
#include "files.h"
#include "gl_support.h"
#include "saved_file.h"

namespace {

const char* const configFileName = "config.txt";
const char* const highScoresFileName = "highScores.txt";
const int highScoreRows = 10;
const size_t wordFieldLength = 255;  // longest key or name a file line may carry
const size_t displayNameLength = 39;
const size_t longestTypedName = 13;
// The name a row gets when the program is closed before one was typed: an
// empty name would shift the rows below it in older builds.
const char* const unnamedEntry = "player";
const double repeatDelay = 0.2;

// Key codes of name entry that type no character.
const int eraseKey = 22;
const int returnKey = 36;
const int firstTypingKey = 10;
const int lastTypingKey = 58;

const char* const movementLines[NUM_CONTROL_SCHEMES] = {"Movement: Left Nub", "Movement: Right Nub", "Movement: D-Pad",
                                                        "Movement: ABXY Buttons"};
const char* const firingLines[NUM_CONTROL_SCHEMES] = {"Firing: Left Nub", "Firing: Right Nub", "Firing: D-Pad",
                                                      "Firing: ABXY Buttons"};

// The bar's right edge (second and fourth vertex) follows its eased width.
GLfloat selectionVertices[] = {0, 32, 0, 300, 32, 0, 0, 0, 0, 300, 0, 0};
const GLfloat zynTextVerts[] = {0, 512, 0, 0, 0, 0, 512, 0, 0, 0, 512, 0, 512, 0, 0, 512, 512, 0};
const GLfloat zynTextCoords[] = {0, 1, 0, 0, 1, 0, 0, 1, 1, 0, 1, 1};

struct Default {
    const char* name;
    int score;
};
const Default defaultHighScores[highScoreRows] = {
    {"kovar", 935808}, {"mirel", 500000}, {"quil", 250000}, {"talva", 125000}, {"ruka", 100000},
    {"brenn", 75000},  {"hallem", 50000}, {"veska", 25000}, {"ondri", 12500},  {"pelio", 10000}};

// Scans a signed decimal the way "%d" does, but refuses values beyond int
// instead of storing whatever the overflow left behind.
bool parseNumber(const char* text, int& value)
{
    char* end = nullptr;
    errno = 0;
    const long long number = strtoll(text, &end, 10);
    if (end == text || errno == ERANGE || number < INT_MIN || number > INT_MAX)
        return false;
    value = (int)number;
    return true;
}

// The file line format: a word, white space, a number ("%s\t%d"). Words longer
// than their 255-character field are refused rather than cut, and so are words
// with control characters: a name is drawn glyph by glyph and written back
// between a newline and a tab.
bool parseWordAndNumber(const char* line, std::string& word, int& value)
{
    while (isspace((unsigned char)*line))
        ++line;
    const char* start = line;
    bool printable = true;
    for (; *line != '\0' && !isspace((unsigned char)*line); ++line)
        if (iscntrl((unsigned char)*line))
            printable = false;
    const size_t length = line - start;
    if (length == 0 || length > wordFieldLength || !printable || !parseNumber(line, value))
        return false;
    word.assign(start, length);
    return true;
}

// A row with an empty name is written as a lone tab and the score; it reads
// back as such, so the rows below it keep their places.
bool parseScoreRow(const char* line, std::string& name, int& score)
{
    if (line[0] == '\t' && parseNumber(line + 1, score)) {
        name.clear();
        return true;
    }
    return parseWordAndNumber(line, name, score);
}

// Hands each whole line of the file to onLine until it returns false.
template <typename LineHandler>
void forEachLine(const std::string& text, LineHandler onLine)
{
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        if (!onLine(text.substr(start, end - start).c_str()))
            return;
        start = end + 1;
    }
}

// Up to ten rows of the file's text; the rows it does not fill keep score 0
// and an empty name.
void parseTable(const std::string& text, std::vector<std::string>& names, std::vector<int>& scores)
{
    scores.assign(highScoreRows, 0);
    names.assign(highScoreRows, std::string());
    int row = 0;
    forEachLine(text, [&](const char* line) {
        if (row == highScoreRows)
            return false;
        if (parseScoreRow(line, names[row], scores[row]))
            row++;
        return true;
    });
}

// Where a score enters the table: above the first smaller score, so it goes
// below the equal ones made before it; highScoreRows when it does not enter.
int rowFor(const std::vector<int>& scores, int score)
{
    int row = 0;
    while (row < highScoreRows && scores[row] >= score)
        row++;
    return row;
}

// Puts a named row into the table in the row rowFor gives; the last row drops out.
void insertRow(std::vector<std::string>& names, std::vector<int>& scores, const std::string& name, int score)
{
    const int row = rowFor(scores, score);
    if (row == highScoreRows)
        return;
    names.insert(names.begin() + row, name);
    names.pop_back();
    scores.insert(scores.begin() + row, score);
    scores.pop_back();
}

std::string tableText(const std::vector<std::string>& names, const std::vector<int>& scores)
{
    std::string text;
    for (int i = 0; i < highScoreRows; i++)
        text += names[i] + '\t' + std::to_string(scores[i]) + '\n';
    return text;
}

// One line, and the game plays on: the next save tries again.
void reportFailedSave(const char* fileName, const std::string& reason)
{
    printf("%s could not be saved: %s\n", fileName, reason.c_str());
    fflush(stdout);
}

// Moves an eased value an eighth of the way to its target each step,
// snapping once it is closer than a tenth of a pixel.
void easeTowards(float& current, int target)
{
    const float gap = std::fabs(current - (float)target);
    if (gap < 0.1f)
        current = (float)target;
    else
        current += ((float)target > current ? gap : -gap) * 0.125f;
}

}  // namespace

Menu::Menu()
{
    setupKeyChars();
    readHighScores();
}

void Menu::setupControls(Controller* controls)
{
    pndControls = controls;
}

void Menu::setGame(Game* theGame)
{
    game = theGame;
}

void Menu::setKeyboard(int* keyboard)
{
    keys = keyboard;
}

// ---------------------------------------------------------------- screens

void Menu::loadMainMenu()
{
    // The logo is loaded anew each time; drop the previous copy first.
    if (zynText != 0) {
        const GLuint previous = (GLuint)zynText;
        glDeleteTextures(1, &previous);
    }
    zynText = (int)loadRequiredImage(dataPath("zyn.png").c_str());
    playMenuMusic();
    changeMenu(MENU_MAIN);
    game->gameMode = MODE_MENUS;
}

void Menu::changeMenu(int menu)
{
    static const int lastItem[NUM_MENU_SCREENS] = {4, 4, 0, 2, 0, 0};
    if (menu < 0 || menu >= NUM_MENU_SCREENS)
        return;
    menuMode = menu;
    menuSelect = 0;
    selectPos = 0;
    currentMenuSelections = lastItem[menu];
}

int Menu::getSelectionWidth(int menu, int selection)
{
    static const int mainWidths[5] = {9, 8, 12, 8, 5};
    static const int pauseWidths[3] = {8, 7, 15};
    static const int movementWidths[NUM_CONTROL_SCHEMES] = {19, 20, 16, 23};
    static const int firingWidths[NUM_CONTROL_SCHEMES] = {17, 18, 14, 21};

    if (menu == MENU_MAIN && selection >= 0 && selection <= 4)
        return mainWidths[selection];
    if (menu == MENU_PAUSE && selection >= 0 && selection <= 2)
        return pauseWidths[selection];
    if (menu != MENU_OPTIONS)
        return 0;
    switch (selection) {
    case 0:
        return 19;
    case 1:
        return 18;
    case 2:
        return isControlScheme(movementOption) ? movementWidths[movementOption] : 0;
    case 3:
        return isControlScheme(firingOption) ? firingWidths[firingOption] : 0;
    case 4:
        return 5;
    default:
        return 0;
    }
}

// ---------------------------------------------------------------- input

// Buttons are held levels: one accepted press per 0.2 s, shared by all of them.
bool Menu::accepted(bool held)
{
    if (!held || selectionTimer < repeatDelay)
        return false;
    selectionTimer = 0;
    return true;
}

void Menu::menuPollInput(double dT)
{
    selectionTimer += dT;

#ifndef ZYNTHRA_CLASSIC
    if (accepted(pndControls->inputSelect))
        takeScreenshot();
#endif

    if (accepted(pndControls->inputB)) {
        playSound(SOUND_MENU_SELECT);
        if (menuMode == MENU_HIGH_SCORES)
            changeMenu(MENU_MAIN);
        else if (menuMode == MENU_PAUSE)
            game->pauseGame();
        else if (menuMode == MENU_OPTIONS)
            leaveOptions();
    }

    if (menuMode == MENU_NAME_ENTRY) {
        pollNameEntry(dT);
        return;
    }

    if (accepted(pndControls->inputX)) {
        playSound(SOUND_MENU_SELECT);
        confirmSelection();
        return;
    }

    if (accepted(pndControls->inputUp)) {
        playSound(SOUND_MENU_CHANGE);
        if (--menuSelect < 0)
            menuSelect = currentMenuSelections;
    }
    if (accepted(pndControls->inputDown)) {
        playSound(SOUND_MENU_CHANGE);
        if (++menuSelect > currentMenuSelections)
            menuSelect = 0;
    }
    if (menuMode == MENU_OPTIONS) {
        if (pndControls->inputRight)
            adjustOption(1);
        if (pndControls->inputLeft)
            adjustOption(-1);
    }
}

// The options apply at once; the file follows when the screen is left.
void Menu::leaveOptions()
{
    writeConfig();
    changeMenu(game->gameMode == MODE_PAUSED ? MENU_PAUSE : MENU_MAIN);
}

void Menu::confirmSelection()
{
    switch (menuMode) {
    case MENU_MAIN:
        if (menuSelect == 0)
            game->newGame();
        else if (menuSelect == 1)
            changeMenu(MENU_OPTIONS);
        else if (menuSelect == 2)
            changeMenu(MENU_HIGH_SCORES);
        else if (menuSelect == 3)
            changeMenu(MENU_CREDITS);
        else if (menuSelect == 4)
            quit = true;
        break;
    case MENU_OPTIONS:
        if (menuSelect == 4)
            leaveOptions();
        break;
    case MENU_HIGH_SCORES:
    case MENU_CREDITS:
        changeMenu(MENU_MAIN);
        break;
    case MENU_PAUSE:
        if (menuSelect == 0)
            changeMenu(MENU_OPTIONS);
        else if (menuSelect == 1)
            game->pauseGame();
        else if (menuSelect == 2)
            game->gameOver();
        break;
    }
}

// Right (+1) or Left (-1) on the options screen. The volumes move every frame
// the button is held; the control schemes step through the repeat gate.
void Menu::adjustOption(int step)
{
    switch (menuSelect) {
    case 0:
        setMusicVol(step);
        break;
    case 1:
        playSound(SOUND_MENU_SELECT);
        setSoundVol(step);
        break;
    case 2:
    case 3: {
        if (selectionTimer < repeatDelay)
            return;
        playSound(SOUND_MENU_SELECT);
        selectionTimer = 0;
        int& option = menuSelect == 2 ? movementOption : firingOption;
        // Only the step's own direction wraps: Right lifts a hand-edited
        // negative scheme by one, Left takes it to 3.
        option += step;
        if (option >= NUM_CONTROL_SCHEMES)
            option = SCHEME_LEFT_NUB;
        if (step < 0 && option < 0)
            option = SCHEME_FACE_BUTTONS;
        // The player's own choice, whatever this pad can play.
        if (menuSelect == 2) {
            heldMovement.reset();
            game->setMovementOption(option);
        } else {
            heldFiring.reset();
            game->setFiringOption(option);
        }
        break;
    }
    }
}

// ---------------------------------------------------------------- drawing

void Menu::easeSelectionBar()
{
    selectDest = menuSelect * 32;
    easeTowards(selectPos, selectDest);
    selectWidth = getSelectionWidth(menuMode, menuSelect) * 16;
    easeTowards(selectCurrentWidth, selectWidth);
    selectionVertices[3] = selectCurrentWidth;
    selectionVertices[9] = selectCurrentWidth;
}

void Menu::drawSelectionBar()
{
    set2dMode();
    glLoadIdentity();
    glTranslatef(0, selectPos, -1.1f);
    glColor4f(0, 1, 0, 0.3f);
    glVertexPointer(3, GL_FLOAT, 0, selectionVertices);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

// A scheme outside 0..3 has no line; the lines below it move up.
void Menu::drawOptionLines()
{
    float y = 0;
    glPrintf(0, y, "Music Volume: %d%%", getMusicVol());
    y += 32;
    glPrintf(0, y, "SFX Volume: %d%%", getSoundVol());
    y += 32;
    if (isControlScheme(movementOption)) {
        glPrintf(0, y, "%s", movementLines[movementOption]);
        y += 32;
    }
    if (isControlScheme(firingOption)) {
        glPrintf(0, y, "%s", firingLines[firingOption]);
        y += 32;
    }
    glPrintf(0, y, "Back");
}

void Menu::stepTitleScene(double dT)
{
    menuRotation += dT;
    easeSelectionBar();
}

void Menu::drawMenu()
{
    static Vector3D pos(0, 0, 1);
    static Vector3D up(0, 1, 0);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    updateCamera(&pos, &up);

    glEnable(GL_LIGHTING);
    glRotatef(menuRotation, 0, 1, 0);
    glRotatef(menuRotation, 0.25f, 0, 0);
    game->drawTheSphere();
    glDisable(GL_LIGHTING);

    drawSelectionBar();

    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glColor4f(1, 1, 1, 1);
    switch (menuMode) {
    case MENU_MAIN:
        glPrintf(0, 0, "New Game");
        glPrintf(0, 32, "Options");
        glPrintf(0, 64, "High Scores");
        glPrintf(0, 96, "Credits");
        glPrintf(0, 128, "Quit");
        drawLogo();
        break;
    case MENU_OPTIONS:
        drawOptionLines();
        break;
    case MENU_HIGH_SCORES:
        glPrintf(312, 0, "High Scores");
        for (int i = 0; i < highScoreRows; i++) {
            glPrintf(0, 96 + 32 * i, "%s", highScores_displayNames[i].c_str());
            glPrintf(630, 96 + 32 * i, "%010d", highScores_scores[i]);
        }
        break;
    case MENU_NAME_ENTRY:
        glPrintf(0, 128, "New high score!");
        glPrintf(0, 160, "Enter your name:");
        glPrintf(0, 192, "%s", currentEntry.c_str());
        break;
    case MENU_CREDITS:
        glPrintf(0, 32, "Game: kovar");
        glPrintf(0, 64, "Music: Brisa Kellan");
        glPrintf(0, 96, "Icon: Selvic");
        break;
    }
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);

    set3dMode();
    finishFrame();
}

void Menu::drawLogo()
{
    glBindTexture(GL_TEXTURE_2D, (GLuint)zynText);
    glLoadIdentity();
    glTranslatef(288, 100, -1);
    glTexCoordPointer(2, GL_FLOAT, 0, zynTextCoords);
    glVertexPointer(3, GL_FLOAT, 0, zynTextVerts);
    glDrawArrays(GL_TRIANGLES, 0, 6);
}

// Drawn over the frozen game frame, which Game::draw has already drawn.
void Menu::drawInGameMenu()
{
    drawSelectionBar();

    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glColor4f(1, 1, 1, 1);
    if (menuMode == MENU_PAUSE) {
        glPrintf(0, 0, "Options");
        glPrintf(0, 32, "Resume");
        glPrintf(0, 64, "Return to menu");
    } else if (menuMode == MENU_OPTIONS) {
        drawOptionLines();
    }
    glPrintf(340, 220, "Paused");
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    set3dMode();
}

// ---------------------------------------------------------------- configuration

void Menu::readConfig()
{
    std::string text;
    const FileRead result = readSavedFile(savePath(configFileName).c_str(), text);
    int parsedLines = 0;
    forEachLine(text, [&](const char* line) {
        std::string key;
        int value = 0;
        if (!parseWordAndNumber(line, key, value))
            return true;
        parsedLines++;
        if (key == "movement") {
            movementOption = value >= NUM_CONTROL_SCHEMES ? DEFAULT_MOVEMENT_SCHEME : value;
            heldMovement.reset();
        } else if (key == "firing") {
            firingOption = value >= NUM_CONTROL_SCHEMES ? DEFAULT_FIRING_SCHEME : value;
            heldFiring.reset();
        } else if (key == "sound") {
            setSoundVolDirect(value < 0 || value > 100 ? 50 : value);
        } else if (key == "music") {
            setMusicVolDirect(value < 0 || value > 100 ? 40 : value);
        }
        return parsedLines < 4;
    });
    if (result != FileRead::read)
        applyDefaultConfig(result);
    // Hands the schemes to the game too.
    fitSchemesToPad();
}

void Menu::applyDefaultConfig(FileRead result)
{
    puts("Unable to open config file!");
    if (result == FileRead::unreadable) {
        // The player's file may still be good: keep it untouched for this run.
        configSaved = false;
        puts("config.txt cannot be read: settings will not be saved");
    }
    movementOption = DEFAULT_MOVEMENT_SCHEME;
    firingOption = DEFAULT_FIRING_SCHEME;
    heldMovement.reset();
    heldFiring.reset();
    setSoundVolDirect(40);
    setMusicVolDirect(50);
    writeConfig();
}

namespace {

// A scheme outside 0..3 plays as its slot's default scheme.
int sticksNeeded(int scheme, int slotDefault)
{
    switch (isControlScheme(scheme) ? scheme : slotDefault) {
    case SCHEME_LEFT_NUB:
        return 1;
    case SCHEME_RIGHT_NUB:
        return 2;
    default:
        return 0;
    }
}

int movementFor(int sticks)
{
    return sticks >= 1 ? SCHEME_LEFT_NUB : SCHEME_DPAD;
}

int firingFor(int sticks)
{
    return sticks >= 2 ? SCHEME_RIGHT_NUB : SCHEME_FACE_BUTTONS;
}

}  // namespace

void Menu::setPadSticks(int sticks)
{
    if (sticks == padSticks)
        return;
    padSticks = sticks;
    fitSchemesToPad();
}

// Starts from the player's choices every time, so a pad with more sticks gets
// them back. A stand-in never takes the control that the other, kept, choice
// already uses: it takes the other slot's default for this pad instead.
void Menu::fitSchemesToPad()
{
    const int movementChoice = heldMovement.value_or(movementOption);
    const int firingChoice = heldFiring.value_or(firingOption);
    const bool movementPlays = sticksNeeded(movementChoice, DEFAULT_MOVEMENT_SCHEME) <= padSticks;
    const bool firingPlays = sticksNeeded(firingChoice, DEFAULT_FIRING_SCHEME) <= padSticks;
    movementOption = movementPlays ? movementChoice : movementFor(padSticks);
    firingOption = firingPlays ? firingChoice : firingFor(padSticks);
    if (!movementPlays && firingPlays && movementOption == firingOption)
        movementOption = firingFor(padSticks);
    if (movementPlays && !firingPlays && movementOption == firingOption)
        firingOption = movementFor(padSticks);
    heldMovement = movementPlays ? std::nullopt : std::optional<int>(movementChoice);
    heldFiring = firingPlays ? std::nullopt : std::optional<int>(firingChoice);
    game->setMovementOption(movementOption);
    game->setFiringOption(firingOption);
}

void Menu::writeConfig()
{
    if (!configSaved)
        return;
    char text[128];
    snprintf(text, sizeof text, "movement\t%d\nfiring\t%d\nsound\t%d\nmusic\t%d\n",
             heldMovement.value_or(movementOption), heldFiring.value_or(firingOption), getSoundVol(), getMusicVol());
    // Whole settings: the last program to save them wins.
    const std::string failure =
        saveFile(savePath(configFileName).c_str(), [&](const std::string*) { return std::string(text); });
    if (!failure.empty())
        reportFailedSave(configFileName, failure);
}

// ---------------------------------------------------------------- high scores

void Menu::readHighScores()
{
    highScores_displayNames.assign(highScoreRows, std::string());
    std::string text;
    const FileRead result = readSavedFile(savePath(highScoresFileName).c_str(), text);
    parseTable(text, highScores_names, highScores_scores);
    if (result == FileRead::read) {
        refreshHighScores();
        return;
    }

    puts("Unable to open high scores file!");
    if (result == FileRead::unreadable) {
        // The player's table may still be there: never replace it with the defaults.
        highScoresSaved = false;
        puts("highScores.txt cannot be read: scores will not be saved");
    }
    for (int i = 0; i < highScoreRows; i++) {
        highScores_names[i] = defaultHighScores[i].name;
        highScores_scores[i] = defaultHighScores[i].score;
    }
    refreshHighScores();
    writeHighScores();
}

// The score takes its row now; the name joins it when name entry finishes.
void Menu::addHighScore(int score)
{
    const int row = rowFor(highScores_scores, score);
    if (row == highScoreRows) {
        loadMainMenu();
        return;
    }
    highScores_scores.insert(highScores_scores.begin() + row, score);
    highScores_scores.pop_back();
    currentEntryIndex = row;
    nameEntryFrames = 0;
    changeMenu(MENU_NAME_ENTRY);
}

void Menu::refreshHighScores()
{
    for (int i = 0; i < highScoreRows; i++) {
        std::string shown = highScores_names[i];
        if (shown.size() < displayNameLength)
            shown.resize(displayNameLength, '.');
        highScores_displayNames[i] = shown;
    }
}

// Another program may have saved rows of its own since this one read the
// table: the table saved is the file's as it is now, with the rows this run
// made and has not saved yet put in, in the order they were made. Without a
// file this run's table is saved. Rows that could not be saved wait for the
// next save.
void Menu::writeHighScores()
{
    if (!highScoresSaved)
        return;
    std::vector<std::string> names = highScores_names;
    std::vector<int> scores = highScores_scores;
    const std::string failure = saveFile(savePath(highScoresFileName).c_str(), [&](const std::string* current) {
        if (current != nullptr) {
            parseTable(*current, names, scores);
            for (const ScoreRow& made : unsavedRows)
                insertRow(names, scores, made.name, made.score);
        }
        return tableText(names, scores);
    });
    if (!failure.empty()) {
        reportFailedSave(highScoresFileName, failure);
        return;
    }
    unsavedRows.clear();
    highScores_names = names;
    highScores_scores = scores;
    refreshHighScores();
}

void Menu::saveBeforeQuit()
{
    if (menuMode == MENU_NAME_ENTRY) {
        if (currentEntry.empty())
            currentEntry = unnamedEntry;
        finishNameEntry();
    } else if (!unsavedRows.empty()) {
        writeHighScores();
    }
    writeConfig();
}

// ---------------------------------------------------------------- name entry

void Menu::setupKeyChars()
{
    for (char& c : keyChars)
        c = 0;
    for (const char* c = "1234567890abcdefghijklmnopqrstuvwxyz"; *c != '\0'; c++) {
        const char name[] = {*c, '\0'};
        keyChars[keyCodeForName(name)] = *c;
    }
}

// The next key that went down, however fast keys come; otherwise a held key
// repeats through the shared gate, the lowest held key code first.
int Menu::getKey(double)
{
    const int pressed = takeTypingPress();
    if (pressed != 0) {
        selectionTimer = 0;
        return pressed;
    }
    if (selectionTimer < repeatDelay)
        return 0;
    for (int code = firstTypingKey; code <= lastTypingKey; code++) {
        if (keys[code] == 1) {
            selectionTimer = 0;
            return code;
        }
    }
    return 0;
}

// Presses of keys that type nothing (arrows, Escape) are passed over.
int Menu::takeTypingPress()
{
    for (int code = takeKeyPress(); code != 0; code = takeKeyPress())
        if (code >= firstTypingKey && code <= lastTypingKey)
            return code;
    return 0;
}

void Menu::pollNameEntry(double dT)
{
    // Keys pressed during the game wait in the X queue until the first drain
    // on this screen, at the end of its first frame: they are not the name.
    if (nameEntryFrames < 2) {
        nameEntryFrames++;
        forgetKeyPresses();
    }
    if (accepted(pndControls->inputX)) {
        playSound(SOUND_MENU_SELECT);
        finishNameEntry();
        return;
    }
    const int key = getKey(dT);
    if (key == returnKey) {
        playSound(SOUND_MENU_SELECT);
        finishNameEntry();
    } else if (key == eraseKey) {
        if (!currentEntry.empty()) {
            currentEntry.pop_back();
            playSound(SOUND_MENU_SELECT);
        }
    } else if (key != 0 && keyChars[key] != 0) {
        if (currentEntry.size() < longestTypedName) {
            currentEntry += keyChars[key];
            playSound(SOUND_MENU_SELECT);
        }
    }
}

// Name entry cannot be cancelled: finishing always stores the name.
void Menu::finishNameEntry()
{
    highScores_names.insert(highScores_names.begin() + currentEntryIndex, currentEntry);
    highScores_names.pop_back();
    unsavedRows.push_back({currentEntry, highScores_scores[currentEntryIndex]});
    refreshHighScores();
    writeHighScores();
    currentEntry.clear();
    changeMenu(MENU_HIGH_SCORES);
    playMenuMusic();
}
