#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "gl_support.h"
#include "png_bytes.h"

// The font and the logo: a file that cannot be decoded ends the game with the
// same line and status as a missing one. No GL context is needed, as decoding
// fails before anything would be uploaded.
namespace {

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Standard output joins standard error, where death tests look for the message.
void loadWithOutputOnStderr(const std::string& path)
{
    dup2(2, 1);
    loadRequiredImage(path.c_str());
    fflush(stdout);
}

}  // namespace

TEST(RequiredImages, UndecodableFilesEndTheProgramLikeAMissingOne)
{
    const std::string path = "/tmp/zynthra_required_" + std::to_string(getpid()) + ".png";
    const std::string good = greyPng(64, 64);
    const std::string damaged[] = {
        "",                                  // empty
        "this is not an image\n",            // text
        good.substr(0, good.size() / 2),     // truncated inside the image data
        good.substr(0, 20),                  // truncated inside the header
        pngHeaderDeclaring(100000, 100000),  // would need 40 GB
        greyPng(4096, 1),                    // wider than any texture the game takes
        greyPng(1, 2049),
    };
    for (const std::string& bytes : damaged) {
        writeFile(path, bytes);
        EXPECT_EXIT(loadWithOutputOnStderr(path), testing::ExitedWithCode(1), "Unable to open image " + path + "!")
            << bytes.size() << "-byte file";
    }
    unlink(path.c_str());
    EXPECT_EXIT(loadWithOutputOnStderr(path), testing::ExitedWithCode(1), "Unable to open image " + path + "!");
}

TEST(RequiredImages, TheLargestAcceptedSizeDecodes)
{
    const std::string path = "/tmp/zynthra_required_" + std::to_string(getpid()) + ".png";
    writeFile(path, greyPng(2048, 2048));
    EXPECT_EXIT(
        {
            loadRequiredImage(path.c_str());
            exit(0);
        },
        testing::ExitedWithCode(0), "");
    unlink(path.c_str());
}

TEST(Images, OversizedOrBrokenOptionalImagesGiveTextureZero)
{
    const std::string path = "/tmp/zynthra_optional_" + std::to_string(getpid()) + ".png";
    for (const std::string& bytes : {pngHeaderDeclaring(100000, 100000), greyPng(2049, 1), std::string("GIF89a")}) {
        writeFile(path, bytes);
        EXPECT_EQ(loadImage(path.c_str()), 0u);
    }
    unlink(path.c_str());
}
