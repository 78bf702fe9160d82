/* The game's clock, held to whole frames so a replay repeats exactly. */
#ifndef VPAD_CLOCK_H
#define VPAD_CLOCK_H

/* The rate of the held clock: every frame is exactly this many seconds' worth. */
#define VPAD_HELD_HZ 60

/* From now on the game's own code sees time advance 1/60 s per frame and
 * nothing in between: CLOCK_MONOTONIC from a whole second, the wall clock
 * (time(), CLOCK_REALTIME) from `seed` seconds after the epoch, so the game's
 * srand(time(NULL)) gets `seed`. Libraries and other threads keep the real
 * clocks. */
void vpad_clock_hold(long seed);

int vpad_clock_held(void);

/* One more frame has passed. */
void vpad_clock_tick(void);

/* Seconds on the game's monotonic clock, as the game itself would read it now. */
double vpad_clock_game_seconds(void);

/* The real CLOCK_MONOTONIC, whatever the game sees. */
double vpad_clock_real_seconds(void);

#endif
