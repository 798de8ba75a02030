// A ray drawn as an arrow from `from` to `to` (the ground rays of a hover, switched on per
// object). Fixed-function lines in whatever view is current.
#pragma once

#include "Physics/NxPhysics.h"

void draw_debug_ray(const NxVec3& from, const NxVec3& to, float r, float g, float b);
