// The scene: stepping, trigger reports, ray casts, materials and gravity.

#include "Physics/NxBullet.h"

#include <algorithm>
#include <cmath>

namespace {

// Rays longer than this lose all precision in single-precision floats; the game's rays are
// a few units long.
const NxReal MAX_RAY_LENGTH = 1.0e6f;

bool pair_less(const NxTriggerPair& a, const NxTriggerPair& b)
{
    if (a.trigger->serial != b.trigger->serial) return a.trigger->serial < b.trigger->serial;
    return a.other->serial < b.other->serial;
}

// The layer's shape that a contact's wrapper belongs to: the wrapper chain runs from the leaf
// (a triangle of a mesh, a child of a compound) up to the collision object.
NxShapeData* shape_of_wrapper(const btCollisionObjectWrapper* w)
{
    for (; w; w = w->m_parent)
        if (NxShapeData* s = nx_shape_of(w->getCollisionShape())) return s;
    return nullptr;
}

// Collects the shapes overlapping one trigger shape.
struct TriggerOverlaps : btCollisionWorld::ContactResultCallback {
    NxShapeData* trigger;
    std::vector<NxShapeData*>& found;

    TriggerOverlaps(NxShapeData* t, std::vector<NxShapeData*>& out) : trigger(t), found(out) {}

    bool needsCollision(btBroadphaseProxy* proxy) const override
    {
        if (proxy->m_collisionFilterMask == 0) return false; // actors of trigger shapes only
        const NxActorData* other = nx_actor_of(static_cast<const btCollisionObject*>(proxy->m_clientObject));
        if (!other || other->released || other == trigger->actor) return false;
        // Two actors without bodies never meet: a static trigger ignores static shapes.
        return trigger->actor->dynamic || other->dynamic;
    }

    btScalar addSingleResult(btManifoldPoint& cp, const btCollisionObjectWrapper* w0, int, int,
                             const btCollisionObjectWrapper* w1, int, int) override
    {
        if (cp.getDistance() > 0) return 0;
        const btCollisionObjectWrapper* other = w0->getCollisionObject() == trigger->sensor ? w1 : w0;
        NxShapeData* s = shape_of_wrapper(other);
        if (s && !s->trigger() && std::find(found.begin(), found.end(), s) == found.end()) found.push_back(s);
        return 0;
    }
};

// The closest hit among shapes of the wanted kinds and groups.
struct ClosestShapeRay : btCollisionWorld::RayResultCallback {
    NxU32 groups;
    NxShapesType kinds;
    NxShapeData* shape = nullptr;
    btVector3 normal{0, 0, 0};
    int face = 0;

    ClosestShapeRay(NxU32 g, NxShapesType k) : groups(g), kinds(k) {}

    bool needsCollision(btBroadphaseProxy* proxy) const override
    {
        if (proxy->m_collisionFilterMask == 0) return false;
        const NxActorData* a = nx_actor_of(static_cast<const btCollisionObject*>(proxy->m_clientObject));
        if (!a || a->released) return false;
        return (kinds & (a->dynamic ? NX_DYNAMIC_SHAPES : NX_STATIC_SHAPES)) != 0;
    }

    btScalar addSingleResult(btCollisionWorld::LocalRayResult& r, bool normalInWorldSpace) override
    {
        const btCollisionShape* bodyShape = r.m_collisionObject->getCollisionShape();
        NxShapeData* s = nullptr;
        if (bodyShape->isCompound()) {
            const btCompoundShape* compound = static_cast<const btCompoundShape*>(bodyShape);
            int child = r.m_localShapeInfo ? r.m_localShapeInfo->m_triangleIndex : -1;
            if (child >= 0 && child < compound->getNumChildShapes()) s = nx_shape_of(compound->getChildShape(child));
        } else {
            s = nx_shape_of(bodyShape);
        }
        if (!s || s->trigger() || !(groups & (1u << s->group))) return m_closestHitFraction;
        m_closestHitFraction = r.m_hitFraction;
        m_collisionObject = r.m_collisionObject;
        shape = s;
        normal = normalInWorldSpace ? r.m_hitNormalLocal
                                    : r.m_collisionObject->getWorldTransform().getBasis() * r.m_hitNormalLocal;
        face = (!bodyShape->isCompound() && r.m_localShapeInfo) ? r.m_localShapeInfo->m_triangleIndex : 0;
        return r.m_hitFraction;
    }
};

void refresh_materials(NxSceneData& s)
{
    if (!s.materialsChanged) return;
    for (NxActorData* a : s.actors) nx_apply_material(*a);
    s.materialsChanged = false;
}

// Finds every trigger overlap now and reports what changed since the last fetch.
void report_triggers(NxSceneData& s)
{
    std::vector<NxTriggerPair>& now = s.overlapsNow;
    std::vector<NxShapeData*>& found = s.overlapsFound;
    now.clear();
    for (NxActorData* a : s.actors) {
        for (NxShape* shape : a->shapes) {
            NxShapeData* t = shape->impl;
            if (!t->sensor) continue;
            t->sensor->setWorldTransform(a->body->getWorldTransform() * to_bt(t->localPose));
            found.clear();
            TriggerOverlaps overlaps(t, found);
            s.world->contactTest(t->sensor, overlaps);
            for (NxShapeData* o : found) now.push_back({t, o});
        }
    }
    std::sort(now.begin(), now.end(), pair_less);

    std::vector<NxTriggerEvent>& events = s.triggerEvents;
    events.clear();
    const std::vector<NxTriggerPair>& before = s.overlaps;
    size_t i = 0, j = 0;
    while (i < before.size() || j < now.size()) {
        if (j == now.size() || (i < before.size() && pair_less(before[i], now[j]))) {
            events.push_back({before[i++], NX_TRIGGER_ON_LEAVE});
        } else if (i == before.size() || pair_less(now[j], before[i])) {
            events.push_back({now[j++], NX_TRIGGER_ON_ENTER});
        } else {
            events.push_back({now[j++], NX_TRIGGER_ON_STAY});
            ++i;
        }
    }
    s.overlaps.swap(now);

    if (!s.triggerReport) return;
    s.delivering = true;
    for (const NxTriggerEvent& e : events) {
        // A receiver may release actors; later reports about their shapes are dropped.
        if (e.pair.trigger->actor->released || e.pair.other->actor->released) continue;
        if (!(e.pair.trigger->flags & e.status)) continue;
        s.triggerReport->onTrigger(e.pair.trigger->pub, e.pair.other->pub, e.status);
    }
    s.delivering = false;
    for (NxActorData* a : s.doomed) nx_delete_actor(a);
    s.doomed.clear();
}

// A chain of jointed bodies comes apart in long steps: the solver's corrections lag a whole
// step behind the bodies' swing. While a scene holds joints, a variable step longer than this
// is taken in equal parts no longer than it.
const NxReal kJointStep = 1.0f / 60.0f;

int variable_sub_steps(const NxSceneData& s, NxReal elapsed)
{
    if (s.joints.empty() || !(elapsed > kJointStep)) return 1;
    return static_cast<int>(std::ceil(elapsed / kJointStep - 1e-4f));
}

} // namespace

void nx_run_step(void* scene)
{
    NxSceneData& s = *static_cast<NxSceneData*>(scene);
    const NxReal elapsed = s.stepElapsed;
    const int parts = s.stepParts;
    if (s.method == NX_TIMESTEP_VARIABLE) {
        if (parts <= 1)
            s.world->stepSimulation(elapsed, 0, elapsed);
        else // a hair shorter each, so that rounding never drops one; forces act through all
            s.world->stepSimulation(elapsed, parts, elapsed / float(parts) * (1.0f - 1e-5f));
    } else
        s.world->stepSimulation(elapsed, static_cast<int>(s.maxIter), s.maxTimestep);
}

void NxScene::setGravity(const NxVec3& g)
{
    nx_settle(*impl);
    impl->gravity = g;
    impl->world->setGravity(to_bt(g));
    // Bodies take the world's gravity when they join; those without gravity keep none.
    for (NxActorData* a : impl->actors)
        if (a->dynamic && !(a->bodyFlags & NX_BF_DISABLE_GRAVITY)) a->body->setGravity(to_bt(g));
}

void NxScene::getGravity(NxVec3& g) const
{
    g = impl->gravity;
}

NxMaterial* NxScene::getMaterialFromIndex(NxMaterialIndex index)
{
    if (index >= impl->materials.size()) return nullptr;
    return impl->materials[index];
}

NxMaterialIndex NxScene::getHighestMaterialIndex() const
{
    return static_cast<NxMaterialIndex>(impl->materials.size() - 1);
}

void NxScene::setUserTriggerReport(NxUserTriggerReport* report)
{
    impl->triggerReport = report;
}

NxUserTriggerReport* NxScene::getUserTriggerReport() const
{
    return impl->triggerReport;
}

void NxScene::setTiming(NxReal maxTimestep, NxU32 maxIter, NxTimeStepMethod method)
{
    nx_settle(*impl);
    if (method == NX_TIMESTEP_FIXED && (!(maxTimestep > 0) || maxIter < 1)) {
        NX_ERROR(NXE_INVALID_PARAMETER, "setTiming: fixed steps need a step length and a sub-step count");
        return;
    }
    impl->maxTimestep = maxTimestep;
    impl->maxIter = maxIter;
    impl->method = method;
}

void NxScene::getTiming(NxReal& maxTimestep, NxU32& maxIter, NxTimeStepMethod& method) const
{
    maxTimestep = impl->maxTimestep;
    maxIter = impl->maxIter;
    method = impl->method;
}

void NxScene::simulate(NxReal elapsedTime)
{
    NxSceneData& s = *impl;
    if (s.delivering) {
        NX_ERROR(NXE_INVALID_OPERATION, "simulate: called from within a trigger report");
        return;
    }
    if (s.stepPending) {
        NX_ERROR(NXE_INVALID_OPERATION, "simulate: fetchResults has not been called since the last simulate");
        return;
    }
    if (!(elapsedTime >= 0) || !std::isfinite(elapsedTime)) {
        NX_ERROR(NXE_INVALID_PARAMETER, "simulate: elapsed time %f", static_cast<double>(elapsedTime));
        return;
    }
    refresh_materials(s);
    const int parts = s.method == NX_TIMESTEP_VARIABLE ? variable_sub_steps(s, elapsedTime) : 1;
    for (NxJointData* j : s.joints)
        if (j->maxForce < NX_MAX_REAL) j->constraint->setBreakingImpulseThreshold(j->maxForce * elapsedTime / parts);
    s.stepElapsed = elapsedTime;
    s.stepParts = parts;
    s.stepper->start();
    s.stepPending = true;
}

void NxScene::flushStream()
{
    // Calls reach the simulation directly; there is no command buffer to flush.
}

bool NxScene::checkResults(NxSimulationStatus, bool block)
{
    if (!impl->stepPending) return false;
    if (block) impl->stepper->wait();
    return impl->stepper->finished();
}

bool NxScene::fetchResults(NxSimulationStatus, bool block, NxU32* errorState)
{
    if (errorState) *errorState = 0;
    NxSceneData& s = *impl;
    if (s.delivering || !s.stepPending) return false;
    if (!block && !s.stepper->finished()) return false;
    s.stepper->wait();
    s.stepPending = false;
    report_triggers(s);
    return true;
}

NxShape* NxScene::raycastClosestShape(const NxRay& ray, NxShapesType shapeType, NxRaycastHit& hit, NxU32 groups,
                                      NxReal maxDist, NxU32) const
{
    nx_settle(*impl);
    hit = NxRaycastHit();
    NxVec3 dir = ray.dir;
    if (!ray.orig.isFinite() || !dir.isFinite() || dir.normalize() == 0 || !(maxDist > 0)) {
        NX_ERROR(NXE_INVALID_PARAMETER, "raycastClosestShape: the ray needs a finite origin and direction");
        return nullptr;
    }
    NxReal length = std::min(maxDist, MAX_RAY_LENGTH);
    btVector3 from = to_bt(ray.orig), to = to_bt(ray.orig + dir * length);
    ClosestShapeRay result(groups, shapeType);
    impl->world->rayTest(from, to, result);
    if (!result.shape) return nullptr;
    hit.shape = &result.shape->pub;
    hit.distance = result.m_closestHitFraction * length;
    hit.worldImpact = ray.orig + dir * hit.distance;
    btVector3 n = result.normal;
    if (n.length2() > 0) n.normalize();
    hit.worldNormal = to_nx(n);
    hit.faceID = static_cast<NxU32>(result.face);
    hit.materialIndex = result.shape->material;
    hit.flags = NX_RAYCAST_SHAPE | NX_RAYCAST_IMPACT | NX_RAYCAST_NORMAL | NX_RAYCAST_DISTANCE |
                NX_RAYCAST_MATERIAL | NX_RAYCAST_FACE_INDEX;
    return hit.shape;
}
