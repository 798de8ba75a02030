// The SDK object: creation and release, allocation routing, error reports, parameters,
// scenes and triangle meshes.

#include "Physics/NxBullet.h"
#include "Physics/NxCookedMesh.h"

#include <BulletCollision/CollisionDispatch/btManifoldResult.h>
#include <BulletCollision/CollisionDispatch/btSimulationIslandManager.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <future>

NxUserAllocator* nx_allocator = nullptr;
NxUserOutputStream* nx_output = nullptr;
NxSDKData* nx_sdk = nullptr;

void* nx_alloc(size_t size, const char* className, const char* file, int line)
{
    if (nx_allocator) return nx_allocator->mallocDEBUG(size, file, line, className, NX_MEMORY_PERSISTENT);
    return std::malloc(size);
}

void nx_free(void* memory)
{
    if (!memory) return;
    if (nx_allocator)
        nx_allocator->free(memory);
    else
        std::free(memory);
}

namespace {

// Room made up front in a scene's trigger lists: far more sensor overlaps than a race has.
// A list that still runs out grows as before.
constexpr size_t kTriggerPairRoom = 256;
// Bodies the island search has room for from the start.
constexpr int kIslandTableRoom = 2048;

// Bullet's solver grows its constraint lists whenever a step has more contacts than any
// before, which in a race is whenever crystals pile up somewhere new. Room for a race's
// worth from the start: the growth then never falls in the middle of a game.
class RoomySolver : public btSequentialImpulseConstraintSolver {
public:
    RoomySolver()
    {
        m_tmpSolverBodyPool.reserve(256);
        m_tmpSolverContactConstraintPool.reserve(1024);
        m_tmpSolverContactFrictionConstraintPool.reserve(2048);
        m_tmpSolverNonContactConstraintPool.reserve(1024);
        m_orderTmpConstraintPool.reserve(1024);
        m_orderNonContactConstraintPool.reserve(1024);
        m_orderFrictionConstraintPool.reserve(2048);
        m_tmpConstraintSizesPool.reserve(256);
    }
};

void* bullet_alloc(size_t size)
{
    return nx_alloc(size, "btAlignedAlloc", __FILE__, __LINE__);
}

void bullet_free(void* memory)
{
    nx_free(memory);
}

// Bullet asks for 16-byte aligned blocks; the allocator's blocks are only as aligned as the
// C library's, so over-allocate and keep the block's own address just before the aligned one.
void* bullet_aligned_alloc(size_t size, int alignment)
{
    size_t align = alignment > 0 ? static_cast<size_t>(alignment) : 16;
    void* raw = nx_alloc(size + align + sizeof(void*), "btAlignedAlloc", __FILE__, __LINE__);
    if (!raw) return nullptr;
    uintptr_t start = reinterpret_cast<uintptr_t>(raw) + sizeof(void*);
    uintptr_t aligned = (start + align - 1) & ~(static_cast<uintptr_t>(align) - 1);
    reinterpret_cast<void**>(aligned)[-1] = raw;
    return reinterpret_cast<void*>(aligned);
}

void bullet_aligned_free(void* memory)
{
    if (!memory) return;
    nx_free(reinterpret_cast<void**>(memory)[-1]);
}

// Friction and restitution of a contact are the means of the two bodies' values.
btScalar mean_friction(const btCollisionObject* a, const btCollisionObject* b)
{
    return 0.5f * (a->getFriction() + b->getFriction());
}

btScalar mean_restitution(const btCollisionObject* a, const btCollisionObject* b)
{
    return 0.5f * (a->getRestitution() + b->getRestitution());
}

} // namespace

void nx_route_bullet_allocations(bool on)
{
    if (on) {
        btAlignedAllocSetCustom(bullet_alloc, bullet_free);
        btAlignedAllocSetCustomAligned(bullet_aligned_alloc, bullet_aligned_free);
    } else {
        btAlignedAllocSetCustom(nullptr, nullptr);
        btAlignedAllocSetCustomAligned(nullptr, nullptr);
    }
}

void nx_report(NxErrorCode code, const char* file, int line, const char* format, ...)
{
    char message[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    if (nx_output)
        nx_output->reportError(code, message, file, line);
    else
        std::fprintf(stderr, "%s (%d) : %s\n", file, line, message);
}

// ---- SDK creation

NxPhysicsSDK* NxCreatePhysicsSDK(NxU32 sdkVersion, NxUserAllocator* allocator, NxUserOutputStream* outputStream,
                                 const NxPhysicsSDKDesc& desc, NxSDKCreateError* errorCode)
{
    NxSDKCreateError dummy;
    NxSDKCreateError& error = errorCode ? *errorCode : dummy;
    if ((sdkVersion & 0xffff0000u) != (NX_PHYSICS_SDK_VERSION & 0xffff0000u)) {
        error = NXCE_WRONG_VERSION;
        return nullptr;
    }
    if (!desc.isValid()) {
        error = NXCE_DESCRIPTOR_INVALID;
        return nullptr;
    }
    if (nx_sdk) {
        // One SDK per process: a second creation shares the first, allocator and all.
        ++nx_sdk->refs;
        error = NXCE_NO_ERROR;
        return &nx_sdk->pub;
    }
    nx_allocator = allocator;
    nx_output = outputStream;
    if (allocator) nx_route_bullet_allocations(true);
    gCalculateCombinedFrictionCallback = mean_friction;
    gCalculateCombinedRestitutionCallback = mean_restitution;

    nx_sdk = new NxSDKData;
    nx_sdk->pub.impl = nx_sdk;
    nx_sdk->params[NX_SKIN_WIDTH] = 0.025f;
    error = NXCE_NO_ERROR;
    return &nx_sdk->pub;
}

void NxReleasePhysicsSDK(NxPhysicsSDK* sdk)
{
    if (sdk) sdk->release();
}

void NxPhysicsSDK::release()
{
    NxSDKData* d = impl;
    if (--d->refs > 0) return;
    while (!d->scenes.empty()) releaseScene(d->scenes.back()->pub);
    while (!d->meshes.empty()) {
        NxMeshData* m = d->meshes.back();
        m->refs = 0;
        releaseTriangleMesh(m->pub);
    }
    delete d;
    nx_sdk = nullptr;
    if (nx_allocator) nx_route_bullet_allocations(false);
    nx_allocator = nullptr;
    nx_output = nullptr;
}

bool NxPhysicsSDK::setParameter(NxParameter parameter, NxReal value)
{
    if (parameter < 0 || parameter >= NX_PARAMS_NUM_VALUES) {
        NX_ERROR(NXE_INVALID_PARAMETER, "setParameter: no parameter %d", static_cast<int>(parameter));
        return false;
    }
    if (parameter == NX_SKIN_WIDTH && !(value >= 0)) {
        NX_ERROR(NXE_INVALID_PARAMETER, "setParameter: the skin width must not be negative");
        return false;
    }
    impl->params[parameter] = value;
    return true;
}

NxReal NxPhysicsSDK::getParameter(NxParameter parameter) const
{
    if (parameter < 0 || parameter >= NX_PARAMS_NUM_VALUES) return 0;
    return impl->params[parameter];
}

// ---- scenes

NxScene* NxPhysicsSDK::createScene(const NxSceneDesc& desc)
{
    if (!desc.isValid()) {
        NX_ERROR(NXE_INVALID_PARAMETER, "createScene: invalid scene descriptor");
        return nullptr;
    }
    NxSceneData* s = new NxSceneData;
    s->pub.impl = s;
    s->sdk = impl;
    s->configuration = new btDefaultCollisionConfiguration();
    s->dispatcher = new btCollisionDispatcher(s->configuration);
    s->broadphase = new btDbvtBroadphase();
    s->solver = new RoomySolver();
    s->world = new btDiscreteDynamicsWorld(s->dispatcher, s->broadphase, s->solver, s->configuration);
    s->world->getSolverInfo().m_numIterations = 10;
    // The island search sizes its table to the bodies in the world, growing it whenever there
    // are more than ever before (crystals piling up); made large once, it keeps its storage.
    s->world->getSimulationIslandManager()->getUnionFind().allocate(kIslandTableRoom);
    s->gravity = desc.gravity;
    s->world->setGravity(to_bt(desc.gravity));
    s->triggerReport = desc.userTriggerReport;
    s->maxTimestep = desc.maxTimestep;
    s->maxIter = desc.maxIter;
    s->overlaps.reserve(kTriggerPairRoom);
    s->overlapsNow.reserve(kTriggerPairRoom);
    s->overlapsFound.reserve(kTriggerPairRoom);
    s->triggerEvents.reserve(2 * kTriggerPairRoom);
    s->method = desc.timeStepMethod;
    s->stepper = new StepWorker(nx_run_step, s);
    // Material 0 is the default material every shape starts with.
    s->materials.push_back(new NxMaterial(&s->pub, 0));
    impl->scenes.push_back(s);
    return &s->pub;
}

void NxPhysicsSDK::releaseScene(NxScene& scene)
{
    NxSceneData* s = scene.impl;
    auto it = std::find(impl->scenes.begin(), impl->scenes.end(), s);
    if (it == impl->scenes.end()) {
        NX_ERROR(NXE_INVALID_PARAMETER, "releaseScene: not a scene of this SDK");
        return;
    }
    impl->scenes.erase(it);
    delete s->stepper;
    while (!s->joints.empty()) nx_delete_joint(s->joints.back());
    while (!s->actors.empty()) {
        NxActorData* a = s->actors.back();
        nx_detach_actor(*a);
        nx_delete_actor(a);
    }
    for (NxActorData* a : s->doomed) nx_delete_actor(a);
    for (NxMaterial* m : s->materials) delete m;
    delete s->world;
    delete s->solver;
    delete s->broadphase;
    delete s->dispatcher;
    delete s->configuration;
    delete s;
}

NxU32 NxPhysicsSDK::getNbScenes() const
{
    return static_cast<NxU32>(impl->scenes.size());
}

// ---- triangle meshes

NxTriangleMesh* NxPhysicsSDK::createTriangleMesh(const NxStream& stream)
{
    NxCookedMesh cooked;
    std::string why;
    if (!nx_read_cooked_mesh(stream, cooked, why)) {
        NX_ERROR(NXE_INVALID_PARAMETER, "createTriangleMesh: %s", why.c_str());
        return nullptr;
    }
    NxMeshData* m = new NxMeshData;
    m->pub.impl = m;
    m->vertices = std::move(cooked.vertices);
    m->indices.assign(cooked.indices.begin(), cooked.indices.end());
    m->axis = cooked.axis;
    m->extent = cooked.extent;

    btIndexedMesh part;
    part.m_numTriangles = static_cast<int>(m->indices.size() / 3);
    part.m_triangleIndexBase = reinterpret_cast<const unsigned char*>(m->indices.data());
    part.m_triangleIndexStride = 3 * sizeof(int);
    part.m_numVertices = static_cast<int>(m->vertices.size() / 3);
    part.m_vertexBase = reinterpret_cast<const unsigned char*>(m->vertices.data());
    part.m_vertexStride = 3 * sizeof(float);
    m->triangles = new btTriangleIndexVertexArray();
    m->triangles->addIndexedMesh(part, PHY_INTEGER);
    btTriangleIndexVertexArray* triangles = m->triangles;
    m->building = std::async(std::launch::async,
                             [triangles] { return new btBvhTriangleMeshShape(triangles, true, true); });
    impl->meshes.push_back(m);
    return &m->pub;
}

void NxPhysicsSDK::releaseTriangleMesh(NxTriangleMesh& mesh)
{
    NxMeshData* m = mesh.impl;
    if (m->refs > 0) {
        NX_ERROR(NXE_INVALID_OPERATION, "releaseTriangleMesh: the mesh is still used by %u shapes", m->refs);
        return;
    }
    auto it = std::find(impl->meshes.begin(), impl->meshes.end(), m);
    if (it != impl->meshes.end()) impl->meshes.erase(it);
    delete m->tree();
    delete m->triangles;
    delete m;
}

NxU32 NxPhysicsSDK::getNbTriangleMeshes() const
{
    return static_cast<NxU32>(impl->meshes.size());
}

NxU32 NxTriangleMesh::getCount() const
{
    return static_cast<NxU32>(impl->vertices.size() / 3);
}

NxU32 NxTriangleMesh::getTriangleCount() const
{
    return static_cast<NxU32>(impl->indices.size() / 3);
}

NxU32 NxTriangleMesh::getReferenceCount() const
{
    return impl->refs;
}

// ---- descriptors

bool NxSceneDesc::isValid() const
{
    return gravity.isFinite() && maxTimestep > 0 && maxIter >= 1;
}

bool NxBodyDesc::isValid() const
{
    return mass >= 0 && massSpaceInertia.x >= 0 && massSpaceInertia.y >= 0 && massSpaceInertia.z >= 0 &&
           linearDamping >= 0 && angularDamping >= 0 && wakeUpCounter >= 0 && solverIterationCount >= 1 &&
           linearVelocity.isFinite() && angularVelocity.isFinite();
}

bool NxShapeDesc::isValid() const
{
    return localPose.isFinite() && group < 32;
}

bool NxBoxShapeDesc::isValid() const
{
    return NxShapeDesc::isValid() && dimensions.isFinite() && dimensions.x >= 0 && dimensions.y >= 0 &&
           dimensions.z >= 0;
}

bool NxPlaneShapeDesc::isValid() const
{
    return NxShapeDesc::isValid() && normal.isFinite() && std::isfinite(d) && normal.magnitudeSquared() > 0;
}

bool NxTriangleMeshShapeDesc::isValid() const
{
    return NxShapeDesc::isValid() && meshData != nullptr;
}

bool NxActorDesc::isValid() const
{
    if (shapes.size() == 0 || !globalPose.isFinite() || density < 0) return false;
    if (body && !body->isValid()) return false;
    for (NxU32 i = 0; i < shapes.size(); ++i) {
        const NxShapeDesc* s = shapes[i];
        if (!s) return false;
        bool ok = false;
        switch (s->getType()) {
        case NX_SHAPE_BOX: ok = static_cast<const NxBoxShapeDesc*>(s)->isValid(); break;
        case NX_SHAPE_PLANE: ok = static_cast<const NxPlaneShapeDesc*>(s)->isValid(); break;
        case NX_SHAPE_MESH: ok = static_cast<const NxTriangleMeshShapeDesc*>(s)->isValid(); break;
        }
        if (!ok) return false;
        // Planes and triangle meshes have no volume: they belong to static actors only.
        if (body && s->getType() != NX_SHAPE_BOX) return false;
    }
    return true;
}

bool NxD6JointDesc::isValid() const
{
    if (!actor[0] && !actor[1]) return false;
    if (actor[0] == actor[1]) return false;
    for (int i = 0; i < 2; ++i) {
        if (!localAnchor[i].isFinite() || !localAxis[i].isFinite() || !localNormal[i].isFinite()) return false;
        NxVec3 a = localAxis[i], n = localNormal[i];
        if (a.normalize() < 1e-6f || n.normalize() < 1e-6f) return false;
        if (std::fabs(a.dot(n)) > 0.1f) return false; // the axis and the normal must be (nearly) perpendicular
    }
    return maxForce > 0 && maxTorque > 0;
}

void NxJointDesc::setGlobalAnchor(const NxVec3& anchor)
{
    for (int i = 0; i < 2; ++i) {
        if (actor[i])
            actor[i]->getGlobalPose().multiplyByInverseRT(anchor, localAnchor[i]);
        else
            localAnchor[i] = anchor;
    }
}

void NxJointDesc::setGlobalAxis(const NxVec3& axis)
{
    NxVec3 a = axis;
    a.normalize();
    // Any unit vector perpendicular to the axis serves as the normal.
    NxVec3 t1, t2;
    NxGetUtilLib()->NxNormalToTangents(a, t1, t2);
    for (int i = 0; i < 2; ++i) {
        if (actor[i]) {
            NxMat33 r = actor[i]->getGlobalOrientation();
            r.multiplyByTranspose(a, localAxis[i]);
            r.multiplyByTranspose(t1, localNormal[i]);
        } else {
            localAxis[i] = a;
            localNormal[i] = t1;
        }
    }
}
