// One frame as the renderer sees it. The main loop builds it each frame from the cameras,
// the clock and the display options, and hands it to render_frame; the passes read their
// inputs from it rather than from the game's globals. The placed models are the one input
// not in it: the model manager keeps them, and they cull themselves against the eye.
#pragma once

#include <vector>

class Camera;
struct BeamVertex;

// The display options that keys switch and that the passes obey.
struct DisplayOptions {
    bool wireframe = false;    // the scene as lines (the final image is still filled)
    bool freeze_waves = false; // the wave and terrain animation held at its last slice
    bool buffer_pass = true;   // the water surface drawn
    bool skip_subpass = false; // the terrain grid and the grid camera kept from the last frame
    bool extra_pass = false;   // the intermediate images as tiles along the bottom
    int parallax_mode = 0;     // 0 the plain terrain program, 1 and 2 the parallax one
};

struct FrameDescription {
    Camera* eye = nullptr;   // the player's view; the reflection mirrors it and restores it
    Camera* grid = nullptr;  // the projected grids' camera, re-aimed from the eye each frame
    Camera* light = nullptr; // the shadow map's camera
    const float* view_matrix = nullptr; // the eye's view as the main loop loaded it (16 floats)
    float time_now = 0;      // the game clock in seconds: the waves' and the rings' animation
    const std::vector<BeamVertex>* beams = nullptr; // the crystals' beams, drawn with the scene
    DisplayOptions options;
    bool scene = true;       // false while the title covers the window: no scene passes
};
