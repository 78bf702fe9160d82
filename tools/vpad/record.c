/* Recording a player's game as a script.
 *
 * Each frame, whatever changed on the pad is written under a `frame N` line, so
 * the script sets the same state in the same sleep as the live pad did. Played
 * with the seed it starts with (which also holds the clock), it gives the same
 * game. The file is flushed every frame that wrote something: a game that ends
 * badly still leaves its replay behind. */
#define _GNU_SOURCE
#include "record.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct vpad_recorder {
    FILE* file;
    const char* path; /* the environment's, which outlives the recorder */
    struct vpad_state last;
    int failed; /* said once; the game plays on unrecorded */
};

/* Flushes what was written; the first failure is said, with its reason. */
static void flush(struct vpad_recorder* r)
{
    if (r->failed || fflush(r->file) == 0)
        return;
    r->failed = 1;
    vpad_warn("the recording %s cannot be written: %s", r->path, strerror(errno));
}

struct vpad_recorder* vpad_record_open(const char* path, long seed)
{
    struct vpad_recorder* r = calloc(1, sizeof *r);
    FILE* file = fopen(path, "w");
    if (r == NULL || file == NULL) {
        vpad_warn("cannot record into %s: %s", path, strerror(errno));
        free(r);
        if (file)
            fclose(file);
        return NULL;
    }
    r->file = file;
    r->path = path;
    fprintf(file, "# recorded by vpad; replay with VPAD_SCRIPT=%s\nseed %ld\n", path, seed);
    flush(r);
    if (r->failed) {
        fclose(file);
        free(r);
        return NULL;
    }
    return r;
}

static void start_frame(struct vpad_recorder* r, long frame, int* started)
{
    if (!*started)
        fprintf(r->file, "frame %ld\n", frame);
    *started = 1;
}

void vpad_record_frame(struct vpad_recorder* r, long frame, const struct vpad_state* state)
{
    int started = 0;
    unsigned changed = state->buttons ^ r->last.buttons;
    for (int i = 0; i < VPAD_BUTTONS; i++) {
        if (!(changed & (1u << i)))
            continue;
        start_frame(r, frame, &started);
        fprintf(r->file, "%s %s\n", state->buttons & (1u << i) ? "press" : "release", vpad_buttons[i].name);
    }
    for (int n = 0; n < 2; n++) {
        if (state->nub[n][0] == r->last.nub[n][0] && state->nub[n][1] == r->last.nub[n][1])
            continue;
        start_frame(r, frame, &started);
        fprintf(r->file, "nub%d %d %d\n", n, state->nub[n][0], state->nub[n][1]);
    }
    r->last = *state;
    if (started)
        flush(r);
}

void vpad_record_close(struct vpad_recorder* r)
{
    if (r == NULL)
        return;
    if (fclose(r->file) != 0 && !r->failed)
        vpad_warn("the recording could not be written whole: %s", strerror(errno));
    free(r);
}
