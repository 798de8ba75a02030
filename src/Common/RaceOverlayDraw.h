// Draws the race overlay over the finished image, in the HUD's 2-D pixel projection: the radar's
// land disc, then every mark of the atlas, then the labels, one draw call each, with the state
// set once for all of them.
#pragma once

#include "Common/OverlayBatch.h"
#include "Common/RaceOverlay.h"

#include <GL/glew.h>

class Camera;
class SDLGL;
class fontManager;

// What the overlay cost in one frame, counted rather than timed.
struct OverlayDrawCount {
    int draws = 0;
    int vertices = 0;
};

// One frame's overlay: its layout, its vertex lists and what drawing them took. Kept from frame
// to frame, so that a frame in play allocates nothing.
struct RaceOverlayFrame {
    RaceOverlay layout;
    OverlayBatch batch;
    OverlayDrawCount count;
};

RaceOverlayFrame& race_overlay_frame();

// Room in every list of the frame's overlay for `crystals` crystals in play at once, so that
// their lists never grow during a game.
void reserve_race_overlay(size_t crystals);

// Lays out, batches and draws the overlay of `view` as `eye` sees it, with the window object's
// images and the HUD font, in the 2-D projection the caller has set (the model-view matrix is
// reset; the caller saves it).
const RaceOverlayFrame& draw_race_overlay(SDLGL& gl, fontManager& font, const RaceView& view, const Camera& eye,
                                          const OverlaySettings& settings);

// The lists of a batch drawn with their images; returns the calls and vertices sent.
OverlayDrawCount draw_overlay_batch(const OverlayBatch& batch, GLuint land_texture, GLuint atlas_texture,
                                    GLuint font_texture);

// The report of the overlay for the end-to-end tests (MOORHOLD_LOG_OVERLAY): one line per marker,
// the arrow, the radar and each of its marks, and the count, in window pixels from the
// bottom-left corner.
void print_race_overlay(const RaceOverlayFrame& frame, int width, int height);
