/* Recording a player's game as a script.
 *
 * Each frame, whatever changed on the pad is written under a `frame N` line, so
 * the script sets the same state in the same sleep as the live pad did. Played
 * with the seed it starts with (which also holds the clock), it gives the same
 * game. The file is flushed every frame that wrote something: a game that ends
 * badly still leaves its replay behind. */
#define _GNU_SOURCE
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "pad_script.h"

struct pad_recorder {
    FILE* file;
    char* path;
    struct pad_script_hooks hooks;
    struct pad_state last;
    int failed; /* said once; the game plays on unrecorded */
};

/* Flushes what was written; the first failure is said, with its reason. */
static void flush(struct pad_recorder* r)
{
    if (r->failed || fflush(r->file) == 0)
        return;
    r->failed = 1;
    pad_script_say(&r->hooks, "the recording %s cannot be written: %s", r->path, strerror(errno));
}

static void discard(struct pad_recorder* r)
{
    if (r->file)
        fclose(r->file);
    free(r->path);
    free(r);
}

struct pad_recorder* pad_record_open(const char* path, long seed, const char* header,
                                     const struct pad_script_hooks* hooks)
{
    struct pad_recorder* r = calloc(1, sizeof *r);
    if (r == NULL || (r->file = fopen(path, "w")) == NULL || (r->path = strdup(path)) == NULL) {
        pad_script_say(hooks, "cannot record into %s: %s", path, strerror(errno));
        if (r)
            discard(r);
        return NULL;
    }
    r->hooks = *hooks;
    fprintf(r->file, "# %s\nseed %ld\n", header, seed);
    flush(r);
    if (r->failed) {
        discard(r);
        return NULL;
    }
    return r;
}

static void start_frame(struct pad_recorder* r, long frame, int* started)
{
    if (!*started)
        fprintf(r->file, "frame %ld\n", frame);
    *started = 1;
}

void pad_record_frame(struct pad_recorder* r, long frame, const struct pad_state* state)
{
    int started = 0;
    unsigned changed = state->buttons ^ r->last.buttons;
    for (int i = 0; i < PAD_BUTTONS; i++) {
        if (!(changed & (1u << i)))
            continue;
        start_frame(r, frame, &started);
        fprintf(r->file, "%s %s\n", state->buttons & (1u << i) ? "press" : "release", pad_button_names[i]);
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

void pad_record_close(struct pad_recorder* r)
{
    if (r == NULL)
        return;
    if (fclose(r->file) != 0 && !r->failed)
        pad_script_say(&r->hooks, "the recording could not be written whole: %s", strerror(errno));
    r->file = NULL;
    discard(r);
}
