/* Timed scripts of pad actions.
 *
 * A script is read and checked whole before the game runs, then stepped once per
 * frame: commands run in order until one waits for a time or frame not reached yet. */
#define _GNU_SOURCE
#include "script.h"

#include <errno.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include "typing.h"

extern char** environ;

enum op {
    OP_AT,     /* wait until seconds since the first frame */
    OP_WAIT,   /* wait seconds from when the line is reached */
    OP_FRAME,  /* wait until the given frame */
    OP_FRAMES, /* wait frames from when the line is reached */
    OP_PRESS,
    OP_RELEASE,
    OP_NUB,
    OP_SNAP,
    OP_LOG,
    OP_QUIT,
    OP_KEY_DOWN, /* a desktop key, by key symbol name */
    OP_KEY_UP,
    OP_AWAIT /* wait until a file exists */
};

/* The longest wait a line may ask for: a day, in seconds or in frames at the
 * handheld's 60 a second. Longer is a mistake (or "inf"), not a test. */
#define LONGEST_WAIT_SECONDS 86400.0
#define LONGEST_WAIT_FRAMES (86400L * 60)

/* How long tap and key hold unless told. The game reads held levels once per
 * frame, so a one-frame hold is seen in exactly one frame: one action, however
 * slowly the game runs (a longer hold could outlast its 0.2 s repeat guard). */
#define TAP_FRAMES 1

struct command {
    enum op op;
    int line;
    double seconds;
    long frames;
    int button; /* or the X key code of a key line */
    int nub;
    int x, y;
    char* text; /* snap file, log text or awaited file */
};

struct vpad_script {
    long seed; /* -1: none given */
    struct command* commands;
    int count, capacity;
    int next;
    /* Where the pending relative wait started, once it has been reached. */
    int armed;
    long armed_frame;
    double armed_seconds;
};

static struct command* append(struct vpad_script* s, enum op op, int line)
{
    if (s->count == s->capacity) {
        int capacity = s->capacity ? 2 * s->capacity : 64;
        struct command* grown = realloc(s->commands, capacity * sizeof *grown);
        if (grown == NULL)
            return NULL;
        s->commands = grown;
        s->capacity = capacity;
    }
    struct command* c = &s->commands[s->count++];
    memset(c, 0, sizeof *c);
    c->op = op;
    c->line = line;
    return c;
}

static int parse_seconds(const char* word, double* out)
{
    char* end;
    errno = 0;
    *out = word ? strtod(word, &end) : -1;
    return word && errno == 0 && *end == '\0' && *out >= 0 && *out <= LONGEST_WAIT_SECONDS;
}

static int parse_long(const char* word, long low, long high, long* out)
{
    char* end;
    errno = 0;
    *out = word ? strtol(word, &end, 10) : 0;
    return word && errno == 0 && *end == '\0' && *out >= low && *out <= high;
}

static int parse_button(const char* word, int* out)
{
    *out = word ? vpad_button_by_name(word) : -1;
    return *out >= 0;
}

/* Splits a line into words; a word starting with # ends it. */
static int split(char* line, char** words, int max)
{
    int n = 0;
    char* save = NULL;
    for (char* w = strtok_r(line, " \t\r\n", &save); w && *w != '#'; w = strtok_r(NULL, " \t\r\n", &save)) {
        if (n == max)
            return max + 1;
        words[n++] = w;
    }
    return n;
}

static int add_wait(struct vpad_script* s, enum op op, int line, char** w, int n)
{
    double seconds = 0;
    long frames = 0;
    int timed = op == OP_AT || op == OP_WAIT;
    if (n != 2 || (timed ? !parse_seconds(w[1], &seconds) : !parse_long(w[1], 0, LONGEST_WAIT_FRAMES, &frames)))
        return 0;
    struct command* c = append(s, op, line);
    if (c == NULL)
        return 0;
    c->seconds = seconds;
    c->frames = frames;
    return 1;
}

static int add_button(struct vpad_script* s, enum op op, int line, int button)
{
    struct command* c = append(s, op, line);
    if (c != NULL)
        c->button = button;
    return c != NULL;
}

/* down, FRAMES frames, then up: how a tap holds a button and a key a key. */
static int add_hold(struct vpad_script* s, int line, enum op down, enum op up, int code, long frames)
{
    if (!add_button(s, down, line, code))
        return 0;
    struct command* c = append(s, OP_FRAMES, line);
    if (c == NULL)
        return 0;
    c->frames = frames;
    return add_button(s, up, line, code);
}

/* tap BUTTON [FRAMES]: press, wait, release. */
static int add_tap(struct vpad_script* s, int line, char** w, int n)
{
    int button;
    long frames = TAP_FRAMES;
    if (n < 2 || n > 3 || !parse_button(w[1], &button) || (n == 3 && !parse_long(w[2], 1, 1L << 20, &frames)))
        return 0;
    return add_hold(s, line, OP_PRESS, OP_RELEASE, button, frames);
}

/* key KEYSYM [FRAMES]: a desktop key (a name's letters, Return, BackSpace) held
 * for FRAMES frames, as tap holds a button. */
static int add_key(struct vpad_script* s, int line, char** w, int n)
{
    long frames = TAP_FRAMES;
    if (n < 2 || n > 3 || (n == 3 && !parse_long(w[2], 1, 1L << 20, &frames)))
        return 0;
    int code = vpad_typing_code(w[1]);
    if (code == 0) {
        vpad_warn("no key %s on this display", w[1]);
        return 0;
    }
    return add_hold(s, line, OP_KEY_DOWN, OP_KEY_UP, code, frames);
}

static int add_nub(struct vpad_script* s, int line, char** w, int n)
{
    long x, y;
    if (n != 3 || !parse_long(w[1], -32768, 32767, &x) || !parse_long(w[2], -32768, 32767, &y))
        return 0;
    struct command* c = append(s, OP_NUB, line);
    if (c == NULL)
        return 0;
    c->nub = strcmp(w[0], "nub1") == 0;
    c->x = (int)x;
    c->y = (int)y;
    return 1;
}

static int add_text(struct vpad_script* s, enum op op, int line, const char* text)
{
    struct command* c = append(s, op, line);
    if (c == NULL)
        return 0;
    c->text = strdup(text);
    return c->text != NULL;
}

/* TEXT's first LENGTH bytes as they may go to a terminal: control bytes are
 * written as \xNN, so a binary file given as a script cannot drive it. */
static void printable(const char* text, size_t length, char* out, size_t size)
{
    size_t used = 0;
    out[0] = '\0';
    for (size_t i = 0; i < length && used + 5 <= size; i++) {
        unsigned char c = (unsigned char)text[i];
        if (c < 0x20 || c == 0x7f)
            used += snprintf(out + used, size - used, "\\x%02x", c);
        else
            out[used++] = (char)c;
        out[used] = '\0';
    }
}

/* log keeps the rest of its line (# included), its control bytes escaped. */
static int parse_log(struct vpad_script* s, int line_no, const char* line)
{
    const char* p = line + strspn(line, " \t");
    if (strncmp(p, "log", 3) != 0 || (p[3] != '\0' && !strchr(" \t\r\n", p[3])))
        return -1; /* not a log line */
    p += 3;
    p += strspn(p, " \t");
    char text[1024];
    printable(p, strcspn(p, "\r\n"), text, sizeof text);
    return add_text(s, OP_LOG, line_no, text);
}

static int parse_line(struct vpad_script* s, int line_no, char* line)
{
    int logged = parse_log(s, line_no, line);
    if (logged >= 0)
        return logged;
    char* w[4];
    int n = split(line, w, 3);
    int button;
    if (n == 0)
        return 1;
    if (strcmp(w[0], "at") == 0)
        return add_wait(s, OP_AT, line_no, w, n);
    if (strcmp(w[0], "wait") == 0)
        return add_wait(s, OP_WAIT, line_no, w, n);
    if (strcmp(w[0], "frame") == 0)
        return add_wait(s, OP_FRAME, line_no, w, n);
    if (strcmp(w[0], "frames") == 0)
        return add_wait(s, OP_FRAMES, line_no, w, n);
    if (strcmp(w[0], "press") == 0)
        return n == 2 && parse_button(w[1], &button) && add_button(s, OP_PRESS, line_no, button);
    if (strcmp(w[0], "release") == 0)
        return n == 2 && parse_button(w[1], &button) && add_button(s, OP_RELEASE, line_no, button);
    if (strcmp(w[0], "tap") == 0)
        return add_tap(s, line_no, w, n);
    if (strcmp(w[0], "nub0") == 0 || strcmp(w[0], "nub1") == 0)
        return add_nub(s, line_no, w, n);
    if (strcmp(w[0], "snap") == 0)
        return n == 2 && add_text(s, OP_SNAP, line_no, w[1]);
    if (strcmp(w[0], "quit") == 0)
        return n == 1 && append(s, OP_QUIT, line_no) != NULL;
    if (strcmp(w[0], "seed") == 0)
        return n == 2 && s->seed < 0 && parse_long(w[1], 0, VPAD_SEED_MAX, &s->seed);
    if (strcmp(w[0], "key") == 0)
        return add_key(s, line_no, w, n);
    if (strcmp(w[0], "await") == 0)
        return n == 2 && add_text(s, OP_AWAIT, line_no, w[1]);
    return 0;
}

static void destroy(struct vpad_script* s)
{
    if (s == NULL)
        return;
    for (int i = 0; i < s->count; i++)
        free(s->commands[i].text);
    free(s->commands);
    free(s);
}

/* A script the pad cannot read (a folder, an unreadable file) names the reason. */
static int read_failed(const char* path, FILE* f)
{
    if (!ferror(f))
        return 0;
    vpad_warn("cannot read script %s: %s", path, strerror(errno));
    return 1;
}

struct vpad_script* vpad_script_load(const char* path)
{
    FILE* f = fopen(path, "r");
    if (f == NULL) {
        vpad_warn("cannot read script %s: %s", path, strerror(errno));
        return NULL;
    }
    struct vpad_script* s = calloc(1, sizeof *s);
    if (s != NULL)
        s->seed = -1;
    char* line = NULL;
    size_t size = 0;
    int line_no = 0, faults = 0;
    while (s && getline(&line, &size, f) != -1) {
        line_no++;
        char copy[1024];
        printable(line, strcspn(line, "\r\n"), copy, sizeof copy);
        if (!parse_line(s, line_no, line)) {
            vpad_warn("%s:%d: cannot understand: %s", path, line_no, copy);
            faults++;
        }
    }
    free(line);
    faults += read_failed(path, f);
    fclose(f);
    if (s == NULL || faults > 0) {
        vpad_warn("script %s not used", path);
        destroy(s);
        return NULL;
    }
    return s;
}

long vpad_script_seed(const struct vpad_script* s)
{
    return s->seed;
}

/* Runs the screenshot command and waits for it, as the game does for its own. */
static void snap(const struct command* c, long frame)
{
    const char* grabber = getenv("VPAD_FBGRAB");
    char* argv[] = {(char*)(grabber && *grabber ? grabber : "fbgrab"), c->text, NULL};
    pid_t pid;
    int status = 0;
    int err = posix_spawnp(&pid, argv[0], NULL, NULL, argv, environ);
    if (err == 0)
        waitpid(pid, &status, 0);
    if (err != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        vpad_warn("frame %ld: %s %s failed", frame, argv[0], c->text);
}

static int wait_over(struct vpad_script* s, const struct command* c, long frame, double seconds)
{
    if (!s->armed) {
        s->armed = 1;
        s->armed_frame = frame;
        s->armed_seconds = seconds;
    }
    switch (c->op) {
    case OP_AT:
        return seconds >= c->seconds;
    case OP_WAIT:
        return seconds - s->armed_seconds >= c->seconds;
    case OP_FRAME:
        return frame >= c->frames;
    case OP_FRAMES:
        return frame - s->armed_frame >= c->frames;
    case OP_AWAIT:
        return access(c->text, F_OK) == 0;
    default:
        return 1;
    }
}

void vpad_script_step(struct vpad_script* s, long frame, double seconds, struct vpad_state* state)
{
    while (s->next < s->count) {
        const struct command* c = &s->commands[s->next];
        switch (c->op) {
        case OP_AT:
        case OP_WAIT:
        case OP_FRAME:
        case OP_FRAMES:
        case OP_AWAIT:
            if (!wait_over(s, c, frame, seconds))
                return;
            s->armed = 0;
            break;
        case OP_PRESS:
            state->buttons |= 1u << c->button;
            break;
        case OP_RELEASE:
            state->buttons &= ~(1u << c->button);
            break;
        case OP_NUB:
            state->nub[c->nub][0] = c->x;
            state->nub[c->nub][1] = c->y;
            break;
        case OP_SNAP:
            snap(c, frame);
            break;
        case OP_LOG:
            vpad_warn("frame %ld, %.3f s: %s", frame, seconds, c->text);
            break;
        /* As if the game had returned from main: exit handlers (and a leak
         * check) run, whatever screen the script has left it on. */
        case OP_QUIT:
            exit(0);
        case OP_KEY_DOWN:
        case OP_KEY_UP:
            vpad_typing_send(c->button, c->op == OP_KEY_DOWN);
            break;
        }
        s->next++;
    }
}
