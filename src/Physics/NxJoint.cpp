// Six-degree-of-freedom joints on Bullet's generic 6-DOF constraint.
//
// The joint frame in each body is (axis, normal, axis x normal): twist turns about the axis,
// swing 1 about the normal, swing 2 about their cross product. Bullet's constraint measures
// its rotation as Euler angles x-y-z whose middle angle only spans -90 to 90 degrees, so the
// frame is handed to Bullet turned cyclically: a single free rotation lands on Bullet's x
// (full circle), and with two free rotations the locked one lands on the middle axis.

#include "Physics/NxBullet.h"

#include <algorithm>

namespace {

const int kJointSolverPasses = 50;

// Which of the joint's axes (0 axis, 1 normal, 2 binormal) sits at Bullet's axis 0.
int frame_shift(const NxD6JointDesc& d)
{
    const NxD6JointMotion angular[3] = {d.twistMotion, d.swing1Motion, d.swing2Motion};
    int moving = 0, lastMoving = 0, lastLocked = 0;
    for (int i = 0; i < 3; ++i) {
        if (angular[i] != NX_D6JOINT_MOTION_LOCKED) {
            ++moving;
            lastMoving = i;
        } else {
            lastLocked = i;
        }
    }
    if (moving == 1) return lastMoving;
    if (moving == 2) return (lastLocked + 2) % 3;
    return 0;
}

btTransform joint_frame(const NxVec3& anchor, const NxVec3& axisIn, const NxVec3& normalIn, int shift)
{
    NxVec3 axis = axisIn;
    axis.normalize();
    // Make the normal exactly perpendicular to the axis.
    NxVec3 normal = normalIn - axis * axis.dot(normalIn);
    normal.normalize();
    NxVec3 frame[3] = {axis, normal, axis.cross(normal)};
    btMatrix3x3 basis;
    for (int k = 0; k < 3; ++k) {
        const NxVec3& c = frame[(shift + k) % 3];
        basis[0][k] = c.x;
        basis[1][k] = c.y;
        basis[2][k] = c.z;
    }
    return btTransform(basis, to_bt(anchor));
}

void set_motion(btGeneric6DofSpring2Constraint* c, int axis, NxD6JointMotion motion, NxReal low, NxReal high)
{
    switch (motion) {
    case NX_D6JOINT_MOTION_LOCKED: c->setLimit(axis, 0, 0); break;
    case NX_D6JOINT_MOTION_LIMITED: c->setLimit(axis, low, high); break;
    case NX_D6JOINT_MOTION_FREE: c->setLimit(axis, 1, -1); break; // lower above upper: no limit
    }
}

} // namespace

NxJoint* NxScene::createJoint(const NxD6JointDesc& desc)
{
    nx_settle(*impl);
    if (!desc.isValid()) {
        NX_ERROR(NXE_INVALID_PARAMETER, "createJoint: invalid joint descriptor");
        return nullptr;
    }
    NxActorData* actors[2] = {desc.actor[0] ? desc.actor[0]->impl : nullptr,
                              desc.actor[1] ? desc.actor[1]->impl : nullptr};
    for (NxActorData* a : actors)
        if (a && (a->scene != impl || a->released)) {
            NX_ERROR(NXE_INVALID_PARAMETER, "createJoint: an actor is not a live actor of this scene");
            return nullptr;
        }
    if ((!actors[0] || !actors[0]->dynamic) && (!actors[1] || !actors[1]->dynamic)) {
        NX_ERROR(NXE_INVALID_PARAMETER, "createJoint: at least one actor needs a body");
        return nullptr;
    }

    const int shift = frame_shift(desc);
    btTransform frames[2];
    for (int i = 0; i < 2; ++i)
        frames[i] = joint_frame(desc.localAnchor[i], desc.localAxis[i], desc.localNormal[i], shift);
    // A missing actor is the world: its frame is given in world coordinates.
    btRigidBody& a = actors[0] ? *actors[0]->body : btTypedConstraint::getFixedBody();
    btRigidBody& b = actors[1] ? *actors[1]->body : btTypedConstraint::getFixedBody();

    NxJointData* j = new NxJointData;
    j->pub.impl = j;
    j->pub.userData = desc.userData;
    j->scene = impl;
    j->actors[0] = actors[0];
    j->actors[1] = actors[1];
    j->maxForce = std::min(desc.maxForce, desc.maxTorque);
    j->constraint = new btGeneric6DofSpring2Constraint(a, b, frames[0], frames[1], RO_XYZ);

    const NxD6JointMotion linear[3] = {desc.xMotion, desc.yMotion, desc.zMotion};
    const NxD6JointMotion angular[3] = {desc.twistMotion, desc.swing1Motion, desc.swing2Motion};
    const NxReal angularLow[3] = {desc.twistLimit.low.value, -desc.swing1Limit.value, -desc.swing2Limit.value};
    const NxReal angularHigh[3] = {desc.twistLimit.high.value, desc.swing1Limit.value, desc.swing2Limit.value};
    const NxReal v = desc.linearLimit.value;
    for (int k = 0; k < 3; ++k) {
        int axis = (shift + k) % 3;
        set_motion(j->constraint, k, linear[axis], -v, v);
        set_motion(j->constraint, 3 + k, angular[axis], angularLow[axis], angularHigh[axis]);
    }
    for (NxActorData* actor : actors)
        if (actor && actor->dynamic && !actor->kinematic()) actor->body->activate(true);

    // Locked axes pull drift back harder than Bullet's default, and the joint gets more
    // solver passes than the contacts need: a joint's pull reaches along a chain of bodies
    // (a bridge) one link per pass, and with too few the chain stretches and sags.
    for (int axis = 0; axis < 6; ++axis) j->constraint->setParam(BT_CONSTRAINT_STOP_ERP, 0.8f, axis);
    j->constraint->setOverrideNumSolverIterations(kJointSolverPasses);
    impl->world->addConstraint(j->constraint, (desc.jointFlags & NX_JF_COLLISION_ENABLED) == 0);
    impl->joints.push_back(j);
    return &j->pub;
}

void nx_delete_joint(NxJointData* j)
{
    NxSceneData* s = j->scene;
    s->world->removeConstraint(j->constraint);
    auto it = std::find(s->joints.begin(), s->joints.end(), j);
    if (it != s->joints.end()) s->joints.erase(it);
    delete j->constraint;
    delete j;
}

void NxScene::releaseJoint(NxJoint& joint)
{
    nx_settle(*impl);
    if (joint.impl->scene != impl) {
        NX_ERROR(NXE_INVALID_PARAMETER, "releaseJoint: not a joint of this scene");
        return;
    }
    nx_delete_joint(joint.impl);
}

NxU32 NxScene::getNbJoints() const
{
    return static_cast<NxU32>(impl->joints.size());
}

void NxJoint::getActors(NxActor** actor1, NxActor** actor2) const
{
    if (actor1) *actor1 = impl->actors[0] ? &impl->actors[0]->pub : nullptr;
    if (actor2) *actor2 = impl->actors[1] ? &impl->actors[1]->pub : nullptr;
}

bool NxJoint::isBroken() const
{
    nx_settle(*impl->scene);
    return !impl->constraint->isEnabled();
}
