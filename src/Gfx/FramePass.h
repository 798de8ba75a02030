// The passes of one frame in their order, the shadow pass, the sky, the model pass, the
// final image and the debug view of the intermediate images.
#pragma once

#include <GL/glew.h>

class Camera;
class FBO;
class ShaderProgram;

// The sky cube around the eye. need_dof_alpha 1: alpha carries the blur distance (main
// image); 0: alpha marks sky (reflection image).
void draw_skybox(int need_dof_alpha);

// Everything from the grids to the water surface.
void draw_frame();

// Light matrices and depth state for the shadow map (bound by the caller).
void begin_shadow_pass(Camera& camera);

// The shadow map on `texture_unit` with its lookup matrix in that unit's texture matrix.
void bind_shadow_map(GLenum texture_unit);

// The model manager draws every placed instance, with `program` or fixed function.
void draw_models(ShaderProgram* program, GLint texture_env_mode, GLenum shade_model);

// The final image into the back buffer through the image-warp program.
void draw_composite(FBO* image, ShaderProgram* program);

// The six intermediate images as tiles along the bottom of the window.
void draw_debug_view();

// The light's projection and view as the shadow pass left them.
extern double light_projection[16];
extern double light_view[16];
