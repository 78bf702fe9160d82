// Arbitrary bytes as a saved file, as they are and repeated past the 64 KiB
// the game reads: what is read is the file's beginning up to its last whole
// line within the limit, all of a file within it, and a file with no whole
// line there cannot be read.
#include <cstdint>
#include <string>

#include "fuzz_folder.h"
#include "saved_file.h"

namespace {

void checkRead(const std::string& file)
{
    writeBytes("saved.txt", reinterpret_cast<const uint8_t*>(file.data()), file.size());
    std::string contents;
    const FileRead result = readSavedFile("saved.txt", contents);
    if (file.size() <= savedFileLimit) {
        FUZZ_CHECK(result == FileRead::read && contents == file);
        return;
    }
    const size_t lastLineEnd = file.rfind('\n', savedFileLimit - 1);
    if (lastLineEnd == std::string::npos) {
        FUZZ_CHECK(result == FileRead::unreadable && contents.empty());
        return;
    }
    FUZZ_CHECK(result == FileRead::read);
    FUZZ_CHECK(contents == file.substr(0, lastLineEnd + 1));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    enterPrivateFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    checkRead(input);
    if (size == 0)
        return 0;
    std::string repeated;
    while (repeated.size() <= savedFileLimit)
        repeated += input;
    checkRead(repeated);
    return 0;
}
