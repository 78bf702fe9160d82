#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "input_mapping.h"

namespace {

KeyDown keysDown(std::set<SDL_Keycode> keys)
{
    return [keys](SDL_Keycode key) { return keys.count(key) > 0; };
}

unsigned bits(std::initializer_list<int> buttons)
{
    unsigned b = 0;
    for (int button : buttons)
        b |= 1u << button;
    return b;
}

struct Nub {
    int x, y;
};

Nub keypad(std::set<SDL_Keycode> keys)
{
    int nub[2];
    keypadNub(keysDown(keys), nub);
    return {nub[0], nub[1]};
}

Nub stick(int x, int y)
{
    int nub[2];
    stickToNub(x, y, nub);
    return {nub[0], nub[1]};
}

Nub aim(int x, int y, int width, int height)
{
    int nub[2];
    mouseAim(x, y, width, height, nub);
    return {nub[0], nub[1]};
}

#define EXPECT_NUB(nub, ex, ey)     \
    do {                            \
        const Nub n = (nub);        \
        EXPECT_EQ(n.x, ex) << #nub; \
        EXPECT_EQ(n.y, ey) << #nub; \
    } while (0)

}  // namespace

TEST(DesktopControls, KeysPressTheHandheldsButtons)
{
    EXPECT_EQ(heldKeyButtons(keysDown({SDLK_w, SDLK_RIGHT})), bits({PAD_UP, PAD_RIGHT}));
    EXPECT_EQ(heldKeyButtons(keysDown({SDLK_s, SDLK_a})), bits({PAD_DOWN, PAD_LEFT}));
    EXPECT_EQ(heldKeyButtons(keysDown({SDLK_HOME, SDLK_END, SDLK_PAGEDOWN, SDLK_PAGEUP})),
              bits({PAD_A, PAD_B, PAD_X, PAD_Y}));
    EXPECT_EQ(heldKeyButtons(keysDown({SDLK_RETURN})), bits({PAD_X}));
    EXPECT_EQ(heldKeyButtons(keysDown({SDLK_KP_ENTER})), bits({PAD_X}));
    EXPECT_EQ(heldKeyButtons(keysDown({SDLK_RSHIFT, SDLK_RCTRL, SDLK_LCTRL})), bits({PAD_L, PAD_R, PAD_SELECT}));
    // Other letters are for typing names, and the pause keys act once per press.
    EXPECT_EQ(heldKeyButtons(keysDown({SDLK_q, SDLK_z, SDLK_1, SDLK_p, SDLK_ESCAPE, SDLK_LSHIFT})), 0u);
}

TEST(DesktopControls, PauseKeysPressStartOnceAndEscapeGoesBackInTheMenus)
{
    EXPECT_EQ(pulsedKeyButtons(keysDown({SDLK_p}), false), bits({PAD_START}));
    EXPECT_EQ(pulsedKeyButtons(keysDown({SDLK_PAUSE}), true), bits({PAD_START}));
    EXPECT_EQ(pulsedKeyButtons(keysDown({SDLK_ESCAPE}), false), bits({PAD_START}));
    EXPECT_EQ(pulsedKeyButtons(keysDown({SDLK_ESCAPE}), true), bits({PAD_B}));
    EXPECT_EQ(pulsedKeyButtons(keysDown({SDLK_w, SDLK_RETURN}), true), 0u);
}

TEST(DesktopControls, TheKeypadAndTheMouseDeflectTheNubsFully)
{
    EXPECT_NUB(keypad({SDLK_KP_8}), 0, -256);
    EXPECT_NUB(keypad({SDLK_KP_3}), 181, 181);
    EXPECT_NUB(keypad({SDLK_KP_4, SDLK_KP_8}), -181, -181);
    EXPECT_NUB(keypad({SDLK_KP_4, SDLK_KP_6}), 0, 0);
    EXPECT_NUB(keypad({}), 0, 0);

    // From the ship in the middle of a 1600 x 960 window towards the pointer.
    EXPECT_NUB(aim(1599, 480, 1600, 960), 256, 0);
    EXPECT_NUB(aim(800, 0, 1600, 960), 0, -256);
    EXPECT_NUB(aim(900, 580, 1600, 960), 181, 181);
    EXPECT_NUB(aim(0, 0, 1600, 960), -220, -132);
    EXPECT_NUB(aim(800, 480, 1600, 960), 0, 0);
    // However small the window, the deflection is full.
    EXPECT_NUB(aim(319, 120, 320, 240), 256, 0);
}

TEST(DesktopControls, PadButtonsCountByTheirPlaces)
{
    struct Case {
        SDL_GameControllerButton button;
        bool Controller::*field;
    };
    const Case cases[] = {
        {SDL_CONTROLLER_BUTTON_A, &Controller::inputX},
        {SDL_CONTROLLER_BUTTON_B, &Controller::inputB},
        {SDL_CONTROLLER_BUTTON_X, &Controller::inputA},
        {SDL_CONTROLLER_BUTTON_Y, &Controller::inputY},
        {SDL_CONTROLLER_BUTTON_BACK, &Controller::inputSelect},
        {SDL_CONTROLLER_BUTTON_START, &Controller::inputStart},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, &Controller::inputL},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, &Controller::inputR},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, &Controller::inputUp},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, &Controller::inputDown},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, &Controller::inputLeft},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, &Controller::inputRight},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(SDL_GameControllerGetStringForButton(c.button));
        PadState state;
        state.buttons = 1u << padButtonFor(c.button);
        Controller controller = {};
        applyPadState(state, &controller);
        // The twelve cases name every button once: only this one is held.
        for (const Case& other : cases)
            EXPECT_EQ(controller.*other.field, other.field == c.field);
    }
    EXPECT_EQ(padButtonFor(SDL_CONTROLLER_BUTTON_GUIDE), -1);
    EXPECT_EQ(padButtonFor(SDL_CONTROLLER_BUTTON_LEFTSTICK), -1);

    EXPECT_EQ(triggerButtons(16384, 0), 0u);
    EXPECT_EQ(triggerButtons(16385, 32767), bits({PAD_L, PAD_R}));
}

TEST(DesktopControls, SticksRestWithinAQuarterOfTheirTravel)
{
    EXPECT_NUB(stick(8000, 0), 0, 0);
    EXPECT_NUB(stick(5700, -5700), 0, 0);     // 8061 from the centre, inside the circle
    EXPECT_NUB(stick(5800, -5800), 45, -45);  // 8202, just outside
    EXPECT_NUB(stick(0, 8192), 0, 64);
    EXPECT_NUB(stick(32767, 0), 256, 0);
    EXPECT_NUB(stick(-32768, -32768), -256, -256);
    EXPECT_NUB(stick(16384, -16384), 128, -128);
}

TEST(DesktopControls, SourcesAddUpAndANubFollowsTheFirstThatMovesIt)
{
    PadState keyboard;
    keyboard.buttons = bits({PAD_UP});
    keyboard.nub[1][0] = 256;  // the mouse aims
    PadState pad;
    pad.buttons = bits({PAD_X});
    pad.nub[0][1] = -100;
    pad.nub[1][1] = 200;
    addPadState(&keyboard, pad);
    Controller controller = {};
    applyPadState(keyboard, &controller);
    EXPECT_TRUE(controller.inputUp);
    EXPECT_TRUE(controller.inputX);
    EXPECT_EQ(controller.nub0X, 0);
    EXPECT_EQ(controller.nub0Y, -100) << "the resting keypad lets the stick steer";
    EXPECT_EQ(controller.nub1X, 256) << "the mouse keeps its aim over the stick";
    EXPECT_EQ(controller.nub1Y, 0);
}
