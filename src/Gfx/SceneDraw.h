// Drawing steps that several passes share: the sky cube, the shadow map (drawn and bound
// for lookup) and the placed models. The frame passes and the water passes both draw
// with them, so they live below both.
#pragma once

#include "Gfx/CrystalBeams.h"

#include <GL/glew.h>

#include <vector>

class Camera;
class ShaderProgram;

// The sky cube around `eye`, behind everything: drawn after the rest of an image, it fills
// only the pixels whose depth is still the cleared 1. need_dof_alpha 1: alpha carries the
// blur distance (main image); 0: alpha marks sky (reflection image).
void draw_skybox(const Camera& eye, int need_dof_alpha);

// Light matrices and depth state for the shadow map (bound by the caller).
void begin_shadow_pass(Camera& camera);

// The shadow map on `texture_unit` with its lookup matrix in that unit's texture matrix.
void bind_shadow_map(GLenum texture_unit);

// The model manager draws every placed instance, with `program` (which gets `eye`'s
// camera-to-world matrix) or fixed function.
void draw_models(const Camera& eye, ShaderProgram* program, GLint texture_env_mode, GLenum shade_model);

// The same for the shadow map and the reflection, but only the models within the models'
// own distance ("md2_max_vis_dist"), however high the eye. Seen from high above, the far
// scenery is a pixel or two in the main image; its shadows and its mirror images, a quarter
// that size and broken up by the waves, showed nothing, and drawing them cost as much as
// the main image's.
void draw_nearby_models(const Camera& eye, ShaderProgram* program, GLint texture_env_mode, GLenum shade_model);

// The crystals' beams into the bound image with its view and projection in place: added to
// the colour already there, behind what is nearer (the depth test, without writing depth), and
// leaving alpha alone (the main image's blur distance, the reflection's sky mark).
void draw_crystal_beams(const std::vector<BeamVertex>& beams);

// The light's projection and view as the shadow pass left them.
extern double light_projection[16];
extern double light_view[16];

