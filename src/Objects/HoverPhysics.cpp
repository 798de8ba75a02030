#include "Objects/HoverPhysics.h"

#include "Objects/GenericObject.h"

#include <algorithm>
#include <cmath>

std::vector<DebugRay> hover_debug_rays;

namespace {

// A red ray for the frame, from physics units into the graphics world that it is drawn in.
void record_debug_ray(const NxVec3& from, const NxVec3& to)
{
    float physx_from[3], physx_to[3];
    from.get(physx_from);
    to.get(physx_to);
    DebugRay r{{0, 0, 0}, {0, 0, 0}, {1.0f, 0.0f, 0.0f}};
    physx_to_gfx_point(physx_from, r.from);
    physx_to_gfx_point(physx_to, r.to);
    hover_debug_rays.push_back(r);
}

} // namespace

float hover_lift(float distance, float jet_power)
{
    return jet_power / std::max(distance, 0.1f);
}

float roll_angle(const NxVec3& ray_dir, const NxVec3& z_axis)
{
    // The down ray against the world's down axis (0, -1, 0): its cosine is -ray_dir.y.
    float c = -ray_dir.y;
    float a;
    if (c >= 1)
        a = 0;
    else if (c <= -1)
        a = 3.14159265f;
    else
        a = std::acos(c);
    if (-z_axis.y > 0) a = -a;
    return a;
}

NxVec3 hover_ray_direction(const NxMat33& rotation)
{
    NxVec3 d = rotation * NxVec3(0, -1, 0);
    d.normalize();
    return d;
}

NxVec3 apply_hover_lift(NxActor& actor, const HoverRays& rays, float jet_power, bool draw)
{
    NxMat34 pose = actor.getGlobalPose();
    NxVec3 d = hover_ray_direction(pose.M);
    NxScene& scene = actor.getScene();
    for (int i = 0; i < 4; ++i) {
        NxRay ray(pose.M * rays.corners[i] + pose.t, d);
        NxRaycastHit hit;
        if (!scene.raycastClosestShape(ray, NX_ALL_SHAPES, hit, kHoverRayGroups, rays.lengths[i])) continue;
        if (draw) record_debug_ray(ray.orig, hit.worldImpact);
        actor.addForceAtLocalPos(NxVec3(0, hover_lift(hit.distance, jet_power), 0), rays.corners[i]);
    }
    return d;
}

void apply_roll_correction(NxActor& actor, const NxVec3& ray_dir)
{
    NxVec3 z = actor.getGlobalOrientation().getColumn(2);
    actor.addLocalTorque(NxVec3(400.0f * roll_angle(ray_dir, z), 0, 0));
}

float heading_degrees(const NxVec3& forward)
{
    float deg = std::atan2(-forward.z, forward.x) * (180.0f / 3.14159265f);
    // atan2 gives -0 straight along +x; fabs makes it a plain 0.
    deg = deg < 0 ? deg + 360.0f : std::fabs(deg);
    return deg >= 360.0f ? 0.0f : deg;
}

float turn_brake_share(float rate, float seconds)
{
    if (!(rate > 0) || !(seconds > 0)) return 0;
    return 1.0f - std::exp(-rate * seconds);
}

void apply_turn_brake(NxActor& actor, float rate, float seconds)
{
    float share = turn_brake_share(rate, seconds);
    if (share == 0) return;
    // A change of the rate at the start of the step, not a torque through it: a torque strong
    // enough to stop the turn within a long step would swing it back within a short one.
    NxVec3 up = actor.getGlobalOrientation().getColumn(1);
    float yaw_rate = actor.getAngularVelocity().dot(up);
    actor.addLocalTorque(NxVec3(0, -yaw_rate * share, 0), NX_VELOCITY_CHANGE);
}

NxBodyDesc damped_body(float mass, float linear_damping, float angular_damping)
{
    NxBodyDesc body;
    body.mass = mass;
    body.linearDamping = linear_damping;
    body.angularDamping = angular_damping;
    return body;
}

bool StandingStill::due(const NxVec3& position, float eps, float delay_seconds, long now_ms)
{
    if (std::fabs(position.x - reference[0]) >= eps && std::fabs(position.z - reference[2]) >= eps) {
        position.get(reference);
        checked_at = now_ms;
        return false;
    }
    if (checked_at < now_ms - static_cast<long>(delay_seconds * 1000.0f)) {
        checked_at = now_ms;
        return true;
    }
    return false;
}
