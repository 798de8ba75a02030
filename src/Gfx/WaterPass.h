// The water: a plane at y = 0 drawn as a projected grid. Each frame the rings of moving
// objects are drawn into ripple A and turned into normals in ripple B; the corner rays of
// the grid camera give the water grid, which the ripple program displaces; reflection and
// refraction images are drawn; the surface program mixes them on the grid.
#pragma once

#include "Gfx/GridMath.h"
#include "Gfx/RingTrail.h"

#include <vector>

class Camera;
class FBO;
class ShaderProgram;
struct FrameDescription;

// The trails seen this frame, in the order the objects were visited; draw_rings draws
// them. The frame clears the list before the objects record their rings.
std::vector<const RingTrail*>& frame_ring_trails();

// The per-object step of the frame: records a ring when the object is low and due, ages
// the trail by `dt` of game time and `clock_dt` of the clock (age_rings) and remembers the
// trail for the ring pass. `time_now` is the game clock in seconds, `height_limit` the
// physics height above which no ring is left.
void update_ring_trail(RingTrail& trail, int type, float physics_y, float x, float z,
                       float time_now, float dt, float clock_dt, float height_limit);

// Ring heights into ripple A (bound by the caller), seen from the frame's grid camera.
void draw_rings(const FrameDescription& frame, ShaderProgram* program, FBO* target,
                const std::vector<const RingTrail*>& trails);

// Ring normals into ripple B (bound by the caller) from ripple A.
void draw_ring_normals(const FrameDescription& frame, ShaderProgram* program, FBO* target);

// Where the corner rays of `camera` meet the water plane (see water_corners_from), with
// the depth range of `eye`.
WaterCorners water_corners(const Camera& eye, const Camera& camera);

// The water grid pass (the water grid bound by the caller).
void update_water_grid(const FrameDescription& frame, ShaderProgram* program, FBO* grid);

// Reflection (colour 0) and refraction (colour 1) images of the reflection target.
void draw_reflection_refraction(const FrameDescription& frame);

// The water surface into the depth-of-field target (the frame asks for it with buffer_pass).
void draw_water_surface(const FrameDescription& frame);

// The projection ripple A was drawn with, kept to project ripple B onto the surface.
extern double saved_ring_projection[16];

// ripple_scale_dynamic x prec_mul.
float ripple_scale();

// The swell and the whole water surface of the game's wave and ring settings.
WaterSpan frame_swell_span();
WaterSpan frame_water_span();
