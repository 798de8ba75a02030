// The root of the game objects: the mapping from physics space to graphics space that every
// object's drawing matrix goes through, and the type identifiers of the object kinds.
#pragma once

#include <cstdint>

// Type identifiers, by which the trigger report, the ring trails and the scoring tell
// objects apart.
enum ObjectType : int32_t {
    OBJECT_GENERIC = 10000,
    OBJECT_STATIC = 11000,
    OBJECT_BRIDGE_ELEMENT = 12001,
    OBJECT_COLLECTABLE = 12100,
    OBJECT_PLAYER = 12210,
    OBJECT_OPPONENT = 12221,
    OBJECT_ESKEL_SHIP = 12222
};

class GenericObject {
public:
    // A graphics position is the physics position times the scale, per component, plus the
    // translation; rotations are unchanged. Set once by the main program before any object
    // exists.
    static float physx2gfx_scale[3];
    static float physx2gfx_translate[3];
    static void set_physx2gfx_transform(const float scale[3], const float translate[3]);
};

// A column-major physics pose matrix with its position moved to graphics space.
void physx_to_gfx_matrix(const float physx[16], float gfx[16]);
// A point of the physics world in graphics units.
void physx_to_gfx_point(const float physx[3], float gfx[3]);
