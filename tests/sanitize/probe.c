/* Does one thing wrong, chosen by its argument, for reports_test.sh to check
 * that the sanitized runs report it and fail: a heap overflow, signed overflow,
 * a leak of our own, or a leak held by a library it loads and closes again. */
#include <dlfcn.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void* volatile kept; /* volatile: the compiler must not drop the allocations */

static int overflow(void)
{
    char* block = calloc(16, 1);
    char copy[32];
    volatile size_t size = 17; /* one byte past the block */
    memcpy(copy, block, size);
    free(block);
    return copy[0];
}

static int signedOverflow(void)
{
    volatile int big = INT_MAX;
    return big + 1;
}

static int leak(void)
{
    kept = malloc(64);
    kept = NULL;
    return 0;
}

/* The library keeps its allocation in a global of its own, which disappears
 * with it when it is really unloaded. */
static int libraryHold(const char* library)
{
    void* handle = dlopen(library, RTLD_NOW);
    if (!handle) {
        fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    void (*hold)(void) = (void (*)(void))dlsym(handle, "probeLibraryHold");
    if (!hold)
        return 2;
    hold();
    dlclose(handle);
    return 0;
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    if (strcmp(argv[1], "overflow") == 0)
        return overflow();
    if (strcmp(argv[1], "signed-overflow") == 0)
        return signedOverflow();
    if (strcmp(argv[1], "leak") == 0)
        return leak();
    if (strcmp(argv[1], "library") == 0 && argc == 3)
        return libraryHold(argv[2]);
    if (strcmp(argv[1], "nothing") == 0)
        return 0;
    return 2;
}
