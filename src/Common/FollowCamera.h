// The chase camera behind the player's hover: above and behind it, kept clear of the
// ground and of the hover's own height, looking at it from slightly above.
#pragma once

#include "Common/mathlibVectors.h"

class Camera;
class HeightMap;

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

// Points `cam` from `position` at `player`, raised by 7 degrees. Keeps the previous axes
// when the view would have no direction.
void aim_follow_camera(Camera& cam, const Vec3d& position, const Vec3d& player);
