/* What vpad does for the script lines that reach beyond the pad. */
#define _GNU_SOURCE
#include "script.h"

#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>

#include "typing.h"
#include "vpad.h"

extern char** environ;

static void warn(void* context, const char* message)
{
    (void)context;
    vpad_warn("%s", message);
}

static int key_code(void* context, const char* name)
{
    (void)context;
    int code = vpad_typing_code(name);
    if (code == 0)
        vpad_warn("no key %s on this display", name);
    return code;
}

static void key(void* context, int code, int down)
{
    (void)context;
    vpad_typing_send(code, down);
}

/* Runs the screenshot command and waits for it, as the game does for its own. */
static void snap(void* context, const char* file, long frame)
{
    (void)context;
    const char* grabber = getenv("VPAD_FBGRAB");
    char* argv[] = {(char*)(grabber && *grabber ? grabber : "fbgrab"), (char*)file, NULL};
    pid_t pid;
    int status = 0;
    int err = posix_spawnp(&pid, argv[0], NULL, NULL, argv, environ);
    if (err == 0)
        waitpid(pid, &status, 0);
    if (err != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        vpad_warn("frame %ld: %s %s failed", frame, argv[0], file);
}

/* As if the game had returned from main: exit handlers (and a leak check) run,
 * whatever screen the script has left it on. */
static void quit(void* context)
{
    (void)context;
    exit(0);
}

/* No gamepad hook: the handheld program has no game pads, so such lines are refused. */
static const struct pad_script_hooks hooks = {
    .warn = warn, .key_code = key_code, .key = key, .snap = snap, .quit = quit};

struct pad_script* vpad_script_load(const char* path)
{
    return pad_script_load(path, &hooks);
}

struct pad_recorder* vpad_record_open(const char* path, long seed)
{
    char header[4096];
    snprintf(header, sizeof header, "recorded by vpad; replay with VPAD_SCRIPT=%s", path);
    return pad_record_open(path, seed, header, &hooks);
}
