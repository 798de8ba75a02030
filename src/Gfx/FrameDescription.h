// One frame as the renderer sees it, as a value. The main loop builds it once the game has
// moved and the follow camera and the view are final, and hands it to render_frame; the
// passes read their inputs from it and from what earlier passes hand on, and never write
// into the game's cameras. The placed models are the one input not in it: the model
// manager keeps them, and the description says how they are culled and drawn.
#pragma once

#include "Common/Camera.h"
#include "Gfx/DebugRays.h"

#include <vector>

struct BeamVertex;
struct RingTrail;

// The display options that keys switch and that the passes obey (their one owner is
// `display`, in DisplayToggles.h).
struct DisplayOptions {
    bool wireframe = false;    // the scene as lines (the final image is still filled)
    bool freeze_waves = false; // the wave and terrain animation held at its last slice
    bool buffer_pass = true;   // the water surface drawn
    bool skip_subpass = false; // the terrain grid and the grid camera kept from the last frame
    bool extra_pass = false;   // the intermediate images as tiles along the bottom
    int parallax_mode = 2;     // 0 the plain terrain program, 1 and 2 the parallax one's pairs
    bool culling = true;       // the models' frustum and distance culling
    float cull_margin = -1000.0f; // the culling's frustum margin
    bool radar = true;         // the race overlay's radar
};

// How the frame's placed models are drawn; each pass makes its ModelView from these and the
// display options' culling.
struct ModelSettings {
    float visibility_distance = 0; // the eye's: the models' own distance, further the higher the eye
    float nearby_distance = 0;     // the shadow map's and the reflection's: the models' own distance
    float focal_pixels = 0;        // md2_focal_pixels of the eye and the scene image
    float dt = 0;                  // the game time the models' animations advance by this frame
};

// The frame's lists, filled by the game during its update; none: nothing to draw.
struct FrameLists {
    const std::vector<BeamVertex>* beams = nullptr;        // the crystals' beams, drawn with the scene
    const std::vector<const RingTrail*>* rings = nullptr; // the trails of the objects on the water
    const std::vector<DebugRay>* rays = nullptr;           // the hovers' ground rays, when switched on
};

struct FrameDescription {
    FrameDescription(const Camera& eye, const Camera& terrain_grid, const Camera& water_grid, const Camera& light)
        : eye(eye), terrain_grid(terrain_grid), water_grid(water_grid), light(light)
    {
    }

    Camera eye;          // the player's view, its frustum up to date
    Camera terrain_grid; // the terrain grid's camera, aimed from the eye
    Camera water_grid;   // the rings' and the water grid's camera, aimed from the eye
    Camera light;        // the shadow map's camera, its frustum up to date
    float view_matrix[16] = {}; // the eye's view (column-major)
    float time_now = 0;         // the game clock in seconds: the waves' and the rings' animation
    DisplayOptions options;
    ModelSettings models;
    FrameLists lists;
    bool scene = true; // false while the title covers the window: no scene passes
};
