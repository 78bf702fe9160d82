/* The pad's script language: timed lines of pad states, typed keys, screenshots
 * and game pads, read by the handheld's test pad (tools/vpad) and by the SDL 2
 * edition. What a line does outside the pad (a screenshot, a typed key, the
 * end of the program) is the caller's, through pad_script_hooks. C, and no
 * window system, so both can link it. */
#ifndef PAD_SCRIPT_H
#define PAD_SCRIPT_H

#ifdef __cplusplus
extern "C" {
#endif

/* The handheld's twelve buttons, in the order a state's bits follow. */
#define PAD_BUTTONS 12
extern const char* const pad_button_names[PAD_BUTTONS]; /* up down left right a b x y l r start select */

/* Index into pad_button_names, or -1 for an unknown name. */
int pad_button_by_name(const char* name);

/* The largest seed a script may give: a time() the game can hold. */
#define PAD_SEED_MAX 2147483647L

/* The whole pad at one moment. */
struct pad_state {
    unsigned buttons; /* bit i set while pad_button_names[i] is held */
    int nub[2][2];    /* [0] left nub ("nub0"), [1] right nub ("nub1"); each x, y */
};

/* A game pad line: SDL's game-controller button and axis names. */
enum pad_gamepad_op {
    PAD_GAMEPAD_ATTACH,
    PAD_GAMEPAD_DETACH,
    PAD_GAMEPAD_PRESS,
    PAD_GAMEPAD_RELEASE,
    PAD_GAMEPAD_AXIS
};

struct pad_gamepad_line {
    enum pad_gamepad_op op;
    int sticks;       /* ATTACH: analogue sticks, 0 to 2 */
    const char* name; /* PRESS, RELEASE: a button; AXIS: an axis */
    int value;        /* AXIS: -32768 to 32767 */
};

/* What the caller does for the lines that reach beyond the pad. */
struct pad_script_hooks {
    void* context;
    /* A line for the person running the game (faults, log lines). */
    void (*warn)(void* context, const char* message);
    /* The key code of a key line's name, or 0 (having said why) when there is none. */
    int (*key_code)(void* context, const char* name);
    void (*key)(void* context, int code, int down);
    void (*snap)(void* context, const char* file, long frame);
    void (*quit)(void* context);
    /* NULL: this program has no game pads, and a script naming one is refused. */
    void (*gamepad)(void* context, const struct pad_gamepad_line* line);
};

struct pad_script;

/* Reads and checks a whole script. Says every faulty line through hooks->warn
 * and returns NULL if there was any, or if the file cannot be read. The hooks
 * are kept for the script's lifetime. */
struct pad_script* pad_script_load(const char* path, const struct pad_script_hooks* hooks);

void pad_script_free(struct pad_script* script);

/* The seed the script names (`seed N`), or -1 when it names none. */
long pad_script_seed(const struct pad_script* script);

/* Runs every line that is due by this frame (counted from 1) and time (seconds
 * since the first frame), changing state. After `quit` nothing more runs. */
void pad_script_step(struct pad_script* script, long frame, double seconds, struct pad_state* state);

/* Says a formatted message through the hooks' warn. */
void pad_script_say(const struct pad_script_hooks* hooks, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

/* ---- recording ---- */

struct pad_recorder;

/* Starts a script at path with the comment `# header`, then `seed seed`; NULL,
 * having said why, when the file cannot be written. */
struct pad_recorder* pad_record_open(const char* path, long seed, const char* header,
                                     const struct pad_script_hooks* hooks);

/* Writes the changes from the state recorded last, as happening in this frame,
 * and flushes them; a failure is said once, and the game plays on unrecorded. */
void pad_record_frame(struct pad_recorder* recorder, long frame, const struct pad_state* state);

/* Writes what is still buffered and closes the script; NULL does nothing. */
void pad_record_close(struct pad_recorder* recorder);

#ifdef __cplusplus
}
#endif

#endif
