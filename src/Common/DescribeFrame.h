// The renderer's description of this frame, taken from the game's cameras, clock and
// display options once the game has moved and the follow camera is final.
#pragma once

#include "Gfx/FrameDescription.h"

class SDLGL;

// How far from the eye (in x and z) the placed models are drawn: the models' own distance
// ("md2_max_vis_dist") and eight units more for every unit the eye stands high, so that the
// forest does not end in a line below a high eye.
float model_visibility_distance(const SDLGL& gl, const Camera& eye);

// The frame as a value, with eyecam's `view` (eye_view_matrix), the game's `lists` and the
// game time `model_dt` the models' animations advance by. The game's grid camera
// (auxcam) is aimed from the eye first, for the terrain grid and then for the water, unless
// the display options keep it (skip_subpass) or the title covers the window (`scene`
// false), and the light's frustum brought up to date; the description holds copies.
FrameDescription describe_frame(const SDLGL& gl, bool scene, const float view[16], const FrameLists& lists,
                                float model_dt);

// The view matrix of `eye` (column-major, as the fixed-function pipeline builds it: the
// rotation of its axes, normalised in place, then the translation by minus its position).
void eye_view_matrix(Camera& eye, float out[16]);
