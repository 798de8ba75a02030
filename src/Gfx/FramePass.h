// The passes of one frame in their order: the sky, the grids and the ripple images, the
// shadow map, the main image, reflection and refraction, the water surface and the final
// image (with the intermediate images over it when asked for).
#pragma once

struct FrameDescription;

// The whole frame's drawing into the back buffer: the models posed, then every pass. While
// the title covers the window (frame.scene false) the models are posed and the eye's view
// and projection loaded, nothing drawn.
void render_frame(const FrameDescription& frame);
