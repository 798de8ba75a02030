// The display options that keys switch (N, K, L, I, F3, F8, C, B, X), as one operation each,
// so the input handler and the start-up switches of tests do the same thing.
#pragma once

#include "Gfx/FrameDescription.h"

#include <string>

class SDLGL;

// B: the next parallax pair for the terrain; modes 1 and 2 hand their pair to the
// parallax terrain program, mode 0 draws the plain terrain program.
void cycle_parallax_mode(SDLGL& gl);

// Applies the toggle of one key by its name ("N", "K", "L", "I", "F3", "F8", "C", "B", and "X"
// for the radar).
// False for any other name.
bool toggle_display_option(SDLGL& gl, const std::string& key);

// The options as they stand, for the frame's description.
DisplayOptions display_options(const SDLGL& gl);
