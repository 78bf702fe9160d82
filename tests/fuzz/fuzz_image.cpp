// Arbitrary bytes as an image file for loadImage, the game's PNG reader.
//
// Run without a GL context: the file is read entirely by the decode step that
// loadImage is built on, and the upload that follows it is Mesa's work, not the
// game's (with no context those GL calls do nothing). A context would add the
// driver's allocations to every leak check and a texture upload to every run.
// What the game must do with a damaged or hostile file is all here: never
// crash, never leak, and refuse an image larger than 2048 x 2048 before its
// pixels are allocated (the run's malloc limit catches one that is not).
#include <cstdint>

#include "fuzz_folder.h"
#include "gl_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    enterPrivateFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    writeBytes("image.png", data, size);
    loadImage("image.png");
    return 0;
}
