// The physics layer's own state behind the SDK classes, and the glue to Bullet. Included only
// by the layer's .cpp files: nothing above the layer sees a Bullet type.
#pragma once

#include "Physics/NxPhysics.h"
#include "Physics/StepWorker.h"

#include <btBulletDynamicsCommon.h>
#include <BulletDynamics/ConstraintSolver/btGeneric6DofSpring2Constraint.h>

#include <future>
#include <new>
#include <vector>

// ---- allocation: every block of the engine and of the layer goes through the user allocator

// The allocator given to the SDK (null: the C library's).
extern NxUserAllocator* nx_allocator;

void* nx_alloc(size_t size, const char* className, const char* file, int line);
void nx_free(void* memory);

// Gives a class allocation through nx_alloc, under its own name in the leak dump.
#define NX_TRACKED_CLASS(Name)                                                   \
    static void* operator new(size_t size)                                       \
    {                                                                            \
        void* p = nx_alloc(size, Name, __FILE__, __LINE__);                      \
        if (!p) throw std::bad_alloc();                                          \
        return p;                                                                \
    }                                                                            \
    static void operator delete(void* p) { nx_free(p); }

// A standard allocator over nx_alloc, for the layer's own lists: the bodies and shapes of
// actors that come and go reuse the user allocator's kept blocks like Bullet's own.
template <class T>
struct NxAllocator {
    using value_type = T;
    NxAllocator() = default;
    template <class U>
    NxAllocator(const NxAllocator<U>&) {}
    T* allocate(size_t n)
    {
        void* p = nx_alloc(n * sizeof(T), "NxList", __FILE__, __LINE__);
        if (!p) throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, size_t) { nx_free(p); }
    template <class U>
    bool operator==(const NxAllocator<U>&) const { return true; }
    template <class U>
    bool operator!=(const NxAllocator<U>&) const { return false; }
};
template <class T>
using NxList = std::vector<T, NxAllocator<T>>;

// Routes Bullet's allocations to nx_alloc while an SDK exists.
void nx_route_bullet_allocations(bool on);

// ---- error reporting

extern NxUserOutputStream* nx_output;
void nx_report(NxErrorCode code, const char* file, int line, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
#define NX_ERROR(code, ...) nx_report(code, __FILE__, __LINE__, __VA_ARGS__)

// ---- conversions

inline btVector3 to_bt(const NxVec3& v) { return btVector3(v.x, v.y, v.z); }
inline NxVec3 to_nx(const btVector3& v) { return NxVec3(v.x(), v.y(), v.z()); }
inline btMatrix3x3 to_bt(const NxMat33& m)
{
    return btMatrix3x3(m.m[0][0], m.m[0][1], m.m[0][2], m.m[1][0], m.m[1][1], m.m[1][2], m.m[2][0], m.m[2][1],
                       m.m[2][2]);
}
inline NxMat33 to_nx(const btMatrix3x3& b)
{
    NxMat33 m;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) m.m[r][c] = b[r][c];
    return m;
}
inline btTransform to_bt(const NxMat34& p) { return btTransform(to_bt(p.M), to_bt(p.t)); }
inline NxMat34 to_nx(const btTransform& t) { return NxMat34(to_nx(t.getBasis()), to_nx(t.getOrigin())); }

// ---- the state behind the SDK objects

struct NxSceneData;
struct NxActorData;

struct NxMeshData {
    NX_TRACKED_CLASS("NxTriangleMesh")
    NxTriangleMesh pub;
    std::vector<float> vertices;
    std::vector<int> indices;
    btTriangleIndexVertexArray* triangles = nullptr;
    // Owns the bounding-volume tree the shapes share. The tree of a large mesh takes a tenth
    // of a second and more to build, so it is built on a worker of its own while the caller
    // goes on (the game's terrain tiles build side by side); tree() waits for it.
    btBvhTriangleMeshShape* prototype = nullptr;
    std::future<btBvhTriangleMeshShape*> building;
    btBvhTriangleMeshShape* tree()
    {
        if (building.valid()) prototype = building.get();
        return prototype;
    }
    NxU32 refs = 0;
    NxU32 axis = NX_NOT_HEIGHTFIELD;
    float extent = 0;
};

struct NxShapeData {
    NX_TRACKED_CLASS("NxShape")
    NxShape pub;
    NxActorData* actor = nullptr;
    NxShapeType type = NX_SHAPE_BOX;
    NxMat34 localPose;
    NxU32 flags = 0;
    NxCollisionGroup group = 0;
    NxMaterialIndex material = 0;
    NxVec3 dims;                        // box half extents
    NxMeshData* mesh = nullptr;
    btCollisionShape* shape = nullptr;  // owned; its user pointer leads back here
    btCollisionObject* sensor = nullptr; // trigger shapes: posed at each fetch, never in the world
    unsigned serial = 0;

    bool trigger() const { return (flags & NX_TRIGGER_ENABLE) != 0; }
};

struct NxActorData {
    NX_TRACKED_CLASS("NxActor")
    NxActor pub;
    NxSceneData* scene = nullptr;
    NxList<NxShape*> shapes;
    btRigidBody* body = nullptr;             // static actors too, with mass 0
    btCollisionShape* bodyShape = nullptr;   // the body's shape
    bool ownsBodyShape = false;              // a compound or empty shape of its own
    bool dynamic = false;
    NxU32 bodyFlags = 0;
    NxReal mass = 0;
    NxVec3 inertia;
    NxReal linearDamping = 0, angularDamping = 0;
    NxU32 solverIterations = 4;
    bool released = false;
    unsigned serial = 0;

    bool kinematic() const { return (bodyFlags & NX_BF_KINEMATIC) != 0; }
};

struct NxJointData {
    NX_TRACKED_CLASS("NxJoint")
    NxJoint pub;
    NxSceneData* scene = nullptr;
    NxActorData* actors[2] = {nullptr, nullptr};
    btGeneric6DofSpring2Constraint* constraint = nullptr;
    NxReal maxForce = NX_MAX_REAL;
};

struct NxTriggerPair {
    NxShapeData* trigger;
    NxShapeData* other;
};

struct NxTriggerEvent {
    NxTriggerPair pair;
    NxTriggerFlag status;
};

struct NxSDKData;

struct NxSceneData {
    NX_TRACKED_CLASS("NxScene")
    NxScene pub;
    NxSDKData* sdk = nullptr;
    btDefaultCollisionConfiguration* configuration = nullptr;
    btCollisionDispatcher* dispatcher = nullptr;
    btBroadphaseInterface* broadphase = nullptr;
    btSequentialImpulseConstraintSolver* solver = nullptr;
    btDiscreteDynamicsWorld* world = nullptr;

    std::vector<NxActorData*> actors;
    std::vector<NxActor*> actorList; // public pointers, in creation order
    std::vector<NxJointData*> joints;
    std::vector<NxMaterial*> materials;
    bool materialsChanged = false;
    NxVec3 gravity;
    NxUserTriggerReport* triggerReport = nullptr;

    NxReal maxTimestep = 1.0f / 60.0f;
    NxU32 maxIter = 8;
    NxTimeStepMethod method = NX_TIMESTEP_FIXED;

    bool stepPending = false; // simulate ran, fetchResults has not yet
    bool delivering = false;  // inside fetchResults' trigger reports
    // The thread that runs the step simulate starts, and that step's length and parts.
    StepWorker* stepper = nullptr;
    NxReal stepElapsed = 0;
    int stepParts = 1;
    std::vector<NxActorData*> doomed;       // released while delivering
    std::vector<NxTriggerPair> overlaps;    // sorted by (trigger serial, other serial)
    // The trigger report's working lists, kept so that a fetch in steady play allocates nothing.
    std::vector<NxTriggerPair> overlapsNow;
    std::vector<NxShapeData*> overlapsFound;
    std::vector<NxTriggerEvent> triggerEvents;
};

// Waits for the step that simulate handed to the scene's worker. Everything of the layer that
// reads or changes the engine's world calls it first, so that a call between simulate and
// fetchResults sees the world as stepped, never halfway through the step.
inline void nx_settle(NxSceneData& s)
{
    if (s.stepPending) s.stepper->wait();
}

struct NxSDKData {
    NX_TRACKED_CLASS("NxPhysicsSDK")
    NxPhysicsSDK pub;
    int refs = 1;
    NxReal params[NX_PARAMS_NUM_VALUES] = {};
    std::vector<NxSceneData*> scenes;
    std::vector<NxMeshData*> meshes;
    unsigned nextSerial = 1;
};

// The one SDK (null when none exists).
extern NxSDKData* nx_sdk;

// Applies the materials' friction and restitution to an actor's body.
void nx_apply_material(NxActorData& actor);
// Frees an actor that has already left the world.
void nx_delete_actor(NxActorData* actor);
// Removes an actor from the world, with its joints and trigger pairs.
void nx_detach_actor(NxActorData& actor);
void nx_delete_joint(NxJointData* joint);
// The step that simulate hands to the scene's worker (its argument is the NxSceneData).
void nx_run_step(void* scene);
// The layer's shape behind a Bullet shape (null for the layer's own compound and empty shapes).
inline NxShapeData* nx_shape_of(const btCollisionShape* s)
{
    return s ? static_cast<NxShapeData*>(s->getUserPointer()) : nullptr;
}
inline NxActorData* nx_actor_of(const btCollisionObject* o)
{
    return o ? static_cast<NxActorData*>(o->getUserPointer()) : nullptr;
}
