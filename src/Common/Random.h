// The game's one random source. Every draw (the scenery, the opponents' choices, the ship's
// waypoints and drops, the win banner) comes from here, in the order the game makes them,
// so a level and a race repeat exactly on every run and every platform. The generator is
// the classic C library one, never seeded: its state starts at 1.
#pragma once

#include <cstdint>

// The next value in 0..32767.
int game_rand();

// game_rand() / 32768: uniform in [0, 1) with a resolution of 1/32768.
float rand_uniform();

// Puts the generator back to its first value (tests, and anything that must replay a run).
void reset_game_rand(uint32_t state = 1);
