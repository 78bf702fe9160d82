// Arbitrary bytes as config.txt: the settings read are ones the game can use,
// the file that was read is left alone, and what the game writes back reads as
// the same settings.
#include <cstdint>
#include <string>

#include "Game.h"
#include "Menus.h"
#include "Sound.h"
#include "fuzz_folder.h"

namespace {

Game* game;
Menu* menu;

struct Settings {
    int movement, firing, sound, music;
    bool operator==(const Settings& o) const
    {
        return movement == o.movement && firing == o.firing && sound == o.sound && music == o.music;
    }
};

Settings current()
{
    return {menu->movementOption, menu->firingOption, getSoundVol(), getMusicVol()};
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    enterPrivateFolder();
    game = new Game();
    menu = new Menu();
    menu->setGame(game);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    // Keys a file leaves out keep what the game had: always the same start.
    menu->movementOption = DEFAULT_MOVEMENT_SCHEME;
    menu->firingOption = DEFAULT_FIRING_SCHEME;
    setSoundVolDirect(40);
    setMusicVolDirect(50);
    writeBytes("config.txt", data, size);
    menu->readConfig();
    const Settings read = current();
    // A scheme above the four is refused; one below is the game's to treat as the default.
    FUZZ_CHECK(read.movement < NUM_CONTROL_SCHEMES && read.firing < NUM_CONTROL_SCHEMES);
    FUZZ_CHECK(readBytes("config.txt") == input);

    menu->writeConfig();
    const std::string written = readBytes("config.txt");
    // Settings the written file does not bring back would show up as a difference.
    menu->movementOption = menu->firingOption = SCHEME_DPAD;
    setSoundVolDirect(17);
    setMusicVolDirect(83);
    menu->readConfig();
    FUZZ_CHECK(current() == read);
    menu->writeConfig();
    FUZZ_CHECK(readBytes("config.txt") == written);
    return 0;
}
