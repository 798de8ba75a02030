// The eskel ship: a gravity-free flying body that wanders between random waypoints at a
// fixed height above the terrain and drops crystals at random intervals, alternating sides.
#pragma once

#include "Ai/Steering.h"
#include "Objects/MovingObject.h"

#include <vector>

class AiManager;
class HeightMap;

// The highest terrain under a ship at (x, z) with half extents ex, ez: the physics map at
// six points of its footprint (0 outside the map), at least 0. `sample_height` turns a
// sample into physics units.
float ship_ground_height(const HeightMap& map, float sample_height, float x, float z, float ex, float ez);

// The lift toward `ground_offset` above `ground` for a ship at height `y`: 10 * d, and the
// divisor of the forward thrust, |d| + 1 while the ship is too low (1 otherwise).
struct ShipLift {
    float lift = 0;
    float divisor = 1;
};
ShipLift ship_lift(float ground_offset, float ground, float y);

// The most crystals a ship can have in play at once: `num_boxes` a drop, a drop every
// `min_drop` tenths of a second at the soonest (at least one tenth), each crystal lying
// `life_time` seconds, and one drop more for a drop that falls as an old one expires.
int crystals_in_play_at_most(int num_boxes, float min_drop, int life_time);

class EskelShip : public MovingObject {
public:
    // Reads `path`, creates the body at `position` and draws the first drop time and the
    // first waypoint. Throws HoverObjectError for a shape type other than a box (111).
    EskelShip(const char* path, NxScene* scene, const NxVec3& position, Md2Instance* instance);

    void update();
    void choose_waypoint();
    void drop_crystals();
    // Makes, once the level is populated, the models and crystals of as many crystals as can
    // be in play at once (at most kMostCrystalsPrepared), and room for them in the manager's
    // lists: the drops then load and allocate nothing. Each crystal is put into play and
    // taken out again at once, so that the physics allocator keeps the blocks of its body.
    void prepare_crystals();
    static constexpr int kMostCrystalsPrepared = 256;

    int num_boxes;
    float shoot_force[3];
    SteeringThresholds thresholds;
    float ground_offset;
    float force_forward, force_backward, force_torque;
    float min_drop, max_drop; // tenths of a second
    float x_space_min, x_space_max, z_space_min, z_space_max;
    float p_size;
    NxVec3 half_extents;
    float linear_damping, angular_damping, mass;

    NxScene* scene = nullptr;
    AiManager* manager = nullptr; // set when the manager registers the ship
    const HeightMap* map = nullptr; // the terrain it flies over; the game's height map
    float sample_height = 0;        // one sample of `map` in physics units
    NxVec3 waypoint;
    float square[4] = {0, 0, 0, 0}; // x min, x max, z min, z max
    long next_waypoint_time = 0;
    long waypoint_interval = 5000;
    long next_drop_time = 0;
    std::vector<Md2Instance*> pool; // hidden crystal models, ready for the next drop

    // Where dropped crystals get their model: from the pool, else a new instance. Tests
    // replace the maker (the real one loads the crystal model).
    static Md2Instance* (*make_crystal_instance)();
    Md2Instance* take_crystal_instance();
};
