// The chase camera behind the player's hover: above and behind it, kept clear of the
// ground and of the hover's own height, looking at it from slightly above.
#pragma once

#include "Common/mathlibVectors.h"

class Camera;
class HeightMap;
struct GroundHeights;

// How graphics positions map onto the physics map: graphics = physics * scale + translate,
// and a physics-map sample's height in physics units is sample * sample_height.
struct GroundLookup {
    const HeightMap* map = nullptr;
    Vec3f scale{1, 1, 1};
    Vec3f translate{0, 0, 0};
    float sample_height = 1.0f;
};

// The camera position for a hover at graphics position `player` whose forward thrust points
// along `behind` (normalised, the negative of its local +X axis, so the camera sits behind).
Vec3d follow_position(const Vec3d& player, const Vec3d& behind, const GroundLookup& ground);

// The design's camera keeps above one coarse ground sample under itself, so on a slope or behind
// a ridge the eye can stand in the rock or look at the hover through it. After the design's
// steps the camera is raised until the ground the eye sees (GroundHeights) stays below the
// line of sight to the hover and below the camera itself, by these margins (graphics units).
struct SightClearance {
    double sight_margin = 40;   // the line of sight passes this far above the ground
    double ground_margin = 150; // the camera stands this far above the ground under it
    double near_hover = 64;     // nearer the hover than this (across) the ground is its own
    double step = 4;            // between the looks at the ground along the line (a sample)
    double max_lift = 1500;     // no ridge lifts the camera further
};

// How far the camera at `camera` must rise for the ground to keep those margins to the line of
// sight to the hover at `player` and to the camera; 0 when nothing is in the way.
double clearance_lift(const Vec3d& player, const Vec3d& camera, const GroundHeights& ground,
                      const SightClearance& c = SightClearance());

// The camera's lift over the design's position, eased toward what the ground asks for: up
// within a few frames, down slowly, so that neither a ridge coming between nor one falling
// behind makes the view jump.
struct EasedLift {
    double lift = 0;
    double rise_seconds = 0.08; // time constants, in game seconds
    double fall_seconds = 0.5;
    double follow(double target, double seconds);
};

// The design's camera position `design` behind the hover at `player`, raised by the eased
// lift after `seconds` of game time. While the lift is still easing up it never leaves the
// camera inside the ground: it stands at least `c.sight_margin` above the ground under it.
Vec3d clear_follow_position(const Vec3d& player, const Vec3d& design, const GroundHeights& ground, EasedLift& eased,
                            double seconds, const SightClearance& c = SightClearance());

struct TerrainScale;

// The chase camera of one frame, all of it: the design's place behind the hover at graphics
// position `player` whose thrust points along `nose`, raised clear of the ground of `map` as
// the terrain scale lays it out, eased over `seconds` of game time, and `cam` aimed from there.
void follow_hover(Camera& cam, const Vec3d& player, const Vec3d& nose, const HeightMap& map,
                  const TerrainScale& terrain, EasedLift& eased, double seconds);

// Points `cam` from `position` at `player`, raised by 7 degrees. Keeps the previous axes
// when the view would have no direction.
void aim_follow_camera(Camera& cam, const Vec3d& position, const Vec3d& player);
