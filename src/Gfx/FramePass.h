// The passes of one frame in their order: the sky, the grids and the ripple images, the
// shadow map, the main image, reflection and refraction, the water surface and the final
// image (with the intermediate images over it when asked for).
#pragma once

struct FrameDescription;

// The whole frame's drawing into the back buffer. While the title covers the window
// (frame.scene false) only the texture units are reset.
void render_frame(const FrameDescription& frame);

// ---- the steps of the main loop around the simulation that belong to the images ----

// Clears the small and the main depth-of-field images, then binds the main one with the
// previous frame's view and its projection (the simulation may draw into it).
void begin_frame_images(const FrameDescription& frame);
// Unbinds the main depth-of-field image after the simulation.
void end_simulation_image();
