// A computer-driven hover ("Dr. Evil"): it picks the nearest crystal, steers toward it by
// the seven steering classes, follows the eskel ship when it has nothing to chase, and
// steers away while another object is inside its sensor box ahead. It hovers, levels and
// rights itself by the same rules as the player, but drives along its local -z axis.
#pragma once

#include "Ai/Steering.h"
#include "Objects/HoverPhysics.h"
#include "Objects/MovingObject.h"

#include <vector>

class Collectable;
class EskelShip;

class Opponent : public MovingObject {
public:
    // Reads `path` and creates the body (with its sensor) at `position`; throws
    // HoverObjectError for a shape type other than a box (111).
    Opponent(const char* path, NxScene* scene, const NxVec3& position, Md2Instance* instance);

    // Once per frame: records, target, steering, hover physics, standing-still check.
    // `seconds` is the frame's physics step, over which the turn brake acts.
    void update(float seconds);

    // Takes the values of another opponent file (a new level of the opponents) for the next
    // game: its thrusts, turns, steering, target choice and dampings. The body keeps the box,
    // the mass and the sensor it was made with, which the level files share.
    void drive_by(const char* path);

    void add_candidate(MovingObject* o);
    void add_rival(MovingObject* o);
    // Drops `o` from the candidates; true when it was the target (which is then cleared).
    bool remove_candidate(MovingObject* o);
    void remove_rival(MovingObject* o);
    void set_ship(EskelShip* s) { ship = s; }
    void clear_ship() { ship = nullptr; }

    void add_points(int n) { points += n; }
    int get_points() const { return points; }
    void reset_points() { points = 0; }

    // The steering decision alone: sets the four movement flags from the target, the ship
    // and the sensor counter.
    void decide_steering();
    // The choice of a target when there is none (draws from the game's random source).
    void choose_target();

    // From the parameter file.
    NxVec3 half_extents;
    float raylen_long, raylen_short;
    float force_forward, force_backward, force_torque, yaw_brake;
    float linear_damping, angular_damping, mass;
    NxVec3 sensor_half_extents, sensor_pose;
    float jet_power;
    float attack, box_collect; // box_collect holds attack + boxCollect
    SteeringThresholds thresholds;
    float min_fwd_speed_for_break;
    float ray_epsilon;
    float shoot_eps, shoot_delay, shoot_min_slope;
    float target_choice_delay = 0; // seconds

    NxScene* scene = nullptr;
    NxVec3 start_position;
    bool forward = false, brake = false, turn_positive = false, turn_negative = false;
    std::vector<TargetRecord> candidates;
    std::vector<TargetRecord> rivals;
    int target = -1; // index into candidates, or -1
    int mode = 0;    // 222 while chasing a crystal, 0 otherwise
    long choose_after_ms = 0; // process clock: no new target before then
    EskelShip* ship = nullptr;
    int sensor_count = 0;
    bool turn_side = false;
    int points = 0;
    StandingStill still;
    HoverRays rays;

private:
    void read_parameters(const char* path);
    void refresh(TargetRecord& r) const;
    void apply_hover_physics(float seconds);
};
