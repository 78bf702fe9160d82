/* Loaded and closed again by the probe: holds memory in globals of its own. */
#include <stdlib.h>

static void* held[8];

__attribute__((visibility("default"))) void probeLibraryHold(void)
{
    for (int i = 0; i < 8; i++)
        held[i] = malloc(48);
}
