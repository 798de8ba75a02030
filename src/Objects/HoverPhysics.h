// What keeps a hover vehicle in the air and upright, shared by the player and the opponents:
// four downward rays from the corners of the body box whose lift grows as the ground comes
// closer, a torque that levels the body about its x axis, and the check that rights a body
// that has sat tipped over in one place.
#pragma once

#include "Gfx/DebugRays.h"
#include "Physics/NxPhysics.h"

#include <vector>

// The four ray corners in body coordinates and the length of each ray.
struct HoverRays {
    NxVec3 corners[4];
    float lengths[4] = {0, 0, 0, 0};
};

// The lift of one ray that hit the ground `distance` away: jet_power / distance, with the
// distance taken as at least 0.1 so that a body touching the ground is not shot away.
float hover_lift(float distance, float jet_power);

// The body's tilt as the angle between its down ray `ray_dir` and the world's down axis,
// in [0, pi], negated when the body's z axis `z_axis` points downward.
float roll_angle(const NxVec3& ray_dir, const NxVec3& z_axis);

// The body's down axis R * (0, -1, 0), normalised (left as is when it has no length).
NxVec3 hover_ray_direction(const NxMat33& rotation);

// Casts the four rays from `actor`'s pose and lifts the body at every corner whose ray hit.
// Only shapes of group 0 are hit (group mask 1): the hovers' own hulls are in group 2, and
// the physics layer never lets a ray hit a trigger shape, so sensors do not hold a hover up.
// With `draw` set each hit is recorded as a red ray for the frame (hover_debug_rays). Returns
// the down axis.
NxVec3 apply_hover_lift(NxActor& actor, const HoverRays& rays, float jet_power, bool draw);

// The rays recorded by the hovers whose rays are switched on, since the main loop last
// cleared the list; the main image draws them.
extern std::vector<DebugRay> hover_debug_rays;

// The levelling torque 400 * roll_angle about the body's x axis.
void apply_roll_correction(NxActor& actor, const NxVec3& ray_dir);

// The turn brake. A hover has nothing that grips the ground, so without it the yaw rate that
// a turn key built up would coast on after the release, fading only with the body's angular
// damping; and that damping also holds back the build-up while the key is held, so no value
// of it gives both a small turn for a tap and a quick full circle. With no turn asked for, the
// brake takes the share 1 - exp(-rate * seconds) of the yaw rate away at the start of a physics
// step of `seconds`: an exponential fade at `rate` per second, at every step length, that never
// turns the hover back.
float turn_brake_share(float rate, float seconds);

// Applies the brake to `actor` for a step of `seconds`: a change of its rate about the body's
// y axis.
void apply_turn_brake(NxActor& actor, float rate, float seconds);

// The standing-still check: a body that has not moved by `eps` in both x and z since the
// reference was taken is looked at every `delay_seconds`.
struct StandingStill {
    float reference[3] = {0, 0, 0};
    long checked_at = 0; // process clock, milliseconds

    // True when the upright check is due now (and restarts its delay); false when the body
    // has moved, which takes its position as the new reference.
    bool due(const NxVec3& position, float eps, float delay_seconds, long now_ms);
};

// The compass heading of a nose pointing along `forward`, in degrees in [0, 360): 0 along
// +x, 90 along -z (a left turn, seen from above, raises it), from the horizontal part only.
float heading_degrees(const NxVec3& forward);

// A body of `mass` with the two damping coefficients; the rest are the physics defaults.
NxBodyDesc damped_body(float mass, float linear_damping, float angular_damping);

// Hover box shapes are in this group; hover rays only hit group 0.
const NxCollisionGroup kHoverShapeGroup = 2;
const NxU32 kHoverRayGroups = 1;
