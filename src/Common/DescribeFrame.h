// The renderer's description of this frame, taken from the game's cameras, clock and
// display options.
#pragma once

#include "Gfx/FrameDescription.h"

class SDLGL;

// eyecam, auxcam and lightcam, view_matrix, gl.time_now and the display options as they
// stand; `scene` false while the title covers the window.
FrameDescription describe_frame(const SDLGL& gl, bool scene);
