// The water: a plane at y = 0 drawn as a projected grid. Each frame the rings of moving
// objects are drawn into ripple A and turned into normals in ripple B; the corner rays of
// the grid camera give the water grid, which the ripple program displaces; reflection and
// refraction images are drawn; the surface program mixes them on the grid.
#pragma once

#include "Gfx/GridMath.h"
#include "Gfx/RingTrail.h"
#include "Gfx/SceneDraw.h"

#include <vector>

class Camera;
class FBO;
class ShaderProgram;
struct FrameDescription;

// The projection ripple A was drawn with: the surface projects ripple B with it.
struct RingImageView {
    double projection[16];
};

// The frame's ring trails into ripple A (bound by the caller), seen from the frame's water
// grid camera.
RingImageView draw_rings(const FrameDescription& frame, ShaderProgram* program, FBO* target);

// Ring normals into ripple B (bound by the caller) from ripple A.
void draw_ring_normals(const FrameDescription& frame, ShaderProgram* program, FBO* target);

// Where the corner rays of `camera` meet the water plane (see water_corners_from), with
// the depth range of `eye`.
WaterCorners water_corners(const Camera& eye, const Camera& camera);

// The water grid pass (the water grid bound by the caller).
void update_water_grid(const FrameDescription& frame, ShaderProgram* program, FBO* grid);

// Reflection (colour 0) and refraction (colour 1) images of the reflection target, the
// ground in them shadowed by the map drawn with `light`.
void draw_reflection_refraction(const FrameDescription& frame, const LightMatrices& light);

// The water surface into the depth-of-field target (the frame asks for it with buffer_pass),
// its rings projected as ripple A was drawn (`rings`).
void draw_water_surface(const FrameDescription& frame, const RingImageView& rings);

// ripple_scale_dynamic x prec_mul.
float ripple_scale();

// The swell and the whole water surface of the game's wave and ring settings.
WaterSpan frame_swell_span();
WaterSpan frame_water_span();
