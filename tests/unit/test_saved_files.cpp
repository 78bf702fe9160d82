// The player's files against a shared folder, links, planted files, pipes,
// devices and files far larger than the game ever writes.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <vector>

#include "menu_test_support.h"
#include "saved_file.h"

namespace {
const char* const table =
    "ann\t900\nbo\t800\ncy\t700\ndi\t600\ned\t500\nfay\t400\ngus\t300\nhal\t200\nivy\t100\njo\t-1\n";

const char* const unreadableScores =
    "Unable to open high scores file!\nhighScores.txt cannot be read: scores will not be saved\n";
const char* const unreadableConfig =
    "Unable to open config file!\nconfig.txt cannot be read: settings will not be saved\n";

mode_t modeOf(const char* path)
{
    struct stat info = {};
    lstat(path, &info);
    return info.st_mode & 07777;
}

bool isLink(const char* path)
{
    struct stat info = {};
    return lstat(path, &info) == 0 && S_ISLNK(info.st_mode);
}
}  // namespace

class SavedFiles : public MenuTest {
protected:
    // Finishes the name entry of `of` with the name given, as the confirm button does.
    void enterName(Menu& of, const std::string& name)
    {
        of.currentEntry = name;
        controls.inputX = true;
        of.menuPollInput(0.25);
        controls.inputX = false;
    }
};

// Two programs in one folder read the table at start; each saves its new rows
// into the table as the other left it, equal scores in the order they were made.
TEST_F(SavedFiles, TwoProgramsKeepEachOthersRows)
{
    writeFile("highScores.txt", table);
    makeMenu();
    std::unique_ptr<Menu> first = std::move(menu);
    makeMenu();
    Menu& second = *menu;

    first->addHighScore(500);
    enterName(*first, "amy");
    second.addHighScore(500);
    enterName(second, "bea");
    const std::string both =
        "ann\t900\nbo\t800\ncy\t700\ndi\t600\ned\t500\namy\t500\nbea\t500\nfay\t400\ngus\t300\n"
        "hal\t200\n";
    EXPECT_EQ(readFile("highScores.txt"), both);
    EXPECT_EQ(second.highScores_names[6], "bea") << "the screen shows the table saved";
    EXPECT_EQ(second.highScores_names[5], "amy");
    EXPECT_EQ(second.highScores_scores[5], 500);

    // The first program's next row goes into the table with the second's row in it.
    first->addHighScore(1000);
    enterName(*first, "cat");
    EXPECT_EQ(readFile("highScores.txt"), "cat\t1000\n" + both.substr(0, both.rfind("hal")));

    // Settings are whole: the last program to save them wins.
    first->movementOption = SCHEME_DPAD;
    first->writeConfig();
    second.writeConfig();
    EXPECT_EQ(readFile("config.txt").substr(0, 11), "movement\t0\n");
}

// The close button (or a signal) during name entry: every name stays beside its
// own score and the new row keeps what was typed, or a name of its own.
TEST_F(SavedFiles, ClosingDuringNameEntryKeepsNamesBesideTheirScores)
{
    writeFile("highScores.txt",
              "ann\t900\nbo\t800\ncy\t700\ndi\t600\ned\t500\nfay\t-1\ngus\t-2\nhal\t-3\nivy\t-4\njo\t-5\n");
    makeMenu();
    menu->addHighScore(0);
    menu->saveBeforeQuit();
    const std::string unnamed =
        "ann\t900\nbo\t800\ncy\t700\ndi\t600\ned\t500\nplayer\t0\nfay\t-1\ngus\t-2\nhal\t-3\nivy\t-4\n";
    EXPECT_EQ(readFile("highScores.txt"), unnamed);

    makeMenu();
    menu->addHighScore(700);
    keys[38] = 1;  // a
    frame();
    keys[38] = 0;
    menu->saveBeforeQuit();
    EXPECT_EQ(menu->highScores_names[3], "a");
    EXPECT_EQ(menu->highScores_scores[3], 700);
    EXPECT_EQ(menu->highScores_scores[4], 600);
    EXPECT_EQ(readFile("highScores.txt").substr(0, 42), "ann\t900\nbo\t800\ncy\t700\na\t700\ndi\t600\ned\t500\n");

    // Elsewhere the close saves the settings and leaves a saved table as it is.
    const std::string saved = readFile("highScores.txt");
    menu->movementOption = SCHEME_FACE_BUTTONS;
    menu->saveBeforeQuit();
    EXPECT_EQ(readFile("highScores.txt"), saved);
    EXPECT_EQ(readFile("config.txt").substr(0, 11), "movement\t3\n");
}

// A link is written through: it stays a link, its target takes the new table
// and keeps its mode, and so does a read-only settings file.
TEST_F(SavedFiles, LinksAreWrittenThroughAndModesKept)
{
    std::filesystem::create_directory("elsewhere");
    writeFile("elsewhere/scores", table);
    chmod("elsewhere/scores", 0600);
    // A chain of two links, the second relative to its own folder.
    std::filesystem::create_symlink("scores", "elsewhere/link");
    std::filesystem::create_symlink("elsewhere/link", "highScores.txt");
    writeFile("config.txt", "movement\t2\nfiring\t3\nsound\t20\nmusic\t30\n");
    chmod("config.txt", 0400);
    const mode_t previousMask = umask(022);

    makeMenu();
    menu->readConfig();
    menu->addHighScore(1000);
    press(&Controller::inputX);
    EXPECT_TRUE(isLink("highScores.txt"));
    EXPECT_EQ(readFile("elsewhere/scores").substr(0, 14), "\t1000\nann\t900\n");
    EXPECT_EQ(modeOf("elsewhere/scores"), 0600u);
    EXPECT_TRUE(std::filesystem::exists("elsewhere/scores.lock")) << "the lock is beside the file saved";

    menu->movementOption = SCHEME_RIGHT_NUB;
    menu->writeConfig();
    EXPECT_EQ(readFile("config.txt"), "movement\t1\nfiring\t3\nsound\t20\nmusic\t30\n");
    EXPECT_EQ(modeOf("config.txt"), 0400u);

    // A link to a file not made yet: the defaults are saved where it leads.
    std::filesystem::remove("highScores.txt");
    std::filesystem::create_symlink("new-scores", "highScores.txt");
    makeMenu();
    EXPECT_TRUE(isLink("highScores.txt"));
    EXPECT_EQ(readFile("new-scores").substr(0, 13), "kovar\t935808\n");
    EXPECT_EQ(modeOf("new-scores"), 0644u);
    umask(previousMask);
}

// A planted temporary never takes the save anywhere else; what a killed save
// left behind goes at the next save.
TEST_F(SavedFiles, PlantedAndLeftoverTemporariesChangeNothing)
{
    writeFile("precious", "mine");
    std::filesystem::create_symlink("precious", "highScores.txt.tmp");
    std::filesystem::create_symlink("precious", "highScores.txt.tmp.Ab12Cd");
    writeFile("highScores.txt.tmp.a1B2c3", "half a tab");

    makeMenu();  // no table: the defaults are saved
    EXPECT_EQ(readFile("precious"), "mine");
    EXPECT_FALSE(isLink("highScores.txt"));
    EXPECT_EQ(readFile("highScores.txt").substr(0, 13), "kovar\t935808\n");
    EXPECT_EQ(folderContents(), (std::set<std::string>{"highScores.txt", "highScores.txt.lock", "highScores.txt.tmp",
                                                       "precious", "zyn.png"}));
}

// Pipes, devices and sockets are not read (nothing blocks) and never replaced;
// a regular file is read up to 64 KiB, without the line the limit cuts.
TEST_F(SavedFiles, OnlyRegularFilesAreReadAndNoMoreThanTheLimit)
{
    ASSERT_EQ(mkfifo("highScores.txt", 0600), 0);
    std::filesystem::create_symlink("/dev/zero", "config.txt");
    EXPECT_EQ(makeMenuCapturingOutput(), unreadableScores);
    testing::internal::CaptureStdout();
    menu->readConfig();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), unreadableConfig);
    menu->addHighScore(1);
    press(&Controller::inputX);
    menu->writeConfig();
    EXPECT_EQ(std::filesystem::status("highScores.txt").type(), std::filesystem::file_type::fifo);
    EXPECT_TRUE(isLink("config.txt"));

    // A socket in the file's place.
    std::filesystem::remove("highScores.txt");
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    snprintf(address.sun_path, sizeof address.sun_path, "%s/highScores.txt", folder.c_str());
    ASSERT_EQ(bind(sock, (const sockaddr*)&address, sizeof address), 0);
    EXPECT_EQ(makeMenuCapturingOutput(), unreadableScores);
    close(sock);

    // A file that turns into a pipe after it was read is not replaced either.
    std::filesystem::remove("highScores.txt");
    writeFile("highScores.txt", table);
    makeMenu();
    std::filesystem::remove("highScores.txt");
    ASSERT_EQ(mkfifo("highScores.txt", 0600), 0);
    menu->addHighScore(1000);
    testing::internal::CaptureStdout();
    press(&Controller::inputX);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "highScores.txt could not be saved: not a regular file\n");
    EXPECT_EQ(std::filesystem::status("highScores.txt").type(), std::filesystem::file_type::fifo);

    // Ten rows, then lines up to and past the limit, the last one cut by it.
    std::filesystem::remove("highScores.txt");
    const std::string line(99, 'x');
    std::string big = table;
    while (big.size() < savedFileLimit - 200)
        big += line + '\n';
    big += std::string(savedFileLimit - 6 - big.size() - 1, 'y') + '\n';
    big += "zed\t123456789\n";  // from 6 bytes before the limit
    writeFile("highScores.txt", big);
    std::filesystem::resize_file("highScores.txt", 1ull << 30);  // a GiB, in holes
    std::string contents;
    EXPECT_EQ(readSavedFile("highScores.txt", contents), FileRead::read);
    EXPECT_EQ(contents.size(), big.size() - 14) << "read up to the limit, less the line it cut";
    makeMenu();
    EXPECT_EQ(menu->highScores_names[0], "ann");
    EXPECT_EQ(menu->highScores_scores[9], -1);

    // A GiB without a line feed holds no table: it cannot be read, and stays.
    std::filesystem::resize_file("highScores.txt", 0);
    std::filesystem::resize_file("highScores.txt", 1ull << 30);
    EXPECT_EQ(makeMenuCapturingOutput(), unreadableScores);
    menu->addHighScore(1);
    press(&Controller::inputX);
    EXPECT_EQ(std::filesystem::file_size("highScores.txt"), 1ull << 30);
}
