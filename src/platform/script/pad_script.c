/* Timed scripts of pad actions.
 *
 * A script is read and checked whole before the game runs, then stepped once per
 * frame: commands run in order until one waits for a time or frame not reached yet. */
#define _GNU_SOURCE
#include "pad_script.h"

#include <errno.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

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
    OP_AWAIT,  /* wait until a file exists */
    OP_GAMEPAD /* plug, unplug or move the game pad */
};

const char* const pad_button_names[PAD_BUTTONS] = {"up", "down", "left", "right", "a",     "b",
                                                   "x",  "y",    "l",    "r",     "start", "select"};

/* SDL's game-controller names, checked here so that a misspelt one stops the
 * script before it plays rather than doing nothing in the middle of it. */
static const char gamepad_buttons[] =
    " a b x y back guide start leftstick rightstick leftshoulder rightshoulder dpup dpdown dpleft dpright"
    " misc1 paddle1 paddle2 paddle3 paddle4 touchpad ";
static const char gamepad_axes[] = " leftx lefty rightx righty lefttrigger righttrigger ";

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
    int button; /* or the key code of a key line */
    int nub;
    int x, y;
    char* text; /* snap file, log text, awaited file or game pad button or axis */
    struct pad_gamepad_line gamepad;
};

struct pad_script {
    struct pad_script_hooks hooks;
    long seed; /* -1: none given */
    struct command* commands;
    int count, capacity;
    int next;
    /* Where the pending relative wait started, once it has been reached. */
    int armed;
    long armed_frame;
    double armed_seconds;
};

int pad_button_by_name(const char* name)
{
    for (int i = 0; i < PAD_BUTTONS; i++)
        if (strcmp(pad_button_names[i], name) == 0)
            return i;
    return -1;
}

void pad_script_say(const struct pad_script_hooks* hooks, const char* fmt, ...)
{
    char message[2048];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(message, sizeof message, fmt, ap);
    va_end(ap);
    hooks->warn(hooks->context, message);
}

static struct command* append(struct pad_script* s, enum op op, int line)
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
    *out = word ? pad_button_by_name(word) : -1;
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

static int add_wait(struct pad_script* s, enum op op, int line, char** w, int n)
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

static int add_button(struct pad_script* s, enum op op, int line, int button)
{
    struct command* c = append(s, op, line);
    if (c != NULL)
        c->button = button;
    return c != NULL;
}

/* down, FRAMES frames, then up: how a tap holds a button and a key a key. */
static int add_hold(struct pad_script* s, int line, enum op down, enum op up, int code, long frames)
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
static int add_tap(struct pad_script* s, int line, char** w, int n)
{
    int button;
    long frames = TAP_FRAMES;
    if (n < 2 || n > 3 || !parse_button(w[1], &button) || (n == 3 && !parse_long(w[2], 1, 1L << 20, &frames)))
        return 0;
    return add_hold(s, line, OP_PRESS, OP_RELEASE, button, frames);
}

/* key KEYSYM [FRAMES]: a desktop key (a name's letters, Return, BackSpace) held
 * for FRAMES frames, as tap holds a button. */
static int add_key(struct pad_script* s, int line, char** w, int n)
{
    long frames = TAP_FRAMES;
    if (n < 2 || n > 3 || (n == 3 && !parse_long(w[2], 1, 1L << 20, &frames)))
        return 0;
    int code = s->hooks.key_code(s->hooks.context, w[1]);
    if (code == 0)
        return 0;
    return add_hold(s, line, OP_KEY_DOWN, OP_KEY_UP, code, frames);
}

static int add_nub(struct pad_script* s, int line, char** w, int n)
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

static int add_text(struct pad_script* s, enum op op, int line, const char* text)
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
static int parse_log(struct pad_script* s, int line_no, const char* line)
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

/* Whether word is one of the space-separated names (words hold no spaces). */
static int known(const char* word, const char* names)
{
    char spaced[64];
    return snprintf(spaced, sizeof spaced, " %s ", word) < (int)sizeof spaced && strstr(names, spaced) != NULL;
}

/* The game pad's words after "gamepad": attach [STICKS], detach, press NAME,
 * release NAME, axis NAME VALUE. */
static int parse_gamepad(char** w, int n, struct pad_gamepad_line* pad)
{
    long number = 2;
    if ((n == 2 || n == 3) && strcmp(w[1], "attach") == 0) {
        pad->op = PAD_GAMEPAD_ATTACH;
        if (n == 3 && !parse_long(w[2], 0, 2, &number))
            return 0;
        pad->sticks = (int)number;
        return 1;
    }
    if (n == 2 && strcmp(w[1], "detach") == 0) {
        pad->op = PAD_GAMEPAD_DETACH;
        return 1;
    }
    if (n == 3 && (strcmp(w[1], "press") == 0 || strcmp(w[1], "release") == 0)) {
        pad->op = strcmp(w[1], "press") == 0 ? PAD_GAMEPAD_PRESS : PAD_GAMEPAD_RELEASE;
        return known(w[2], gamepad_buttons);
    }
    if (n == 4 && strcmp(w[1], "axis") == 0 && known(w[2], gamepad_axes) && parse_long(w[3], -32768, 32767, &number)) {
        pad->op = PAD_GAMEPAD_AXIS;
        pad->value = (int)number;
        return 1;
    }
    return 0;
}

static int add_gamepad(struct pad_script* s, int line, char** w, int n)
{
    if (s->hooks.gamepad == NULL) {
        pad_script_say(&s->hooks, "gamepad lines need the SDL 2 edition of the game");
        return 0;
    }
    struct pad_gamepad_line pad = {0};
    /* Only a button or an axis is named: attach's word is its count of sticks. */
    if (!parse_gamepad(w, n, &pad) || !add_text(s, OP_GAMEPAD, line, pad.op >= PAD_GAMEPAD_PRESS ? w[2] : ""))
        return 0;
    struct command* c = &s->commands[s->count - 1];
    c->gamepad = pad;
    c->gamepad.name = c->text;
    return 1;
}

static int parse_line(struct pad_script* s, int line_no, char* line)
{
    int logged = parse_log(s, line_no, line);
    if (logged >= 0)
        return logged;
    char* w[5];
    int n = split(line, w, 4);
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
        return n == 2 && s->seed < 0 && parse_long(w[1], 0, PAD_SEED_MAX, &s->seed);
    if (strcmp(w[0], "key") == 0)
        return add_key(s, line_no, w, n);
    if (strcmp(w[0], "await") == 0)
        return n == 2 && add_text(s, OP_AWAIT, line_no, w[1]);
    if (strcmp(w[0], "gamepad") == 0)
        return add_gamepad(s, line_no, w, n);
    return 0;
}

void pad_script_free(struct pad_script* s)
{
    if (s == NULL)
        return;
    for (int i = 0; i < s->count; i++)
        free(s->commands[i].text);
    free(s->commands);
    free(s);
}

/* A script the pad cannot read (a folder, an unreadable file) names the reason. */
static int read_failed(const struct pad_script_hooks* hooks, const char* path, FILE* f)
{
    if (!ferror(f))
        return 0;
    pad_script_say(hooks, "cannot read script %s: %s", path, strerror(errno));
    return 1;
}

/* Every line is read, so that one run names every faulty line. */
static int parse_lines(struct pad_script* s, const char* path, FILE* f)
{
    char* line = NULL;
    size_t size = 0;
    int line_no = 0, faults = 0;
    while (getline(&line, &size, f) != -1) {
        line_no++;
        char copy[1024];
        printable(line, strcspn(line, "\r\n"), copy, sizeof copy);
        if (!parse_line(s, line_no, line)) {
            pad_script_say(&s->hooks, "%s:%d: cannot understand: %s", path, line_no, copy);
            faults++;
        }
    }
    free(line);
    return faults;
}

struct pad_script* pad_script_load(const char* path, const struct pad_script_hooks* hooks)
{
    FILE* f = fopen(path, "r");
    if (f == NULL) {
        pad_script_say(hooks, "cannot read script %s: %s", path, strerror(errno));
        return NULL;
    }
    struct pad_script* s = calloc(1, sizeof *s);
    int faults = 0;
    if (s != NULL) {
        s->hooks = *hooks;
        s->seed = -1;
        faults = parse_lines(s, path, f);
    }
    faults += read_failed(hooks, path, f);
    fclose(f);
    if (s == NULL || faults > 0) {
        pad_script_say(hooks, "script %s not used", path);
        pad_script_free(s);
        return NULL;
    }
    return s;
}

long pad_script_seed(const struct pad_script* s)
{
    return s->seed;
}

static int wait_over(struct pad_script* s, const struct command* c, long frame, double seconds)
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

/* A line that changes the pad or reaches beyond it. */
static void run(struct pad_script* s, const struct command* c, long frame, double seconds, struct pad_state* state)
{
    const struct pad_script_hooks* h = &s->hooks;
    switch (c->op) {
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
        h->snap(h->context, c->text, frame);
        break;
    case OP_LOG:
        pad_script_say(h, "frame %ld, %.3f s: %s", frame, seconds, c->text);
        break;
    case OP_QUIT:
        h->quit(h->context);
        break;
    case OP_KEY_DOWN:
    case OP_KEY_UP:
        h->key(h->context, c->button, c->op == OP_KEY_DOWN);
        break;
    case OP_GAMEPAD:
        h->gamepad(h->context, &c->gamepad);
        break;
    default:
        break;
    }
}

static int is_wait(enum op op)
{
    return op == OP_AT || op == OP_WAIT || op == OP_FRAME || op == OP_FRAMES || op == OP_AWAIT;
}

void pad_script_step(struct pad_script* s, long frame, double seconds, struct pad_state* state)
{
    while (s->next < s->count) {
        const struct command* c = &s->commands[s->next];
        if (is_wait(c->op)) {
            if (!wait_over(s, c, frame, seconds))
                return;
            s->armed = 0;
        }
        run(s, c, frame, seconds, state);
        /* The program ends there, whatever the lines after it say. */
        s->next = c->op == OP_QUIT ? s->count : s->next + 1;
    }
}
