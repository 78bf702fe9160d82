/* A seat for weston's headless backend, loaded with --modules. The headless
 * backend has no input devices and so announces no wl_seat; SDL 2.26's Wayland
 * driver takes a seat for granted and crashes in SDL_Init without one. A seat
 * with a pointer and a keyboard is what every real Wayland desktop offers. */
#include <libweston/libweston.h>
#include <stdlib.h>

/* Exported by libweston, declared only in its private headers. */
void weston_seat_init(struct weston_seat* seat, struct weston_compositor* compositor, const char* seat_name);
int weston_seat_init_pointer(struct weston_seat* seat);
int weston_seat_init_keyboard(struct weston_seat* seat, struct xkb_keymap* keymap);

WL_EXPORT int wet_module_init(struct weston_compositor* compositor, int* argc, char* argv[])
{
    (void)argc;
    (void)argv;
    /* Lives as long as the compositor: weston ends with the test. */
    struct weston_seat* seat = calloc(1, sizeof *seat);
    if (seat == NULL)
        return -1;
    weston_seat_init(seat, compositor, "seat0");
    if (weston_seat_init_pointer(seat) < 0 || weston_seat_init_keyboard(seat, NULL) < 0)
        return -1;
    return 0;
}
