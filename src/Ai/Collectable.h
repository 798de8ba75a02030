// A crystal: dropped by the eskel ship, it tumbles onto the landscape and waits there for
// its lifetime. Whoever touches its sensor first scores value x multiplier; the multiplier
// grows each time an opponent takes the crystal as its target.
#pragma once

#include "Objects/MovingObject.h"

#include <vector>

class AiManager;

// The shape and lifetime every crystal shares, read from the first crystal's file.
struct CollectableDefaults {
    bool read = false;
    NxVec3 body_half_extents;
    float linear_damping = 0, angular_damping = 0, density = 0;
    NxVec3 sensor_half_extents, sensor_pose;
    float box_size = 0;
    int life_time = 0; // seconds
};

// The animation a crystal chased n times asks for: min(2 * floor((n + 1) / 2), 6).
int chase_animation(int multiplier);

class Collectable : public MovingObject {
public:
    // A crystal worth `value` at `position`, whose model returns to `pool` when it goes.
    // Throws ObjectError for a shape type other than a box (111).
    Collectable(const char* defaults_path, NxScene* scene, const NxVec3& position, int value,
                std::vector<Md2Instance*>* pool);

    // Puts the crystal into play at `position`, worth `value`: a new actor, the multiplier
    // back to 1, a whole lifetime from now and no rings. A crystal taken out of play (actor
    // released, models returned) comes back this way, so that the ship's drops reuse the
    // crystals that went instead of making new ones.
    void place(const NxVec3& position, int value);

    // An opponent took this crystal as its target.
    void chase_notice();

    // Hides every model of the crystal, gives the first back to its pool and lets go of
    // them all: the pool may hand that model to another crystal.
    void return_models();

    int value = 0;
    int multiplier = 1;
    std::vector<Md2Instance*>* pool = nullptr;
    long expiry_time = 0; // process clock, milliseconds
    int life_time = 0;
    AiManager* manager = nullptr;
    NxScene* scene = nullptr;

    // Reads `defaults` from `path` unless they have been read.
    static void load_defaults(const char* path);
    static CollectableDefaults defaults;
};
