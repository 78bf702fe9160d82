#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "gl_support.h"
#include "png_bytes.h"

namespace {

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

TEST(Images, OversizedOrBrokenOptionalImagesGiveTextureZero)
{
    const std::string path = "/tmp/zynthra_optional_" + std::to_string(getpid()) + ".png";
    for (const std::string& bytes : {pngHeaderDeclaring(100000, 100000), greyPng(2049, 1), std::string("GIF89a")}) {
        writeFile(path, bytes);
        EXPECT_EQ(loadImage(path.c_str()), 0u);
    }
    unlink(path.c_str());
}
