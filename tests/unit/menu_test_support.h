#pragma once

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "Game.h"
#include "Menus.h"
#include "Sound.h"
#include "controller_support.h"
#include "png_bytes.h"
#include "sound_double.h"
#include "temp_folder.h"

// Every menu test runs in a fresh, empty working folder: the menu reads and
// writes its files there, as the game does in its own folder.
class MenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        temp = std::make_unique<TempFolder>("zynthra_menu_");
        ASSERT_TRUE(temp->ok());
        folder = temp->path();
        previous = std::filesystem::current_path();
        std::filesystem::current_path(folder);
        // A real image: the logo is required. Without a GL context it loads as texture 0.
        writeFile("zyn.png", greyPng(1, 1));
        sound_double::reset();
        game = std::make_unique<Game>();
    }

    void TearDown() override
    {
        std::filesystem::current_path(previous);
        temp.reset();
    }

    // Builds, links and opens the menu the way main does; its constructor
    // reads the high scores.
    Menu& makeMenu()
    {
        menu = std::make_unique<Menu>();
        menu->setupControls(&controls);
        menu->setGame(game.get());
        menu->setKeyboard(keys);
        game->setupControls(&controls);
        game->setMenu(menu.get());
        menu->loadMainMenu();
        return *menu;
    }

    // Like makeMenu, returning what the construction printed.
    std::string makeMenuCapturingOutput()
    {
        testing::internal::CaptureStdout();
        makeMenu();
        return testing::internal::GetCapturedStdout();
    }

    void frame(double dT = 0.25) { menu->menuPollInput(dT); }

    // Holds one button for a single frame that comes after the repeat gate has opened.
    void press(bool Controller::*button)
    {
        controls.*button = true;
        frame();
        controls.*button = false;
    }

    static void writeFile(const std::string& name, const std::string& text)
    {
        std::ofstream(name, std::ios::binary) << text;
    }

    static std::string readFile(const std::string& name)
    {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // The names in the working folder, so a stray temporary file shows up.
    static std::set<std::string> folderContents()
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator("."))
            names.insert(entry.path().filename());
        return names;
    }

    std::unique_ptr<TempFolder> temp;
    std::filesystem::path folder;
    std::filesystem::path previous;
    Controller controls{};
    int keys[256] = {};
    std::unique_ptr<Game> game;
    std::unique_ptr<Menu> menu;
};

// Makes every write past the first `bytes` of a file fail, as a full disk or a
// crash half-way through a save would, for as long as it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = signal(SIGXFSZ, SIG_IGN);
        const rlimit limit = {bytes, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    sighandler_t previousHandler_;
};

// Lets permission bits stop this process for as long as it lives, even when the
// tests run as root: the capabilities that override them leave the effective
// set (they stay permitted, so they come back afterwards).
class PermissionsApply {
public:
    PermissionsApply()
    {
        if (syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        changed_ = syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~PermissionsApply()
    {
        if (changed_)
            syscall(SYS_capset, &header_, saved_);
    }

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
    bool changed_ = false;
};
