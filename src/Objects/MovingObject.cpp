#include "Objects/MovingObject.h"

#include "Audio/AudioSystem.h"
#include "Gfx/MD2_Instance.h"

#include <cmath>
#include <cstdio>

namespace {

void identity(float m[16])
{
    for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

} // namespace

void (*MovingObject::play_sound)(const char*, const float[3]) = play_effect;

MovingObject::MovingObject(int ring_capacity) : rings(ring_capacity)
{
    identity(physx_matrix);
    identity(gfx_matrix);
}

MovingObject::~MovingObject() = default;

void MovingObject::attach(Md2Instance* instance)
{
    instances.push_back(instance);
    if (instance) instance->m_Transform = gfx_matrix;
}

void MovingObject::sync()
{
    if (!actor) return;
    actor->getGlobalPose().getColumnMajor44(physx_matrix);
    NxVec3 p = actor->getGlobalPosition();
    p.get(physx_position);
    physx_to_gfx_matrix(physx_matrix, gfx_matrix);
    for (int k = 0; k < 3; ++k) gfx_position[k] = gfx_matrix[12 + k];
    for (Md2Instance* instance : instances)
        if (instance) instance->m_Transform = gfx_matrix;
}

void MovingObject::set_upright(const NxVec3& up, float threshold, bool force)
{
    if (!(up.y < threshold) && !force) return;
    if (!actor) return;
    NxMat34 pose = actor->getGlobalPose();
    NxVec3 z = pose.M.getColumn(2);
    // The new x axis is up x z, which lies in the horizontal plane; the new z axis is the
    // heading z flattened onto that plane.
    NxVec3 x(z.z, 0, -z.x);
    if (x.magnitude() == 0) {
        // z points straight up or down and gives no heading; the body's x axis, level in
        // that pose, keeps it instead (a zero axis would make the pose degenerate).
        NxVec3 old_x = pose.M.getColumn(0);
        x.set(old_x.x, 0, old_x.z);
    }
    float len = x.magnitude();
    if (len == 0) len = 0.001f;
    x = x / len;
    NxVec3 y(0, 1, 0);
    pose.M.setColumn(0, x);
    pose.M.setColumn(1, y);
    pose.M.setColumn(2, x.cross(y));
    actor->setGlobalPose(pose);
    play_sound("yipiee", gfx_position);
    actor->addLocalForce(NxVec3(0, force_up, 0));
}
