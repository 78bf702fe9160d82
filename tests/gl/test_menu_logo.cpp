#include <filesystem>
#include <memory>

#include "Game.h"
#include "Menus.h"
#include "gl_fixture.h"
#include "temp_folder.h"

// Each return to the main menu loads the logo again; the previous texture must go.
TEST_F(GlTest, ReloadingTheMainMenuReleasesThePreviousLogo)
{
    TempFolder temp("zynthra_logo_");
    ASSERT_TRUE(temp.ok());
    const std::filesystem::path folder = temp.path();
    std::filesystem::copy_file(std::filesystem::path(ZYNTHRA_DATA_DIR) / "zyn.png", folder / "zyn.png");
    std::filesystem::current_path(folder);

    Controller controls{};
    int keys[256] = {0};
    auto game = std::make_unique<Game>();
    auto menu = std::make_unique<Menu>();
    menu->setupControls(&controls);
    menu->setKeyboard(keys);
    menu->setGame(game.get());
    game->setMenu(menu.get());

    menu->loadMainMenu();
    const GLuint first = menu->zynText;
    ASSERT_TRUE(glIsTexture(first));
    menu->loadMainMenu();
    EXPECT_NE(menu->zynText, 0);
    EXPECT_TRUE(glIsTexture(menu->zynText));
    if (menu->zynText != (int)first) {
        EXPECT_FALSE(glIsTexture(first)) << "the old logo texture leaked";
    }

    std::filesystem::current_path(ZYNTHRA_DATA_DIR);
}
