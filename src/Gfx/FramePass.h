// The passes of one frame in their order, the final image and the debug view of the
// intermediate images.
#pragma once

#include <GL/glew.h>

class FBO;
class ShaderProgram;

// Everything from the grids to the water surface.
void draw_frame();

// The final image into the back buffer through the image-warp program.
void draw_composite(FBO* image, ShaderProgram* program);

// The six intermediate images as tiles along the bottom of the window.
void draw_debug_view();

// ---- the frame steps of the main loop that belong to the landscape ----

// Clears the small and the main depth-of-field images, then binds the main one with the
// previous frame's view and its projection (the simulation may draw into it).
void begin_frame_images();
// Unbinds the main depth-of-field image after the simulation.
void end_simulation_image();
// The sky into the main depth-of-field image.
void draw_sky_image();
// Resets the state the scene left, shows the final image and, when extra_pass is set,
// the intermediate images over it.
void compose_frame();
