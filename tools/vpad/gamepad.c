/* The desktop's game pads, read from the vpad-gamepad helper.
 *
 * SDL 2 knows the pads, but the game links SDL 1.2, and the two must not share a
 * process: the helper runs beside the game and writes one struct pad_state
 * record, whole, on every change. Each frame vpad reads every record that has
 * come: a button held in any of them counts as held for the frame (a tap between
 * two frames is not lost), the sticks are those of the latest. */
#define _GNU_SOURCE
#include "gamepad.h"

#include <errno.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

struct vpad_gamepad {
    int fd; /* the helper's output; -1 once it has ended */
    pid_t pid;
    struct pad_state latest;
};

struct vpad_gamepad* vpad_gamepad_start(const char* program)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        vpad_warn("no game pads: %s", strerror(errno));
        return NULL;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    char* argv[] = {(char*)program, NULL};
    pid_t pid;
    int failed = posix_spawn(&pid, program, &actions, NULL, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    struct vpad_gamepad* pads = failed ? NULL : calloc(1, sizeof *pads);
    if (pads == NULL) {
        vpad_warn("no game pads: cannot start %s: %s", program, strerror(failed ? failed : ENOMEM));
        close(fds[0]);
        return NULL;
    }
    fcntl(fds[0], F_SETFL, O_NONBLOCK);
    pads->fd = fds[0];
    pads->pid = pid;
    return pads;
}

static void helper_ended(struct vpad_gamepad* pads)
{
    close(pads->fd);
    pads->fd = -1;
    memset(&pads->latest, 0, sizeof pads->latest);
    waitpid(pads->pid, NULL, WNOHANG);
}

/* Buttons held in any record that came since the last frame. */
static unsigned read_records(struct vpad_gamepad* pads)
{
    unsigned buttons = pads->latest.buttons;
    struct pad_state records[16];
    while (pads->fd >= 0) {
        ssize_t got = read(pads->fd, records, sizeof records);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == EAGAIN)
            break;
        if (got <= 0 || got % sizeof records[0] != 0) {
            /* Records are written whole: anything else is a helper gone wrong. The
             * helper says itself why it ended (no SDL game-controller support). */
            if (got != 0)
                vpad_warn("the game pad helper failed; playing on without pads");
            helper_ended(pads);
            return 0;
        }
        size_t count = got / sizeof records[0];
        for (size_t i = 0; i < count; i++)
            buttons |= records[i].buttons;
        pads->latest = records[count - 1];
    }
    return buttons;
}

void vpad_gamepad_read(struct vpad_gamepad* pads, struct pad_state* state)
{
    state->buttons |= read_records(pads);
    for (int n = 0; n < 2; n++)
        if (state->nub[n][0] == 0 && state->nub[n][1] == 0) {
            state->nub[n][0] = pads->latest.nub[n][0];
            state->nub[n][1] = pads->latest.nub[n][1];
        }
}
