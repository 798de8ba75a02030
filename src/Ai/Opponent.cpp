#include "Ai/Opponent.h"

#include "Ai/Collectable.h"
#include "Ai/EskelShip.h"
#include "Common/ParameterFile.h"
#include "Common/Platform.h"
#include "Common/Random.h"
#include "Objects/ObjectErrors.h"
#include "Objects/ObjectKeyRanges.h"

#include <algorithm>

namespace {

const KeyRange kOpponentKeys[] = {
    {"attack", 0, 1e6, "a weight of the target choice"},
    {"boxCollect", 0, 1e6, "a weight of the target choice"},
    {"min_fwd_speed_for_break", 0, 1e4, nullptr},
    {"target_choice_delay", 0, 60, "seconds before the next crystal is chosen"},
};

} // namespace

Opponent::Opponent(const char* path, NxScene* scene_in, const NxVec3& position, Md2Instance* instance)
    : scene(scene_in), start_position(position)
{
    attach(instance);
    type = OBJECT_OPPONENT;
    read_parameters(path);

    // Forward is -z: the two front corners (z < 0) carry the long rays.
    float hx = half_extents.x - ray_epsilon, hz = half_extents.z - ray_epsilon;
    rays.corners[0] = NxVec3(hx, 0, -hz);
    rays.corners[1] = NxVec3(hx, 0, hz);
    rays.corners[2] = NxVec3(-hx, 0, -hz);
    rays.corners[3] = NxVec3(-hx, 0, hz);
    rays.lengths[0] = rays.lengths[2] = raylen_long;
    rays.lengths[1] = rays.lengths[3] = raylen_short;
    position.get(still.reference);

    NxBoxShapeDesc body_box;
    body_box.dimensions = half_extents;
    body_box.group = kHoverShapeGroup;
    NxBoxShapeDesc sensor;
    sensor.dimensions = sensor_half_extents;
    sensor.localPose.t = sensor_pose;
    sensor.shapeFlags |= NX_TRIGGER_ENABLE;
    NxBodyDesc body = damped_body(mass, linear_damping, angular_damping);
    NxActorDesc desc;
    desc.shapes.pushBack(&body_box);
    desc.shapes.pushBack(&sensor);
    desc.body = &body;
    desc.globalPose.t = position;
    desc.userData = static_cast<MovingObject*>(this);
    if (scene) actor = scene->createActor(desc);
}

void Opponent::read_parameters(const char* path)
{
    ParameterFile p(path, {body_box_key_ranges, sensor_key_ranges, body_mass_key_ranges, body_damping_key_ranges,
                           hover_key_ranges,
                           steering_key_ranges, kOpponentKeys});
    require_box_shape<HoverObjectError>(p, "bodyShapeType");
    half_extents = NxVec3(p.getFloat("bodyShapeXLength"), p.getFloat("bodyShapeYLength"),
                          p.getFloat("bodyShapeZLength")) * 0.5f;
    raylen_long = p.getFloat("raylen_long");
    raylen_short = p.getFloat("raylen_short");
    force_forward = p.getFloat("force_forward");
    force_backward = p.getFloat("force_backward");
    force_torque = p.getFloat("force_torque");
    force_up = p.getFloat("force_up");
    linear_damping = p.getFloat("linearDamping");
    angular_damping = p.getFloat("angularDamping");
    mass = p.getFloat("mass");
    require_box_shape<HoverObjectError>(p, "sensorShapeType");
    sensor_half_extents = NxVec3(p.getFloat("sensorShapeXLength"), p.getFloat("sensorShapeYLength"),
                                 p.getFloat("sensorShapeZLength"));
    sensor_pose = NxVec3(p.getFloat("sensorLocalPoseX"), p.getFloat("sensorLocalPoseY"),
                         p.getFloat("sensorLocalPoseZ"));
    jet_power = p.getFloat("jet_power");
    box_size = p.getFloat("boxSize");
    attack = p.getFloat("attack");
    box_collect = attack + p.getFloat("boxCollect");
    thresholds = read_thresholds(p);
    min_fwd_speed_for_break = p.getFloat("min_fwd_speed_for_break");
    ray_epsilon = p.getFloat("rayEpsilon");
    shoot_eps = p.getFloat("shoot_eps");
    shoot_delay = p.getFloat("shoot_delay");
    shoot_min_slope = p.getFloat("shoot_min_slope");
    // Beside the design's keys, read after them.
    yaw_brake = p.getFloat("yaw_brake");
    // The level of the opponents: how long one waits, once its crystal is gone, before it
    // picks the next (0 picks at once, as the design's opponents do).
    target_choice_delay = p.getFloat("target_choice_delay");
}

void Opponent::drive_by(const char* path)
{
    // The body as it was made stays: its box, mass and sensor (and the rays' corners).
    const NxVec3 box = half_extents, sensor = sensor_half_extents, sensor_at = sensor_pose;
    const float body_mass = mass, epsilon = ray_epsilon;
    read_parameters(path);
    half_extents = box, sensor_half_extents = sensor, sensor_pose = sensor_at;
    mass = body_mass, ray_epsilon = epsilon;
    rays.lengths[0] = rays.lengths[2] = raylen_long;
    rays.lengths[1] = rays.lengths[3] = raylen_short;
    if (actor) {
        actor->setLinearDamping(linear_damping);
        actor->setAngularDamping(angular_damping);
    }
}

void Opponent::add_candidate(MovingObject* o)
{
    TargetRecord r;
    r.object = o;
    r.actor = o ? o->actor : nullptr;
    candidates.push_back(r);
}

void Opponent::add_rival(MovingObject* o)
{
    TargetRecord r;
    r.object = o;
    r.actor = o ? o->actor : nullptr;
    rivals.push_back(r);
}

bool Opponent::remove_candidate(MovingObject* o)
{
    bool was_target = false;
    for (size_t i = 0; i < candidates.size();) {
        if (candidates[i].object != o) {
            ++i;
            continue;
        }
        if (target == static_cast<int>(i)) {
            was_target = true;
            target = -1;
            mode = 0;
            choose_after_ms = process_clock_ms() + static_cast<long>(target_choice_delay * 1000.0f);
        } else if (target > static_cast<int>(i)) {
            --target;
        }
        candidates.erase(candidates.begin() + static_cast<long>(i));
    }
    return was_target;
}

void Opponent::remove_rival(MovingObject* o)
{
    rivals.erase(std::remove_if(rivals.begin(), rivals.end(), [o](const TargetRecord& r) { return r.object == o; }),
                 rivals.end());
}

void Opponent::refresh(TargetRecord& r) const
{
    if (!r.actor || !actor) return;
    NxVec3 p = r.actor->getGlobalPosition();
    p.get(r.position);
    r.distance = p.distance(actor->getGlobalPosition());
}

void Opponent::choose_target()
{
    if (target >= 0) return;
    // Still looking round after the last crystal went: the ship leads meanwhile.
    if (process_clock_ms() < choose_after_ms) {
        mode = 0;
        return;
    }
    float r = rand_uniform() * (attack + box_collect);
    int chosen = -1;
    if (r < attack || r < attack + box_collect) chosen = nearest_record(candidates);
    target = chosen;
    if (target >= 0) {
        mode = 222;
        if (MovingObject* o = candidates[target].object)
            if (o->type == OBJECT_COLLECTABLE) static_cast<Collectable*>(o)->chase_notice();
    } else {
        mode = 0;
    }
}

void Opponent::decide_steering()
{
    forward = brake = turn_positive = turn_negative = false;
    if (sensor_count > 0) {
        if (turn_side)
            turn_positive = true;
        else
            turn_negative = true;
        return;
    }
    NxVec3 aim;
    if (mode == 222 && target >= 0) {
        aim.set(candidates[target].position);
    } else if (ship && ship->actor) {
        aim = ship->actor->getGlobalPosition();
    } else {
        forward = true;
        return;
    }
    if (!actor) return;
    NxMat34 pose = actor->getGlobalPose();
    int k = classify_aim(pose, aim, thresholds);
    NxVec3 velocity;
    pose.M.multiplyByTranspose(actor->getLinearVelocity(), velocity);
    bool fast = velocity.z < -min_fwd_speed_for_break;
    switch (k) {
    case STEER_TURN_POSITIVE: forward = turn_positive = true; break;
    case STEER_TURN_NEGATIVE: forward = turn_negative = true; break;
    case STEER_HARD_POSITIVE: turn_positive = true; break;
    case STEER_HARD_NEGATIVE: turn_negative = true; break;
    case STEER_BRAKE_POSITIVE: turn_positive = true, brake = fast; break;
    case STEER_BRAKE_NEGATIVE: turn_negative = true, brake = fast; break;
    default: forward = true; break;
    }
}

void Opponent::apply_hover_physics(float seconds)
{
    NxVec3 d = apply_hover_lift(*actor, rays, jet_power, debug_rays);
    apply_roll_correction(*actor, d);
    if (forward) actor->addLocalForce(NxVec3(0, 0, -force_forward));
    if (brake) actor->addLocalForce(NxVec3(0, 0, force_backward));
    if (turn_positive) actor->addLocalTorque(NxVec3(0, force_torque, 0));
    if (turn_negative) actor->addLocalTorque(NxVec3(0, -force_torque, 0));
    if (turn_positive == turn_negative) apply_turn_brake(*actor, yaw_brake, seconds);
}

void Opponent::update(float seconds)
{
    for (TargetRecord& r : candidates) refresh(r);
    for (TargetRecord& r : rivals) refresh(r);
    choose_target();
    decide_steering();
    if (!actor) return;
    apply_hover_physics(seconds);
    if (still.due(actor->getGlobalPosition(), shoot_eps, shoot_delay, process_clock_ms()))
        set_upright(actor->getGlobalOrientation().getColumn(1), shoot_min_slope, false);
}
