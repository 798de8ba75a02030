#include "Objects/PlayerImpl.h"

#include "Common/ParameterFile.h"
#include "Common/Platform.h"
#include "Objects/ObjectKeyRanges.h"

#include <cstdio>

namespace {

const KeyRange kPlayerKeys[] = {
    {"kineticEnergyThreshold", -1e30, 1e30, "read and kept; nothing uses it"},
    {"force_jump", 0, 1e7, nullptr},
    {"jump_delay_time", 0, 3600, "seconds"},
    {"boxDimensionsX", 0.01, 1000, "a body without size cannot collide"},
    {"boxDimensionsY", 0.01, 1000, "a body without size cannot collide"},
    {"boxDimensionsZ", 0.01, 1000, "a body without size cannot collide"},
};

} // namespace

PlayerImpl::PlayerImpl(NxScene* scene_in, const NxVec3& position, bool forward_in, bool left_in, bool right_in,
                       const char* path)
    : scene(scene_in), forward(forward_in), backward(!forward_in), left(left_in), right(right_in)
{
    type = OBJECT_PLAYER;
    {
        ParameterFile p(path, {body_mass_key_ranges, body_damping_key_ranges, hover_key_ranges, kPlayerKeys});
        ray_epsilon = p.getFloat("rayEpsilon");
        shoot_eps = p.getFloat("shoot_eps");
        shoot_delay = p.getFloat("shoot_delay");
        kinetic_energy_threshold = p.getFloat("kineticEnergyThreshold");
        shoot_min_slope = p.getFloat("shoot_min_slope");
        raylen_long = p.getFloat("raylen_long");
        raylen_short = p.getFloat("raylen_short");
        force_forward = p.getFloat("force_forward");
        force_backward = p.getFloat("force_backward");
        force_torque = p.getFloat("force_torque");
        force_up = p.getFloat("force_up");
        force_jump = p.getFloat("force_jump");
        jump_delay_time = p.getFloat("jump_delay_time");
        angular_damping = p.getFloat("angularDamping");
        linear_damping = p.getFloat("linearDamping");
        mass = p.getFloat("mass");
        box_dimensions[0] = p.getFloat("boxDimensionsX");
        box_dimensions[1] = p.getFloat("boxDimensionsY");
        box_dimensions[2] = p.getFloat("boxDimensionsZ");
        box_size = p.getFloat("boxSize");
        jet_power = p.getFloat("jet_power");
        // Beside the design's keys, read after them.
        yaw_brake = p.getFloat("yaw_brake");
    }
    half_extents = NxVec3(box_dimensions[0] / 2, box_dimensions[1] / 2, box_dimensions[2] / 2);
    shape_dimensions = half_extents;

    // The two front rays (+x is forward) reach further than the two rear ones, so the nose
    // lifts before a slope arrives under it.
    float hx = half_extents.x - ray_epsilon, hz = half_extents.z - ray_epsilon;
    rays.corners[0] = NxVec3(-hx, 0, hz);
    rays.corners[1] = NxVec3(hx, 0, hz);
    rays.corners[2] = NxVec3(-hx, 0, -hz);
    rays.corners[3] = NxVec3(hx, 0, -hz);
    rays.lengths[0] = rays.lengths[2] = raylen_short;
    rays.lengths[1] = rays.lengths[3] = raylen_long;
    position.get(still.reference);

    NxBoxShapeDesc box;
    box.dimensions = shape_dimensions;
    box.group = kHoverShapeGroup;
    NxBodyDesc body = damped_body(mass, linear_damping, angular_damping);
    NxActorDesc desc;
    desc.shapes.pushBack(&box);
    desc.body = &body;
    desc.density = 0;
    desc.globalPose.t = position;
    desc.userData = static_cast<MovingObject*>(this);
    if (scene) actor = scene->createActor(desc);
    const float offset_in[3] = {position.x, position.y, position.z};
    attach_actor(actor, offset_in);
}

void PlayerImpl::jump(float t)
{
    if (!actor || !(t - last_jump > jump_delay_time)) return;
    actor->addLocalForce(NxVec3(0, force_jump, 0));
    last_jump = t;
}

NxVec3 PlayerImpl::up_axis() const
{
    return actor ? actor->getGlobalOrientation().getColumn(1) : NxVec3(0, 1, 0);
}

NxVec3 PlayerImpl::forward_axis() const
{
    return actor ? actor->getGlobalOrientation().getColumn(0) : NxVec3(1, 0, 0);
}

void PlayerImpl::update(float seconds)
{
    if (!actor) return;
    kinetic_energy = actor->computeKineticEnergy();
    NxVec3 d = apply_hover_lift(*actor, rays, jet_power, debug_rays);

    if (still.due(actor->getGlobalPosition(), shoot_eps, shoot_delay, process_clock_ms())) {
        set_upright(up_axis(), shoot_min_slope, false);
        std::fprintf(stderr, "shoot PLAYER!!\n");
    }

    apply_roll_correction(*actor, d);

    if (forward) actor->addLocalForce(NxVec3(force_forward, 0, 0));
    if (backward) actor->addLocalForce(NxVec3(-force_backward, 0, 0));
    if (left) actor->addLocalTorque(NxVec3(0, force_torque, 0));
    if (right) actor->addLocalTorque(NxVec3(0, -force_torque, 0));
    if (left == right) apply_turn_brake(*actor, yaw_brake, seconds);
}
