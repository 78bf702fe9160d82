#pragma once

// The named states shared by the game, the menus and the frame loop. The
// members holding them stay plain ints: a config file may hold any scheme.

// The values of Game::gameMode: what the frame loop runs.
enum GameMode { MODE_MENUS = 0, MODE_PLAYING = 1, MODE_PAUSED = 2 };

// The values of the movement and firing options: which control moves the ship or aims.
enum ControlScheme {
    SCHEME_LEFT_NUB = 0,
    SCHEME_RIGHT_NUB = 1,
    SCHEME_DPAD = 2,
    SCHEME_FACE_BUTTONS = 3,
    NUM_CONTROL_SCHEMES
};
constexpr int DEFAULT_MOVEMENT_SCHEME = SCHEME_LEFT_NUB;
constexpr int DEFAULT_FIRING_SCHEME = SCHEME_RIGHT_NUB;

// A hand-edited config may hold any number; the options stay plain ints.
inline bool isControlScheme(int option)
{
    return option >= 0 && option < NUM_CONTROL_SCHEMES;
}

// The values of Menu::menuMode.
enum MenuScreen {
    MENU_MAIN = 0,
    MENU_OPTIONS = 1,
    MENU_HIGH_SCORES = 2,
    MENU_PAUSE = 3,
    MENU_NAME_ENTRY = 4,
    MENU_CREDITS = 5,
    NUM_MENU_SCREENS
};
