// Actors, their shapes and bodies, on Bullet rigid bodies.

#include "Physics/NxBullet.h"

#include <algorithm>
#include <cmath>

namespace {

// The SDK's damping is a coefficient c per second (dv/dt = -c v); Bullet scales velocities
// by (1 - d) per second. exp(-c) = 1 - d.
btScalar bullet_damping(NxReal coefficient)
{
    return 1.0f - std::exp(-coefficient);
}

bool check_coefficient(NxReal c, const char* what)
{
    if (c >= 0 && std::isfinite(c)) return true;
    NX_ERROR(NXE_INVALID_PARAMETER, "%s: the damping coefficient must be finite and not negative", what);
    return false;
}

NxShapeData* make_shape(const NxShapeDesc& desc, NxActorData* actor, unsigned serial)
{
    NxShapeData* s = new NxShapeData;
    s->pub.impl = s;
    s->pub.userData = desc.userData;
    s->actor = actor;
    s->type = desc.getType();
    s->localPose = desc.localPose;
    s->flags = desc.shapeFlags;
    s->group = desc.group;
    s->material = desc.materialIndex;
    s->serial = serial;
    switch (s->type) {
    case NX_SHAPE_BOX: {
        const NxBoxShapeDesc& box = static_cast<const NxBoxShapeDesc&>(desc);
        s->dims = box.dimensions;
        btBoxShape* shape = new btBoxShape(to_bt(box.dimensions));
        // The skin width becomes the collision margin, kept inside the box and small
        // against thin boxes; the box's outer size stays its half extents.
        NxReal smallest = std::min(box.dimensions.x, std::min(box.dimensions.y, box.dimensions.z));
        NxReal margin = std::min(nx_sdk->params[NX_SKIN_WIDTH], 0.2f * smallest);
        shape->setMargin(std::max(margin, 0.0f));
        s->shape = shape;
        break;
    }
    case NX_SHAPE_PLANE: {
        const NxPlaneShapeDesc& plane = static_cast<const NxPlaneShapeDesc&>(desc);
        NxVec3 n = plane.normal;
        NxReal len = n.normalize();
        s->shape = new btStaticPlaneShape(to_bt(n), plane.d / len);
        break;
    }
    case NX_SHAPE_MESH: {
        const NxTriangleMeshShapeDesc& meshDesc = static_cast<const NxTriangleMeshShapeDesc&>(desc);
        s->mesh = meshDesc.meshData->impl;
        ++s->mesh->refs;
        // Every shape has its own Bullet shape, so that contacts and ray hits lead back to
        // it, but all of them share the mesh's bounding-volume tree.
        btBvhTriangleMeshShape* shape = new btBvhTriangleMeshShape(s->mesh->triangles, true, false);
        shape->setOptimizedBvh(s->mesh->tree()->getOptimizedBvh());
        shape->setMargin(nx_sdk->params[NX_SKIN_WIDTH]);
        s->shape = shape;
        break;
    }
    }
    s->shape->setUserPointer(s);
    if (s->trigger()) {
        s->sensor = new btCollisionObject();
        s->sensor->setCollisionShape(s->shape);
        s->sensor->setCollisionFlags(btCollisionObject::CF_NO_CONTACT_RESPONSE);
    }
    return s;
}

void delete_shape(NxShapeData* s)
{
    if (s->mesh) --s->mesh->refs;
    delete s->sensor;
    delete s->shape;
    delete s;
}

// Box volume and inertia about the actor's origin (the centre of mass the layer assumes).
void box_mass_properties(const NxShapeData& s, NxReal mass, NxVec3& inertia)
{
    NxVec3 e = s.dims * 2.0f;
    NxVec3 local((e.y * e.y + e.z * e.z) * mass / 12.0f, (e.x * e.x + e.z * e.z) * mass / 12.0f,
                 (e.x * e.x + e.y * e.y) * mass / 12.0f);
    // Turn the box's principal inertia into the actor frame (diagonal part only) and shift
    // it to the actor's origin.
    const NxMat33& r = s.localPose.M;
    const NxVec3& t = s.localPose.t;
    for (int i = 0; i < 3; ++i) {
        NxReal v = 0;
        for (int k = 0; k < 3; ++k) v += r.m[i][k] * r.m[i][k] * local[k];
        NxReal shift = mass * (t.magnitudeSquared() - t[i] * t[i]);
        inertia[i] += v + shift;
    }
}

NxReal box_volume(const NxShapeData& s)
{
    return 8.0f * s.dims.x * s.dims.y * s.dims.z;
}

// The smallest half extent of the actor's solid boxes (for continuous collision).
NxReal smallest_extent(const NxActorData& a)
{
    NxReal r = NX_MAX_REAL;
    for (NxShape* shape : a.shapes) {
        const NxShapeData& s = *shape->impl;
        if (!s.trigger() && s.type == NX_SHAPE_BOX)
            r = std::min(r, std::min(s.dims.x, std::min(s.dims.y, s.dims.z)));
    }
    return r == NX_MAX_REAL ? 0 : r;
}

void add_to_world(NxActorData& a)
{
    btDiscreteDynamicsWorld* world = a.scene->world;
    bool solid = false;
    for (NxShape* s : a.shapes) solid = solid || !s->impl->trigger();
    if (!solid) {
        // Only trigger shapes: the body moves but touches nothing.
        world->addRigidBody(a.body, btBroadphaseProxy::DefaultFilter, 0);
    } else if (a.dynamic && !a.kinematic()) {
        world->addRigidBody(a.body, btBroadphaseProxy::DefaultFilter, btBroadphaseProxy::AllFilter);
    } else {
        world->addRigidBody(a.body, btBroadphaseProxy::StaticFilter,
                            btBroadphaseProxy::AllFilter ^ btBroadphaseProxy::StaticFilter);
    }
}

void apply_kinematic(NxActorData& a)
{
    btRigidBody* b = a.body;
    if (a.kinematic()) {
        b->setCollisionFlags(b->getCollisionFlags() | btCollisionObject::CF_KINEMATIC_OBJECT);
        b->setMassProps(0, btVector3(0, 0, 0));
        b->setLinearVelocity(btVector3(0, 0, 0));
        b->setAngularVelocity(btVector3(0, 0, 0));
        b->setActivationState(DISABLE_DEACTIVATION);
    } else {
        b->setCollisionFlags(b->getCollisionFlags() & ~btCollisionObject::CF_KINEMATIC_OBJECT);
        b->setMassProps(a.mass, to_bt(a.inertia));
        b->forceActivationState(ACTIVE_TAG);
        b->activate(true);
    }
    b->updateInertiaTensor();
}

void apply_gravity_flag(NxActorData& a)
{
    btRigidBody* b = a.body;
    if (a.bodyFlags & NX_BF_DISABLE_GRAVITY) {
        b->setFlags(b->getFlags() | BT_DISABLE_WORLD_GRAVITY);
        b->setGravity(btVector3(0, 0, 0));
    } else {
        b->setFlags(b->getFlags() & ~BT_DISABLE_WORLD_GRAVITY);
        b->setGravity(to_bt(a.scene->gravity));
    }
}

void apply_frozen_flags(NxActorData& a)
{
    const NxU32 f = a.bodyFlags;
    a.body->setLinearFactor(btVector3((f & NX_BF_FROZEN_POS_X) ? 0 : 1, (f & NX_BF_FROZEN_POS_Y) ? 0 : 1,
                                      (f & NX_BF_FROZEN_POS_Z) ? 0 : 1));
    a.body->setAngularFactor(btVector3((f & NX_BF_FROZEN_ROT_X) ? 0 : 1, (f & NX_BF_FROZEN_ROT_Y) ? 0 : 1,
                                       (f & NX_BF_FROZEN_ROT_Z) ? 0 : 1));
}

bool require_body(const NxActorData& a, const char* call)
{
    if (a.dynamic) return true;
    NX_ERROR(NXE_INVALID_OPERATION, "%s: the actor is static (it has no body)", call);
    return false;
}

// The world inertia tensor (zero for kinematic bodies).
btMatrix3x3 world_inertia(const btRigidBody* b)
{
    btMatrix3x3 inv = b->getInvInertiaTensorWorld();
    if (std::fabs(inv.determinant()) < 1e-20f) return btMatrix3x3(0, 0, 0, 0, 0, 0, 0, 0, 0);
    return inv.inverse();
}

void apply_force(NxActorData& a, const btVector3& force, const btVector3& at, NxForceMode mode, bool wakeup)
{
    btRigidBody* b = a.body;
    if (a.kinematic()) return; // kinematic bodies go where they are put
    if (wakeup) b->activate(true);
    switch (mode) {
    case NX_FORCE: b->applyForce(force, at); break;
    case NX_ACCELERATION: b->applyForce(force * a.mass, at); break;
    case NX_IMPULSE:
    case NX_SMOOTH_IMPULSE: b->applyImpulse(force, at); break;
    case NX_VELOCITY_CHANGE:
    case NX_SMOOTH_VELOCITY_CHANGE: b->applyImpulse(force * a.mass, at); break;
    }
}

void apply_torque(NxActorData& a, const btVector3& torque, NxForceMode mode, bool wakeup)
{
    btRigidBody* b = a.body;
    if (a.kinematic()) return;
    if (wakeup) b->activate(true);
    switch (mode) {
    case NX_FORCE: b->applyTorque(torque); break;
    case NX_ACCELERATION: b->applyTorque(world_inertia(b) * torque); break;
    case NX_IMPULSE:
    case NX_SMOOTH_IMPULSE: b->applyTorqueImpulse(torque); break;
    case NX_VELOCITY_CHANGE:
    case NX_SMOOTH_VELOCITY_CHANGE: b->applyTorqueImpulse(world_inertia(b) * torque); break;
    }
}

} // namespace

// ---- creation and release

NxActor* NxScene::createActor(const NxActorDesc& desc)
{
    nx_settle(*impl);
    NxSceneData* scene = impl;
    if (!desc.isValid()) {
        NX_ERROR(NXE_INVALID_PARAMETER, "createActor: invalid actor descriptor%s%s",
                 desc.name ? " " : "", desc.name ? desc.name : "");
        return nullptr;
    }
    for (NxU32 i = 0; i < desc.shapes.size(); ++i)
        if (desc.shapes[i]->materialIndex >= scene->materials.size()) {
            NX_ERROR(NXE_INVALID_PARAMETER, "createActor: no material %u", desc.shapes[i]->materialIndex);
            return nullptr;
        }

    NxActorData* a = new NxActorData;
    a->pub.impl = a;
    a->pub.userData = desc.userData;
    a->scene = scene;
    a->serial = scene->sdk->nextSerial++;
    a->dynamic = desc.body != nullptr;

    NxList<NxShapeData*> solids;
    for (NxU32 i = 0; i < desc.shapes.size(); ++i) {
        NxShapeData* s = make_shape(*desc.shapes[i], a, scene->sdk->nextSerial++);
        a->shapes.push_back(&s->pub);
        if (!s->trigger()) solids.push_back(s);
    }

    // Mass properties from the solid boxes (all boxes when the actor has only triggers).
    if (a->dynamic) {
        const NxBodyDesc& body = *desc.body;
        NxList<NxShapeData*> massShapes = solids;
        if (massShapes.empty())
            for (NxShape* s : a->shapes) massShapes.push_back(s->impl);
        NxReal volume = 0;
        for (NxShapeData* s : massShapes) volume += box_volume(*s);
        NxReal mass = body.mass > 0 ? body.mass : desc.density * volume;
        if (!(mass > 0) || !std::isfinite(mass)) {
            NX_ERROR(NXE_INVALID_PARAMETER, "createActor: a body needs a mass or a density and a volume");
            for (NxShape* s : a->shapes) delete_shape(s->impl);
            delete a;
            return nullptr;
        }
        a->mass = mass;
        if (!body.massSpaceInertia.isZero()) {
            a->inertia = body.massSpaceInertia;
        } else {
            for (NxShapeData* s : massShapes)
                box_mass_properties(*s, volume > 0 ? mass * box_volume(*s) / volume : mass / massShapes.size(),
                                    a->inertia);
        }
        a->bodyFlags = body.flags;
        a->linearDamping = body.linearDamping;
        a->angularDamping = body.angularDamping;
        a->solverIterations = body.solverIterationCount;
    }

    // The body's shape: the one solid shape itself when it sits at the actor's origin,
    // else a compound of all solid shapes; an empty shape when there are none.
    if (solids.size() == 1 && solids[0]->localPose.M.isIdentity() && solids[0]->localPose.t.isZero()) {
        a->bodyShape = solids[0]->shape;
    } else if (solids.empty()) {
        a->bodyShape = new btEmptyShape();
        a->ownsBodyShape = true;
    } else {
        btCompoundShape* compound = new btCompoundShape(true, static_cast<int>(solids.size()));
        for (NxShapeData* s : solids) compound->addChildShape(to_bt(s->localPose), s->shape);
        a->bodyShape = compound;
        a->ownsBodyShape = true;
    }

    btRigidBody::btRigidBodyConstructionInfo info(a->dynamic ? a->mass : 0, nullptr, a->bodyShape,
                                                  to_bt(a->inertia));
    info.m_startWorldTransform = to_bt(desc.globalPose);
    a->body = new btRigidBody(info);
    a->body->setUserPointer(a);
    nx_apply_material(*a);

    if (a->dynamic) {
        btRigidBody* b = a->body;
        b->setDamping(bullet_damping(a->linearDamping), bullet_damping(a->angularDamping));
        b->setSleepingThresholds(0.15f, 0.14f);
        b->setLinearVelocity(to_bt(desc.body->linearVelocity));
        b->setAngularVelocity(to_bt(desc.body->angularVelocity));
        // Continuous collision: a box that moves more than half its smallest half extent in
        // one step is swept, so that it cannot pass through a thin terrain tile.
        NxReal r = smallest_extent(*a);
        if (r > 0) {
            b->setCcdMotionThreshold(0.5f * r);
            b->setCcdSweptSphereRadius(0.9f * r);
        }
        if (a->kinematic()) apply_kinematic(*a);
        apply_frozen_flags(*a);
    }
    add_to_world(*a);
    if (a->dynamic) {
        apply_gravity_flag(*a);
        if (!a->kinematic() && desc.body->wakeUpCounter <= 0) a->body->setActivationState(ISLAND_SLEEPING);
        // Bullet iterates the whole world alike: the most demanding body sets the count.
        int& iterations = scene->world->getSolverInfo().m_numIterations;
        iterations = std::max(iterations, static_cast<int>(a->solverIterations));
    }

    scene->actors.push_back(a);
    scene->actorList.push_back(&a->pub);
    return &a->pub;
}

void nx_apply_material(NxActorData& a)
{
    // Bullet has one friction coefficient per body: the dynamic friction, which is what
    // sliding and driving feel; the first solid shape's material stands for the body.
    NxMaterialIndex index = 0;
    for (NxShape* s : a.shapes)
        if (!s->impl->trigger()) {
            index = s->impl->material;
            break;
        }
    const NxMaterial* m = a.scene->materials[index];
    a.body->setFriction(m->getDynamicFriction());
    a.body->setRestitution(m->getRestitution());
}

void nx_detach_actor(NxActorData& a)
{
    NxSceneData* scene = a.scene;
    for (size_t i = scene->joints.size(); i-- > 0;) {
        NxJointData* j = scene->joints[i];
        if (j->actors[0] == &a || j->actors[1] == &a) nx_delete_joint(j);
    }
    scene->world->removeRigidBody(a.body);
    auto& pairs = scene->overlaps;
    pairs.erase(std::remove_if(pairs.begin(), pairs.end(),
                               [&](const NxTriggerPair& p) { return p.trigger->actor == &a || p.other->actor == &a; }),
                pairs.end());
    auto it = std::find(scene->actors.begin(), scene->actors.end(), &a);
    if (it != scene->actors.end()) scene->actors.erase(it);
    auto pit = std::find(scene->actorList.begin(), scene->actorList.end(), &a.pub);
    if (pit != scene->actorList.end()) scene->actorList.erase(pit);
    a.released = true;
}

void nx_delete_actor(NxActorData* a)
{
    delete a->body;
    if (a->ownsBodyShape) delete a->bodyShape;
    for (NxShape* s : a->shapes) delete_shape(s->impl);
    delete a;
}

void NxScene::releaseActor(NxActor& actor)
{
    nx_settle(*impl);
    NxActorData* a = actor.impl;
    if (a->scene != impl || a->released) {
        NX_ERROR(NXE_INVALID_PARAMETER, "releaseActor: not a live actor of this scene");
        return;
    }
    nx_detach_actor(*a);
    if (impl->delivering)
        impl->doomed.push_back(a);
    else
        nx_delete_actor(a);
}

NxU32 NxScene::getNbActors() const
{
    return static_cast<NxU32>(impl->actors.size());
}

NxActor** NxScene::getActors()
{
    return impl->actorList.data();
}

// ---- actor

NxScene& NxActor::getScene() const
{
    return impl->scene->pub;
}

bool NxActor::isDynamic() const
{
    return impl->dynamic;
}

NxMat34 NxActor::getGlobalPose() const
{
    nx_settle(*impl->scene);
    return to_nx(impl->body->getWorldTransform());
}

NxVec3 NxActor::getGlobalPosition() const
{
    nx_settle(*impl->scene);
    return to_nx(impl->body->getWorldTransform().getOrigin());
}

NxMat33 NxActor::getGlobalOrientation() const
{
    nx_settle(*impl->scene);
    return to_nx(impl->body->getWorldTransform().getBasis());
}

void NxActor::setGlobalPose(const NxMat34& pose)
{
    nx_settle(*impl->scene);
    if (!pose.isFinite()) {
        NX_ERROR(NXE_INVALID_PARAMETER, "setGlobalPose: the pose is not finite");
        return;
    }
    btRigidBody* b = impl->body;
    btTransform t = to_bt(pose);
    b->setWorldTransform(t);
    b->setInterpolationWorldTransform(t);
    if (!impl->released) impl->scene->world->updateSingleAabb(b);
    if (impl->dynamic && !impl->kinematic()) b->activate(true);
}

void NxActor::setGlobalPosition(const NxVec3& position)
{
    NxMat34 p = getGlobalPose();
    p.t = position;
    setGlobalPose(p);
}

void NxActor::setGlobalOrientation(const NxMat33& orientation)
{
    NxMat34 p = getGlobalPose();
    p.M = orientation;
    setGlobalPose(p);
}

NxU32 NxActor::getNbShapes() const
{
    return static_cast<NxU32>(impl->shapes.size());
}

NxShape* const* NxActor::getShapes() const
{
    return impl->shapes.data();
}

NxVec3 NxActor::getLinearVelocity() const
{
    nx_settle(*impl->scene);
    return to_nx(impl->body->getLinearVelocity());
}

void NxActor::setLinearVelocity(const NxVec3& v)
{
    nx_settle(*impl->scene);
    if (!require_body(*impl, "setLinearVelocity")) return;
    impl->body->setLinearVelocity(to_bt(v));
    impl->body->activate(true);
}

NxVec3 NxActor::getAngularVelocity() const
{
    nx_settle(*impl->scene);
    return to_nx(impl->body->getAngularVelocity());
}

void NxActor::setAngularVelocity(const NxVec3& w)
{
    nx_settle(*impl->scene);
    if (!require_body(*impl, "setAngularVelocity")) return;
    impl->body->setAngularVelocity(to_bt(w));
    impl->body->activate(true);
}

NxReal NxActor::getMass() const
{
    return impl->dynamic ? impl->mass : 0;
}

NxReal NxActor::computeKineticEnergy() const
{
    nx_settle(*impl->scene);
    // A kinematic body has no mass of its own: nothing moves it, so it carries no energy.
    if (!impl->dynamic || impl->kinematic()) return 0;
    const btRigidBody* b = impl->body;
    btVector3 v = b->getLinearVelocity(), w = b->getAngularVelocity();
    return 0.5f * impl->mass * v.length2() + 0.5f * w.dot(world_inertia(b) * w);
}

void NxActor::setLinearDamping(NxReal c)
{
    nx_settle(*impl->scene);
    if (!require_body(*impl, "setLinearDamping") || !check_coefficient(c, "setLinearDamping")) return;
    impl->linearDamping = c;
    impl->body->setDamping(bullet_damping(c), bullet_damping(impl->angularDamping));
}

NxReal NxActor::getLinearDamping() const
{
    return impl->linearDamping;
}

void NxActor::setAngularDamping(NxReal c)
{
    nx_settle(*impl->scene);
    if (!require_body(*impl, "setAngularDamping") || !check_coefficient(c, "setAngularDamping")) return;
    impl->angularDamping = c;
    impl->body->setDamping(bullet_damping(impl->linearDamping), bullet_damping(c));
}

NxReal NxActor::getAngularDamping() const
{
    return impl->angularDamping;
}

void NxActor::addForce(const NxVec3& force, NxForceMode mode, bool wakeup)
{
    nx_settle(*impl->scene);
    if (!require_body(*impl, "addForce")) return;
    apply_force(*impl, to_bt(force), btVector3(0, 0, 0), mode, wakeup);
}

void NxActor::addTorque(const NxVec3& torque, NxForceMode mode, bool wakeup)
{
    nx_settle(*impl->scene);
    if (!require_body(*impl, "addTorque")) return;
    apply_torque(*impl, to_bt(torque), mode, wakeup);
}

void NxActor::addLocalForce(const NxVec3& force, NxForceMode mode, bool wakeup)
{
    nx_settle(*impl->scene);
    if (!require_body(*impl, "addLocalForce")) return;
    const btMatrix3x3& r = impl->body->getWorldTransform().getBasis();
    apply_force(*impl, r * to_bt(force), btVector3(0, 0, 0), mode, wakeup);
}

void NxActor::addLocalTorque(const NxVec3& torque, NxForceMode mode, bool wakeup)
{
    nx_settle(*impl->scene);
    if (!require_body(*impl, "addLocalTorque")) return;
    const btMatrix3x3& r = impl->body->getWorldTransform().getBasis();
    apply_torque(*impl, r * to_bt(torque), mode, wakeup);
}

void NxActor::addForceAtLocalPos(const NxVec3& force, const NxVec3& pos, NxForceMode mode, bool wakeup)
{
    nx_settle(*impl->scene);
    if (!require_body(*impl, "addForceAtLocalPos")) return;
    // Bullet takes the point relative to the centre of mass, in world axes.
    const btMatrix3x3& r = impl->body->getWorldTransform().getBasis();
    apply_force(*impl, to_bt(force), r * to_bt(pos), mode, wakeup);
}

void NxActor::addForceAtPos(const NxVec3& force, const NxVec3& pos, NxForceMode mode, bool wakeup)
{
    nx_settle(*impl->scene);
    if (!require_body(*impl, "addForceAtPos")) return;
    apply_force(*impl, to_bt(force), to_bt(pos) - impl->body->getWorldTransform().getOrigin(), mode, wakeup);
}

void NxActor::wakeUp(NxReal)
{
    nx_settle(*impl->scene);
    if (!require_body(*impl, "wakeUp")) return;
    impl->body->activate(true);
}

bool NxActor::isSleeping() const
{
    nx_settle(*impl->scene);
    return impl->dynamic && !impl->body->isActive();
}

void NxActor::putToSleep()
{
    nx_settle(*impl->scene);
    if (!require_body(*impl, "putToSleep") || impl->kinematic()) return;
    impl->body->setActivationState(ISLAND_SLEEPING);
    impl->body->setLinearVelocity(btVector3(0, 0, 0));
    impl->body->setAngularVelocity(btVector3(0, 0, 0));
}

void NxActor::raiseBodyFlag(NxBodyFlag flag)
{
    nx_settle(*impl->scene);
    if (!require_body(*impl, "raiseBodyFlag")) return;
    NxU32 before = impl->bodyFlags;
    impl->bodyFlags |= flag;
    if ((flag & NX_BF_KINEMATIC) && !(before & NX_BF_KINEMATIC)) {
        // A kinematic body sits in the static broadphase group, so it moves groups.
        impl->scene->world->removeRigidBody(impl->body);
        apply_kinematic(*impl);
        add_to_world(*impl);
        apply_gravity_flag(*impl);
    }
    if (flag & NX_BF_DISABLE_GRAVITY) apply_gravity_flag(*impl);
    apply_frozen_flags(*impl);
}

void NxActor::clearBodyFlag(NxBodyFlag flag)
{
    nx_settle(*impl->scene);
    if (!require_body(*impl, "clearBodyFlag")) return;
    NxU32 before = impl->bodyFlags;
    impl->bodyFlags &= ~static_cast<NxU32>(flag);
    if ((flag & NX_BF_KINEMATIC) && (before & NX_BF_KINEMATIC)) {
        impl->scene->world->removeRigidBody(impl->body);
        apply_kinematic(*impl);
        add_to_world(*impl);
        apply_gravity_flag(*impl);
    }
    if (flag & NX_BF_DISABLE_GRAVITY) apply_gravity_flag(*impl);
    apply_frozen_flags(*impl);
}

bool NxActor::readBodyFlag(NxBodyFlag flag) const
{
    return (impl->bodyFlags & flag) != 0;
}

NxU32 NxActor::getSolverIterationCount() const
{
    return impl->solverIterations;
}

// ---- shape

NxActor& NxShape::getActor() const
{
    return impl->actor->pub;
}

NxShapeType NxShape::getType() const
{
    return impl->type;
}

bool NxShape::getFlag(NxShapeFlag flag) const
{
    return (impl->flags & flag) != 0;
}

void NxShape::setFlag(NxShapeFlag flag, bool value)
{
    // Turning a solid shape into a trigger (or back) would change the body's collision
    // shape under the simulation; shapes keep the kind they were created with.
    if ((flag & NX_TRIGGER_ENABLE) && value != impl->trigger()) {
        NX_ERROR(NXE_INVALID_OPERATION, "setFlag: a shape cannot become or stop being a trigger after creation");
        return;
    }
    if (value)
        impl->flags |= flag;
    else
        impl->flags &= ~static_cast<NxU32>(flag);
    // A trigger keeps at least one trigger bit.
    if (impl->sensor && !(impl->flags & NX_TRIGGER_ENABLE)) impl->flags |= NX_TRIGGER_ON_STAY;
}

NxCollisionGroup NxShape::getGroup() const
{
    return impl->group;
}

void NxShape::setGroup(NxCollisionGroup group)
{
    if (group >= 32) {
        NX_ERROR(NXE_INVALID_PARAMETER, "setGroup: groups are 0 to 31");
        return;
    }
    impl->group = group;
}

NxMaterialIndex NxShape::getMaterial() const
{
    return impl->material;
}

NxMat34 NxShape::getLocalPose() const
{
    return impl->localPose;
}

NxMat34 NxShape::getGlobalPose() const
{
    return impl->actor->pub.getGlobalPose() * impl->localPose;
}

NxVec3 NxShape::getDimensions() const
{
    return impl->type == NX_SHAPE_BOX ? impl->dims : NxVec3();
}

// ---- material

void NxMaterial::setRestitution(NxReal r)
{
    restitution = std::max(0.0f, std::min(1.0f, r));
    scene->impl->materialsChanged = true;
}

void NxMaterial::setStaticFriction(NxReal f)
{
    staticFriction = std::max(0.0f, f);
    scene->impl->materialsChanged = true;
}

void NxMaterial::setDynamicFriction(NxReal f)
{
    dynamicFriction = std::max(0.0f, f);
    scene->impl->materialsChanged = true;
}
