// Drawing steps that several passes share: the sky cube, the shadow map (drawn and bound
// for lookup) and the placed models. The frame passes and the water passes both draw
// with them, so they live below both.
#pragma once

#include "Gfx/CrystalBeams.h"
#include "Gfx/MD2_Instance.h"

#include <GL/glew.h>

#include <vector>

class Camera;
class ShaderProgram;
struct FrameDescription;

// The sky cube around `eye`, behind everything: drawn after the rest of an image, it fills
// only the pixels whose depth is still the cleared 1. need_dof_alpha 1: alpha carries the
// blur distance (main image); 0: alpha marks sky (reflection image).
void draw_skybox(const Camera& eye, int need_dof_alpha);

// The light's projection and view as the shadow map was drawn with them: the passes that
// look the map up project their points with them.
struct LightMatrices {
    double projection[16];
    double view[16];
};

// Light matrices and depth state for the shadow map (bound by the caller); returns the
// matrices it loaded.
LightMatrices begin_shadow_pass(const Camera& camera);

// The shadow map on `texture_unit` with its lookup matrix, made from `light`, in that unit's
// texture matrix.
void bind_shadow_map(GLenum texture_unit, const LightMatrices& light);

// The eye's view of the frame's models (culled against `camera`, which is the eye or its
// mirror image).
ModelView eye_model_view(const FrameDescription& frame, const Camera& camera);

// The same for the shadow map and the reflection, but only the models within the models'
// own distance ("md2_max_vis_dist"), however high the eye. Seen from high above, the far
// scenery is a pixel or two in the main image; its shadows and its mirror images, a quarter
// that size and broken up by the waves, showed nothing, and drawing them cost as much as
// the main image's.
ModelView nearby_model_view(const FrameDescription& frame, const Camera& camera);

// The model manager draws every placed instance that `view` does not cull, with `program`
// (which gets the camera-to-world matrix of the view's camera) or fixed function.
void draw_models(const ModelView& view, ShaderProgram* program, GLint texture_env_mode, GLenum shade_model);

// The crystals' beams into the bound image with its view and projection in place: added to
// the colour already there, behind what is nearer (the depth test, without writing depth), and
// leaving alpha alone (the main image's blur distance, the reflection's sky mark).
void draw_crystal_beams(const std::vector<BeamVertex>& beams);
