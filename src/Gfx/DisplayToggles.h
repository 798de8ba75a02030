// The display options that keys switch (N, K, L, I, F3, F8, C, B, X), as one operation each,
// so the input handler and the start-up switches of tests do the same thing; and their one
// owner, which the frame's description copies.
#pragma once

#include "Gfx/FrameDescription.h"

#include <string>

class SDLGL;
class ShaderProgram;

extern DisplayOptions display;

// B: the next parallax pair for the terrain; modes 1 and 2 hand their pair to the
// parallax terrain program, mode 0 draws the plain terrain program.
void cycle_parallax_mode(SDLGL& gl);

// Applies the toggle of one key by its name ("N", "K", "L", "I", "F3", "F8", "C", "B", and "X"
// for the radar).
// False for any other name.
bool toggle_display_option(SDLGL& gl, const std::string& key);

// The parallax pair of the current mode (display.parallax_mode) into one relief colour
// program, bound by the caller; mode 0 gives none.
void set_parallax_pair(const SDLGL& gl, ShaderProgram* program);

// The same into every relief colour program, after the mode changed.
void apply_parallax_mode(SDLGL& gl);
