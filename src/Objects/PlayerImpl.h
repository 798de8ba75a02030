// The player's hover vehicle: one box body held above the ground by four rays, pushed along
// its own +x axis, turned about its y axis, levelled in roll, able to jump, and righted when
// it sits tipped over in one place. Its values come from .\config\objects\player.p.
#pragma once

#include "Objects/HoverPhysics.h"
#include "Objects/PlayerObject.h"

class PlayerImpl : public PlayerObject {
public:
    // Reads the parameter file and creates the body at `position` in `scene`. The forward,
    // left and right flags start as given; backward as the negation of forward.
    PlayerImpl(NxScene* scene, const NxVec3& position, bool forward, bool left, bool right,
               const char* path = ".\\config\\objects\\player.p");

    void set_forward(bool on) { forward = on; }
    void set_backward(bool on) { backward = on; }
    void set_left(bool on) { left = on; }
    void set_right(bool on) { right = on; }

    // A jump at time `t` (seconds), unless the last one was less than jump_delay_time ago.
    void jump(float t);

    // Once per frame: the hover rays, the standing-still check, the roll correction, the
    // pushes the four flags ask for, and the turn brake while no turn is asked for, over the
    // frame's physics step of `seconds`.
    void update(float seconds) override;

    // The body's axes in world space.
    NxVec3 up_axis() const;
    NxVec3 forward_axis() const;

    float ray_epsilon, shoot_eps, shoot_delay, kinetic_energy_threshold, shoot_min_slope;
    float raylen_long, raylen_short;
    float force_forward, force_backward, force_torque, yaw_brake, force_jump, jump_delay_time;
    float angular_damping, linear_damping, mass;
    float box_dimensions[3];
    float jet_power;
    NxVec3 half_extents;      // half of the box dimensions
    NxVec3 shape_dimensions;  // the same, as handed to the shape
    NxScene* scene = nullptr;
    bool forward = false, backward = true, left = false, right = false;
    StandingStill still;
    float last_jump = 0;
    HoverRays rays;
};
