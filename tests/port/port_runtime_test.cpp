// What the ARM handheld builds of the SDL 2 edition replace or carry inside
// (cmake/Port.cmake), exercised as the programs use it: the C library's old
// versions and our stand-ins (compat/), the C++ runtime linked in, and
// SDL_mixer with only its WAV and Ogg Vorbis players.
#include <SDL.h>
#include <SDL_mixer.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <mutex>
#include <random>
#include <set>
#include <stdexcept>
#include <string>

namespace {

std::string dataFile(const char* name)
{
    return std::string(ZYNTHRA_DATA_DIR) + "/" + name;
}

[[gnu::noinline]] int throwFromDepth(int depth)
{
    if (depth == 0)
        throw std::runtime_error("from the bottom");
    return throwFromDepth(depth - 1) + 1;
}

TEST(PortRuntime, ExceptionsUnwindThroughFramesAndAreCaught)
{
    // The unwinder finds each frame's tables through the C library.
    try {
        throwFromDepth(5);
        FAIL() << "nothing was thrown";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "from the bottom");
    }
}

TEST(PortRuntime, FileStatusThroughTheOldCalls)
{
    std::string path = testing::TempDir() + "port_runtime_stat";
    std::string link = path + ".link";
    std::FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("twelve bytes", file);
    std::fclose(file);
    chmod(path.c_str(), 0640);
    unlink(link.c_str());
    ASSERT_EQ(symlink(path.c_str(), link.c_str()), 0);

    struct stat byPath {};
    struct stat byLink {};
    struct stat byDescriptor {};
    ASSERT_EQ(stat(link.c_str(), &byPath), 0);
    EXPECT_EQ(byPath.st_size, 12);
    EXPECT_EQ(byPath.st_mode & 0777, 0640u);
    EXPECT_TRUE(S_ISREG(byPath.st_mode));
    ASSERT_EQ(lstat(link.c_str(), &byLink), 0);
    EXPECT_TRUE(S_ISLNK(byLink.st_mode));
    int fd = open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(fstat(fd, &byDescriptor), 0);
    close(fd);
    EXPECT_EQ(byDescriptor.st_ino, byPath.st_ino);
    EXPECT_EQ(byDescriptor.st_size, 12);
    EXPECT_NE(stat((path + ".missing").c_str(), &byPath), 0);
    unlink(link.c_str());
    unlink(path.c_str());
}

TEST(PortRuntime, MathsAndRandomnessAndOnceOnlyCalls)
{
    volatile double x = 2.0;  // computed at run time, not folded by the compiler
    EXPECT_NEAR(std::exp(x), 7.38905609893065, 1e-12);
    EXPECT_NEAR(std::log(x), 0.693147180559945, 1e-12);
    EXPECT_DOUBLE_EQ(std::pow(x, 10.0), 1024.0);
    EXPECT_NEAR(std::exp2(static_cast<float>(x) + 0.5f), 5.656854f, 1e-5f);
    EXPECT_NEAR(std::log2(static_cast<float>(x) * 4.0f), 3.0f, 1e-6f);

    std::random_device device;
    std::set<unsigned> values;
    for (int i = 0; i < 8; ++i)
        values.insert(device());
    EXPECT_GT(values.size(), 1u) << "the random device repeats one value";

    std::once_flag flag;
    int calls = 0;
    for (int i = 0; i < 3; ++i)
        std::call_once(flag, [&calls] { ++calls; });
    EXPECT_EQ(calls, 1);
}

class PortMixer : public testing::Test {
protected:
    void SetUp() override
    {
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 4096), 0) << Mix_GetError();
    }
    void TearDown() override
    {
        Mix_CloseAudio();
        SDL_Quit();
    }
};

TEST_F(PortMixer, PlaysTheGamesFormatsAndOnlyThose)
{
    // Players are opened when asked for: ask for all of them.
    EXPECT_EQ(Mix_Init(MIX_INIT_OGG), MIX_INIT_OGG);
    EXPECT_EQ(Mix_Init(MIX_INIT_FLAC | MIX_INIT_MOD | MIX_INIT_MP3 | MIX_INIT_MID | MIX_INIT_OPUS) & ~MIX_INIT_OGG, 0);
    std::set<std::string> players;
    for (int i = 0; i < Mix_GetNumMusicDecoders(); ++i)
        players.insert(Mix_GetMusicDecoder(i));
    EXPECT_EQ(players, (std::set<std::string>{"WAVE", "OGG"}));

    Mix_Music* music = Mix_LoadMUS(dataFile("menuLoop.ogg").c_str());
    EXPECT_NE(music, nullptr) << Mix_GetError();
    EXPECT_EQ(Mix_GetMusicType(music), MUS_OGG);
    Mix_FreeMusic(music);

    // Decoded whole: the Ogg Vorbis decoder inside the program works.
    Mix_Chunk* decoded = Mix_LoadWAV(dataFile("musicLoop.ogg").c_str());
    ASSERT_NE(decoded, nullptr) << Mix_GetError();
    EXPECT_GT(decoded->alen, 22050u * 4u) << "less than a second of music";
    Mix_FreeChunk(decoded);
    Mix_Chunk* effect = Mix_LoadWAV(dataFile("laser4_soft.wav").c_str());
    EXPECT_NE(effect, nullptr) << Mix_GetError();
    Mix_FreeChunk(effect);
}

TEST_F(PortMixer, AnythingElseIsRefusedWithoutHarm)
{
    // Not audio at all, and a format whose player is left out.
    EXPECT_EQ(Mix_LoadMUS(dataFile("font.png").c_str()), nullptr);
    std::string midi = testing::TempDir() + "port_runtime.mid";
    std::FILE* file = std::fopen(midi.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite("MThd\0\0\0\6\0\0\0\1\0\x60", 1, 14, file);
    std::fclose(file);
    EXPECT_EQ(Mix_LoadMUS(midi.c_str()), nullptr);
    unlink(midi.c_str());
    EXPECT_EQ(Mix_LoadMUS(dataFile("no such file.ogg").c_str()), nullptr);
}

}  // namespace
