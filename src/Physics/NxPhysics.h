// The physics SDK as the game calls it: SDK, scene, materials, actors with box, plane and
// triangle-mesh shapes, bodies, trigger shapes, closest-shape ray casts, six-degree-of-freedom
// joints, triangle-mesh cooking and a few utilities.
//
// The interface keeps the names and meanings of the vendor SDK the game was written against;
// Bullet does the work behind it. Nothing in this header (or above the physics layer) sees a
// Bullet type: the classes below hold only an opaque pointer to the layer's own state.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <vector>

typedef float NxReal;
typedef float NxF32;
typedef double NxF64;
typedef unsigned char NxU8;
typedef unsigned short NxU16;
typedef unsigned int NxU32;
typedef int NxI32;
typedef NxU16 NxCollisionGroup; // 0 .. 31
typedef NxU16 NxMaterialIndex;

#define NX_PHYSICS_SDK_VERSION 0x02080000u
const NxReal NX_MAX_REAL = FLT_MAX;
const NxReal NX_MAX_F32 = FLT_MAX;

// ---------------------------------------------------------------------------------------
// Math
// ---------------------------------------------------------------------------------------

class NxVec3 {
public:
    NxReal x = 0, y = 0, z = 0;

    NxVec3() = default;
    explicit NxVec3(NxReal a) : x(a), y(a), z(a) {}
    NxVec3(NxReal nx, NxReal ny, NxReal nz) : x(nx), y(ny), z(nz) {}
    explicit NxVec3(const NxReal v[3]) : x(v[0]), y(v[1]), z(v[2]) {}

    void set(NxReal nx, NxReal ny, NxReal nz) { x = nx, y = ny, z = nz; }
    void set(const NxReal v[3]) { x = v[0], y = v[1], z = v[2]; }
    void get(NxReal out[3]) const { out[0] = x, out[1] = y, out[2] = z; }
    void zero() { x = y = z = 0; }
    bool isZero() const { return x == 0 && y == 0 && z == 0; }
    bool isFinite() const { return std::isfinite(x) && std::isfinite(y) && std::isfinite(z); }

    NxReal& operator[](int i) { return (&x)[i]; }
    NxReal operator[](int i) const { return (&x)[i]; }

    NxVec3 operator+(const NxVec3& v) const { return NxVec3(x + v.x, y + v.y, z + v.z); }
    NxVec3 operator-(const NxVec3& v) const { return NxVec3(x - v.x, y - v.y, z - v.z); }
    NxVec3 operator-() const { return NxVec3(-x, -y, -z); }
    NxVec3 operator*(NxReal s) const { return NxVec3(x * s, y * s, z * s); }
    NxVec3 operator/(NxReal s) const { return NxVec3(x / s, y / s, z / s); }
    NxVec3& operator+=(const NxVec3& v) { x += v.x, y += v.y, z += v.z; return *this; }
    NxVec3& operator-=(const NxVec3& v) { x -= v.x, y -= v.y, z -= v.z; return *this; }
    NxVec3& operator*=(NxReal s) { x *= s, y *= s, z *= s; return *this; }
    bool operator==(const NxVec3& v) const { return x == v.x && y == v.y && z == v.z; }
    bool operator!=(const NxVec3& v) const { return !(*this == v); }

    NxReal dot(const NxVec3& v) const { return x * v.x + y * v.y + z * v.z; }
    NxVec3 cross(const NxVec3& v) const { return NxVec3(y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x); }
    NxReal operator|(const NxVec3& v) const { return dot(v); }         // dot product
    NxVec3 operator^(const NxVec3& v) const { return cross(v); }       // cross product
    void cross(const NxVec3& a, const NxVec3& b) { *this = a.cross(b); }

    NxReal magnitudeSquared() const { return x * x + y * y + z * z; }
    NxReal magnitude() const { return std::sqrt(magnitudeSquared()); }
    NxReal distance(const NxVec3& v) const { return (*this - v).magnitude(); }
    // Scales to unit length and returns the old length; a zero vector stays zero.
    NxReal normalize()
    {
        NxReal m = magnitude();
        if (m > 0) *this *= 1.0f / m;
        return m;
    }
};

inline NxVec3 operator*(NxReal s, const NxVec3& v) { return v * s; }

// A rotation quaternion (x, y, z vector part, w scalar part).
class NxQuat {
public:
    NxReal x = 0, y = 0, z = 0, w = 1;

    NxQuat() = default;
    // A rotation of `angle_degrees` about `axis` (normalised here).
    NxQuat(NxReal angle_degrees, const NxVec3& axis) { fromAngleAxis(angle_degrees, axis); }

    void id() { x = y = z = 0, w = 1; }
    void setXYZW(NxReal nx, NxReal ny, NxReal nz, NxReal nw) { x = nx, y = ny, z = nz, w = nw; }
    void setWXYZ(NxReal nw, NxReal nx, NxReal ny, NxReal nz) { x = nx, y = ny, z = nz, w = nw; }
    void fromAngleAxis(NxReal angle_degrees, const NxVec3& axis);
    NxReal magnitude() const { return std::sqrt(x * x + y * y + z * z + w * w); }
    void normalize();
    NxVec3 rot(const NxVec3& v) const;
    NxQuat operator*(const NxQuat& q) const;
};

// 3 x 3 matrix, row-major: m[row][column]. Rotations act on column vectors (M * v).
class NxMat33 {
public:
    NxReal m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

    NxMat33() = default;
    explicit NxMat33(const NxQuat& q) { fromQuat(q); }
    NxMat33(const NxVec3& row0, const NxVec3& row1, const NxVec3& row2)
    {
        setRow(0, row0), setRow(1, row1), setRow(2, row2);
    }

    void id();
    void zero();
    bool isIdentity() const;
    bool isFinite() const;

    NxVec3 getRow(int r) const { return NxVec3(m[r][0], m[r][1], m[r][2]); }
    void setRow(int r, const NxVec3& v) { m[r][0] = v.x, m[r][1] = v.y, m[r][2] = v.z; }
    NxVec3 getColumn(int c) const { return NxVec3(m[0][c], m[1][c], m[2][c]); }
    void setColumn(int c, const NxVec3& v) { m[0][c] = v.x, m[1][c] = v.y, m[2][c] = v.z; }

    void setRowMajor(const NxReal* d);
    void getRowMajor(NxReal* d) const;
    void setColumnMajor(const NxReal* d);
    void getColumnMajor(NxReal* d) const;

    void fromQuat(const NxQuat& q);
    void toQuat(NxQuat& q) const;
    void rotX(NxReal radians);
    void rotY(NxReal radians);
    void rotZ(NxReal radians);

    NxVec3 operator*(const NxVec3& v) const;
    NxMat33 operator*(const NxMat33& b) const;
    void multiply(const NxVec3& src, NxVec3& dst) const { dst = *this * src; }
    void multiplyByTranspose(const NxVec3& src, NxVec3& dst) const;
    NxMat33 transposed() const;
    void setTransposed() { *this = transposed(); }
};

// A rigid pose: rotation M and translation t (x' = M x + t).
class NxMat34 {
public:
    NxMat33 M;
    NxVec3 t;

    NxMat34() = default;
    NxMat34(const NxMat33& rot, const NxVec3& trans) : M(rot), t(trans) {}

    void id() { M.id(), t.zero(); }
    bool isFinite() const { return M.isFinite() && t.isFinite(); }
    NxVec3 operator*(const NxVec3& v) const { return M * v + t; }
    void multiply(const NxVec3& src, NxVec3& dst) const { dst = *this * src; }
    NxMat34 operator*(const NxMat34& b) const { return NxMat34(M * b.M, M * b.t + t); }
    // The inverse of a rotation-and-translation pose.
    NxMat34 inverseRT() const;
    void multiplyByInverseRT(const NxVec3& src, NxVec3& dst) const;
    // Column-major 4 x 4 matrix: the rotation in the upper 3 x 3, the translation in the
    // fourth column, bottom row (0, 0, 0, 1).
    void getColumnMajor44(NxReal out[16]) const;
    void setColumnMajor44(const NxReal in[16]);
};

class NxRay {
public:
    NxVec3 orig;
    NxVec3 dir; // unit length
    NxRay() = default;
    NxRay(const NxVec3& o, const NxVec3& d) : orig(o), dir(d) {}
};

// ---------------------------------------------------------------------------------------
// Codes and flags
// ---------------------------------------------------------------------------------------

enum NxErrorCode {
    NXE_NO_ERROR = 0,
    NXE_INVALID_PARAMETER = 1,
    NXE_INVALID_OPERATION = 2,
    NXE_OUT_OF_MEMORY = 3,
    NXE_INTERNAL_ERROR = 4,
    NXE_ASSERTION = 107,
    NXE_DB_INFO = 205,
    NXE_DB_WARNING = 206,
    NXE_DB_PRINT = 208
};

enum NxAssertResponse { NX_AR_CONTINUE = 0, NX_AR_IGNORE = 1, NX_AR_BREAKPOINT = 2 };

enum NxSDKCreateError {
    NXCE_NO_ERROR = 0,
    NXCE_PHYSX_NOT_FOUND = 1,
    NXCE_WRONG_VERSION = 2,
    NXCE_DESCRIPTOR_INVALID = 3,
    NXCE_IN_USE_ERROR = 6
};

enum NxMemoryType { NX_MEMORY_PERSISTENT = 0, NX_MEMORY_TEMP = 1 };

// SDK parameters. Only the skin width has an effect here (it becomes the collision margin of
// new boxes); every other index is stored and read back unchanged.
enum NxParameter { NX_PENALTY_FORCE = 0, NX_SKIN_WIDTH = 1, NX_PARAMS_NUM_VALUES = 100 };

enum NxShapeType { NX_SHAPE_PLANE = 0, NX_SHAPE_BOX = 2, NX_SHAPE_MESH = 6 };

// Shape flags. A shape with any of the three trigger bits is a trigger: it has no contact
// response and reports overlaps to the scene's trigger receiver with those bits as status.
enum NxShapeFlag {
    NX_TRIGGER_ON_ENTER = 1 << 0,
    NX_TRIGGER_ON_LEAVE = 1 << 1,
    NX_TRIGGER_ON_STAY = 1 << 2,
    NX_TRIGGER_ENABLE = NX_TRIGGER_ON_ENTER | NX_TRIGGER_ON_LEAVE | NX_TRIGGER_ON_STAY,
    NX_SF_VISUALIZATION = 1 << 3
};
typedef NxShapeFlag NxTriggerFlag;

enum NxBodyFlag {
    NX_BF_DISABLE_GRAVITY = 1 << 0,
    NX_BF_FROZEN_POS_X = 1 << 1,
    NX_BF_FROZEN_POS_Y = 1 << 2,
    NX_BF_FROZEN_POS_Z = 1 << 3,
    NX_BF_FROZEN_ROT_X = 1 << 4,
    NX_BF_FROZEN_ROT_Y = 1 << 5,
    NX_BF_FROZEN_ROT_Z = 1 << 6,
    NX_BF_KINEMATIC = 1 << 7,
    NX_BF_VISUALIZATION = 1 << 8
};

enum NxForceMode {
    NX_FORCE = 0,          // mass * distance / time^2, over the next step
    NX_IMPULSE,            // mass * distance / time, at once
    NX_VELOCITY_CHANGE,    // distance / time, at once, whatever the mass
    NX_SMOOTH_IMPULSE,     // an impulse spread over the next step
    NX_SMOOTH_VELOCITY_CHANGE,
    NX_ACCELERATION        // distance / time^2 over the next step, whatever the mass
};

enum NxTimeStepMethod { NX_TIMESTEP_FIXED = 0, NX_TIMESTEP_VARIABLE = 1 };
enum NxSimulationStatus { NX_RIGID_BODY_FINISHED = 1 << 0, NX_ALL_FINISHED = 0xffffffff };

enum NxShapesType { NX_STATIC_SHAPES = 1 << 0, NX_DYNAMIC_SHAPES = 1 << 1, NX_ALL_SHAPES = 3 };

enum NxRaycastBit {
    NX_RAYCAST_SHAPE = 1 << 0,
    NX_RAYCAST_IMPACT = 1 << 1,
    NX_RAYCAST_NORMAL = 1 << 2,
    NX_RAYCAST_FACE_INDEX = 1 << 3,
    NX_RAYCAST_DISTANCE = 1 << 4,
    NX_RAYCAST_UV = 1 << 5,
    NX_RAYCAST_FACE_NORMAL = 1 << 6,
    NX_RAYCAST_MATERIAL = 1 << 7
};

enum NxMeshFlags { NX_MF_FLIPNORMALS = 1 << 0, NX_MF_16_BIT_INDICES = 1 << 1 };
enum NxHeightFieldAxis { NX_X = 0, NX_Y = 1, NX_Z = 2, NX_NOT_HEIGHTFIELD = 0xff };

enum NxD6JointMotion { NX_D6JOINT_MOTION_LOCKED = 0, NX_D6JOINT_MOTION_LIMITED = 1, NX_D6JOINT_MOTION_FREE = 2 };
enum NxJointFlag { NX_JF_COLLISION_ENABLED = 1 << 0, NX_JF_VISUALIZATION = 1 << 1 };
enum NxJointProjectionMode { NX_JPM_NONE = 0, NX_JPM_POINT_MINDIST = 1, NX_JPM_LINEAR_MINDIST = 2 };

// ---------------------------------------------------------------------------------------
// Interfaces the game implements
// ---------------------------------------------------------------------------------------

class NxUserAllocator {
public:
    virtual void* mallocDEBUG(size_t size, const char* fileName, int line, const char* className,
                              NxMemoryType type) = 0;
    virtual void* mallocDEBUG(size_t size, const char* fileName, int line) = 0; // obsolete
    virtual void* malloc(size_t size, NxMemoryType type) = 0;
    virtual void* malloc(size_t size) = 0;                                      // obsolete
    virtual void* realloc(void* memory, size_t size) = 0;
    virtual void free(void* memory) = 0;
    virtual void check() {}
    virtual ~NxUserAllocator() = default;
};

class NxUserOutputStream {
public:
    virtual void reportError(NxErrorCode code, const char* message, const char* file, int line) = 0;
    virtual NxAssertResponse reportAssertViolation(const char* message, const char* file, int line) = 0;
    virtual void print(const char* message) = 0;
    virtual ~NxUserOutputStream() = default;
};

// A byte stream for cooked data: values in the machine's native layout.
class NxStream {
public:
    virtual ~NxStream() = default;
    virtual NxU8 readByte() const = 0;
    virtual NxU16 readWord() const = 0;
    virtual NxU32 readDword() const = 0;
    virtual NxF32 readFloat() const = 0;
    virtual NxF64 readDouble() const = 0;
    virtual void readBuffer(void* buffer, NxU32 size) const = 0;
    virtual NxStream& storeByte(NxU8 b) = 0;
    virtual NxStream& storeWord(NxU16 w) = 0;
    virtual NxStream& storeDword(NxU32 d) = 0;
    virtual NxStream& storeFloat(NxF32 f) = 0;
    virtual NxStream& storeDouble(NxF64 f) = 0;
    virtual NxStream& storeBuffer(const void* buffer, NxU32 size) = 0;
};

class NxShape;

// Receives trigger reports during NxScene::fetchResults. `status` is one of the trigger
// bits: NX_TRIGGER_ON_ENTER, NX_TRIGGER_ON_LEAVE or NX_TRIGGER_ON_STAY.
class NxUserTriggerReport {
public:
    virtual void onTrigger(NxShape& triggerShape, NxShape& otherShape, NxTriggerFlag status) = 0;
    virtual ~NxUserTriggerReport() = default;
};

// ---------------------------------------------------------------------------------------
// Descriptors
// ---------------------------------------------------------------------------------------

// A growable array with the descriptor arrays' calls. The first few items are held in the
// array itself: an actor's descriptor, made on the stack for every crystal the ship drops,
// lists its shapes without a heap allocation.
template <class T>
class NxArray {
public:
    static constexpr NxU32 kHeld = 4;
    void pushBack(const T& v)
    {
        if (count < kHeld)
            held[count] = v;
        else
            more.push_back(v);
        ++count;
    }
    void clear()
    {
        count = 0;
        more.clear();
    }
    NxU32 size() const { return count; }
    T& operator[](NxU32 i) { return i < kHeld ? held[i] : more[i - kHeld]; }
    const T& operator[](NxU32 i) const { return i < kHeld ? held[i] : more[i - kHeld]; }

private:
    T held[kHeld] = {};
    std::vector<T> more; // the items from kHeld on
    NxU32 count = 0;
};

class NxTriangleMesh;

class NxShapeDesc {
public:
    NxShapeType getType() const { return type; }
    bool isValid() const; // the checks of every shape kind

    NxMat34 localPose;               // identity
    NxU32 shapeFlags = NX_SF_VISUALIZATION;
    NxCollisionGroup group = 0;
    NxMaterialIndex materialIndex = 0;
    void* userData = nullptr;
    const char* name = nullptr;

protected:
    explicit NxShapeDesc(NxShapeType t) : type(t) {}
    NxShapeType type;
};

class NxBoxShapeDesc : public NxShapeDesc {
public:
    NxBoxShapeDesc() : NxShapeDesc(NX_SHAPE_BOX) {}
    void setToDefault() { *this = NxBoxShapeDesc(); }
    bool isValid() const;
    NxVec3 dimensions; // half extents
};

// The plane normal . x = d; everything below it collides.
class NxPlaneShapeDesc : public NxShapeDesc {
public:
    NxPlaneShapeDesc() : NxShapeDesc(NX_SHAPE_PLANE) {}
    void setToDefault() { *this = NxPlaneShapeDesc(); }
    bool isValid() const;
    NxVec3 normal{0, 1, 0};
    NxReal d = 0;
};

class NxTriangleMeshShapeDesc : public NxShapeDesc {
public:
    NxTriangleMeshShapeDesc() : NxShapeDesc(NX_SHAPE_MESH) {}
    void setToDefault() { *this = NxTriangleMeshShapeDesc(); }
    bool isValid() const;
    NxTriangleMesh* meshData = nullptr;
};

class NxBodyDesc {
public:
    void setToDefault() { *this = NxBodyDesc(); }
    bool isValid() const;

    NxReal mass = 0;                 // 0: computed from the actor's density
    NxVec3 massSpaceInertia;         // zero: computed from the shapes
    NxVec3 linearVelocity;
    NxVec3 angularVelocity;
    NxReal wakeUpCounter = 0.4f;     // 0 starts the body asleep; otherwise it starts awake and sleeps
                                     // once it has been still for a while
    NxReal linearDamping = 0;        // coefficient per second, >= 0
    NxReal angularDamping = 0.05f;   // coefficient per second, >= 0
    NxU32 flags = NX_BF_VISUALIZATION;
    NxU32 solverIterationCount = 4;
};

class NxActorDesc {
public:
    void setToDefault() { *this = NxActorDesc(); }
    bool isValid() const;

    NxArray<NxShapeDesc*> shapes;
    const NxBodyDesc* body = nullptr; // none: a static actor
    NxReal density = 0;               // used when the body's mass is 0
    NxMat34 globalPose;
    void* userData = nullptr;
    const char* name = nullptr;
};

class NxSceneDesc {
public:
    void setToDefault() { *this = NxSceneDesc(); }
    bool isValid() const;

    NxVec3 gravity;
    NxUserTriggerReport* userTriggerReport = nullptr;
    NxReal maxTimestep = 1.0f / 60.0f;
    NxU32 maxIter = 8;                // sub-steps per simulate with fixed stepping
    NxTimeStepMethod timeStepMethod = NX_TIMESTEP_FIXED;
};

class NxPhysicsSDKDesc {
public:
    void setToDefault() { *this = NxPhysicsSDKDesc(); }
    bool isValid() const { return true; }
    NxU32 flags = 0;
};

// 32-bit or 16-bit indexed triangles for cooking.
class NxTriangleMeshDesc {
public:
    void setToDefault() { *this = NxTriangleMeshDesc(); }
    bool isValid() const;

    NxU32 numVertices = 0;
    NxU32 numTriangles = 0;
    NxU32 pointStrideBytes = 0;
    NxU32 triangleStrideBytes = 0;
    const void* points = nullptr;
    const void* triangles = nullptr;
    NxU32 flags = 0;
    // Kept in the cooked mesh for completeness; the collision of a triangle mesh here is
    // its surface, so nothing reads these two.
    NxU32 heightFieldVerticalAxis = NX_NOT_HEIGHTFIELD;
    NxReal heightFieldVerticalExtent = 0;
};

class NxActor;

class NxJointLimitSoftDesc {
public:
    NxReal value = 0, restitution = 0, spring = 0, damping = 0;
};

class NxJointLimitSoftPairDesc {
public:
    NxJointLimitSoftDesc low, high;
};

class NxJointDesc {
public:
    NxActor* actor[2] = {nullptr, nullptr}; // a null actor joins to the world
    NxVec3 localNormal[2] = {NxVec3(1, 0, 0), NxVec3(1, 0, 0)};
    NxVec3 localAxis[2] = {NxVec3(0, 0, 1), NxVec3(0, 0, 1)};
    NxVec3 localAnchor[2];
    NxReal maxForce = NX_MAX_REAL;     // breaks the joint when exceeded
    NxReal maxTorque = NX_MAX_REAL;
    void* userData = nullptr;
    const char* name = nullptr;
    NxU32 jointFlags = NX_JF_VISUALIZATION;

    // Sets both local anchors (and axes) from one world point (direction), using the actors'
    // current poses.
    void setGlobalAnchor(const NxVec3& anchor);
    void setGlobalAxis(const NxVec3& axis);
};

// A joint whose frame is (axis, normal, axis x normal) in each body. Twist turns about the
// axis, swing 1 about the normal, swing 2 about their cross product.
class NxD6JointDesc : public NxJointDesc {
public:
    void setToDefault() { *this = NxD6JointDesc(); }
    bool isValid() const;

    NxD6JointMotion xMotion = NX_D6JOINT_MOTION_FREE;
    NxD6JointMotion yMotion = NX_D6JOINT_MOTION_FREE;
    NxD6JointMotion zMotion = NX_D6JOINT_MOTION_FREE;
    NxD6JointMotion swing1Motion = NX_D6JOINT_MOTION_FREE;
    NxD6JointMotion swing2Motion = NX_D6JOINT_MOTION_FREE;
    NxD6JointMotion twistMotion = NX_D6JOINT_MOTION_FREE;
    NxJointLimitSoftDesc linearLimit;  // +- value on each limited linear axis
    NxJointLimitSoftDesc swing1Limit;  // +- value (radians)
    NxJointLimitSoftDesc swing2Limit;
    NxJointLimitSoftPairDesc twistLimit;
    NxJointProjectionMode projectionMode = NX_JPM_NONE;
    NxReal projectionDistance = 0.1f;
    NxReal projectionAngle = 0.0872f;
};

// ---------------------------------------------------------------------------------------
// SDK objects
// ---------------------------------------------------------------------------------------

struct NxShapeData;
struct NxActorData;
struct NxSceneData;
struct NxSDKData;
struct NxJointData;
struct NxMeshData;
class NxScene;

class NxMaterial {
public:
    void setRestitution(NxReal r);
    NxReal getRestitution() const { return restitution; }
    void setStaticFriction(NxReal f);
    NxReal getStaticFriction() const { return staticFriction; }
    void setDynamicFriction(NxReal f);
    NxReal getDynamicFriction() const { return dynamicFriction; }
    NxMaterialIndex getMaterialIndex() const { return index; }
    NxScene& getScene() const { return *scene; }

    // Created by the scene only.
    NxMaterial(NxScene* s, NxMaterialIndex i) : scene(s), index(i) {}

private:
    NxScene* scene;
    NxMaterialIndex index;
    NxReal restitution = 0, staticFriction = 0.5f, dynamicFriction = 0.5f;
};

class NxTriangleMesh {
public:
    NxU32 getCount() const;          // vertices
    NxU32 getTriangleCount() const;
    NxU32 getReferenceCount() const; // shapes using the mesh
    NxMeshData* impl;                // the layer's own state
};

class NxShape {
public:
    NxActor& getActor() const;
    NxShapeType getType() const;
    // True when any of the bits of `flag` is set (NX_TRIGGER_ENABLE: any trigger bit).
    bool getFlag(NxShapeFlag flag) const;
    void setFlag(NxShapeFlag flag, bool value);
    NxCollisionGroup getGroup() const;
    void setGroup(NxCollisionGroup group);
    NxMaterialIndex getMaterial() const;
    NxMat34 getLocalPose() const;
    NxMat34 getGlobalPose() const;
    NxVec3 getDimensions() const; // half extents of a box shape; zero for other shapes

    void* userData = nullptr;
    NxShapeData* impl = nullptr; // the layer's own state
};

class NxActor {
public:
    NxScene& getScene() const;
    bool isDynamic() const; // has a body (kinematic ones too)

    NxMat34 getGlobalPose() const;
    NxVec3 getGlobalPosition() const;
    NxMat33 getGlobalOrientation() const;
    void setGlobalPose(const NxMat34& pose);
    void setGlobalPosition(const NxVec3& position);
    void setGlobalOrientation(const NxMat33& orientation);

    NxU32 getNbShapes() const;
    NxShape* const* getShapes() const;

    // Body operations; on a static actor they report an invalid operation and do nothing.
    NxVec3 getLinearVelocity() const;
    void setLinearVelocity(const NxVec3& v);
    NxVec3 getAngularVelocity() const;
    void setAngularVelocity(const NxVec3& w);
    NxReal getMass() const;
    NxReal computeKineticEnergy() const;
    void setLinearDamping(NxReal coefficient);
    NxReal getLinearDamping() const;
    void setAngularDamping(NxReal coefficient);
    NxReal getAngularDamping() const;

    // World-space force or torque through the centre of mass.
    void addForce(const NxVec3& force, NxForceMode mode = NX_FORCE, bool wakeup = true);
    void addTorque(const NxVec3& torque, NxForceMode mode = NX_FORCE, bool wakeup = true);
    // Force and torque given in the actor's frame.
    void addLocalForce(const NxVec3& force, NxForceMode mode = NX_FORCE, bool wakeup = true);
    void addLocalTorque(const NxVec3& torque, NxForceMode mode = NX_FORCE, bool wakeup = true);
    // A world-space force applied at a point given in the actor's frame.
    void addForceAtLocalPos(const NxVec3& force, const NxVec3& pos, NxForceMode mode = NX_FORCE,
                            bool wakeup = true);
    // A world-space force applied at a world-space point.
    void addForceAtPos(const NxVec3& force, const NxVec3& pos, NxForceMode mode = NX_FORCE, bool wakeup = true);

    // Wakes the body; it stays awake until it has been still for a while (whatever the value).
    void wakeUp(NxReal wakeCounterValue = 0.4f);
    bool isSleeping() const;
    void putToSleep();

    void raiseBodyFlag(NxBodyFlag flag);
    void clearBodyFlag(NxBodyFlag flag);
    bool readBodyFlag(NxBodyFlag flag) const;
    NxU32 getSolverIterationCount() const;

    void* userData = nullptr;
    NxActorData* impl = nullptr; // the layer's own state
};

class NxJoint {
public:
    void getActors(NxActor** actor1, NxActor** actor2) const;
    bool isBroken() const;
    void* userData = nullptr;
    NxJointData* impl = nullptr; // the layer's own state
};
typedef NxJoint NxD6Joint;

class NxRaycastHit {
public:
    NxShape* shape = nullptr;
    NxVec3 worldImpact;
    NxVec3 worldNormal;
    NxU32 faceID = 0;
    NxReal distance = 0;
    NxReal u = 0, v = 0;
    NxMaterialIndex materialIndex = 0;
    NxU32 flags = 0;
};

class NxScene {
public:
    NxActor* createActor(const NxActorDesc& desc);
    // Releases the actor, its shapes and the joints attached to it. Safe from within a
    // trigger report: the actor leaves the simulation at once and is deleted after the
    // reports of this fetch are delivered.
    void releaseActor(NxActor& actor);
    NxU32 getNbActors() const;
    NxActor** getActors();

    NxJoint* createJoint(const NxD6JointDesc& desc);
    void releaseJoint(NxJoint& joint);
    NxU32 getNbJoints() const;

    NxMaterial* getMaterialFromIndex(NxMaterialIndex index);
    NxMaterialIndex getHighestMaterialIndex() const;

    void setGravity(const NxVec3& g);
    void getGravity(NxVec3& g) const;

    void setUserTriggerReport(NxUserTriggerReport* report);
    NxUserTriggerReport* getUserTriggerReport() const;

    // NX_TIMESTEP_VARIABLE: each simulate is one step of exactly its elapsed time; while the
    // scene holds joints, a step longer than 1/60 s is split into equal sub-steps no longer
    // than that (forces added for the step act through all of them).
    // NX_TIMESTEP_FIXED: sub-steps of maxTimestep, at most maxIter of them per simulate.
    void setTiming(NxReal maxTimestep = 1.0f / 60.0f, NxU32 maxIter = 8,
                   NxTimeStepMethod method = NX_TIMESTEP_FIXED);
    void getTiming(NxReal& maxTimestep, NxU32& maxIter, NxTimeStepMethod& method) const;

    // Starts advancing the simulation by `elapsedTime` seconds, on a thread of the scene's
    // own: the caller goes on (the game draws its frame) while the step runs. Any other call
    // into the scene, its actors or joints before fetchResults first waits for the step, so
    // it sees the stepped poses and velocities; trigger reports wait for fetchResults.
    void simulate(NxReal elapsedTime);
    void flushStream();
    // Finishes the last simulate (with `block`, waiting for its step; without, returning false
    // while it still runs) and delivers its trigger reports on the calling thread. Returns
    // false when no simulate was pending.
    bool fetchResults(NxSimulationStatus status, bool block = false, NxU32* errorState = nullptr);
    // Whether the last simulate's step has finished (with `block`, once it has) and waits for
    // fetchResults; false when no simulate is pending.
    bool checkResults(NxSimulationStatus status, bool block = false);

    // The closest shape hit by `ray` within `maxDist`, among the shapes of `shapeType`
    // whose group g has bit (1 << g) set in `groups`. Trigger shapes are never hit.
    NxShape* raycastClosestShape(const NxRay& ray, NxShapesType shapeType, NxRaycastHit& hit,
                                 NxU32 groups = 0xffffffff, NxReal maxDist = NX_MAX_F32,
                                 NxU32 hintFlags = 0xffffffff) const;

    NxSceneData* impl = nullptr; // the layer's own state
};

class NxPhysicsSDK {
public:
    bool setParameter(NxParameter parameter, NxReal value);
    NxReal getParameter(NxParameter parameter) const;

    NxScene* createScene(const NxSceneDesc& desc);
    void releaseScene(NxScene& scene);
    NxU32 getNbScenes() const;

    // Builds a collision mesh from cooked data; null (with an error report) when the data
    // are not a valid cooked mesh.
    NxTriangleMesh* createTriangleMesh(const NxStream& stream);
    void releaseTriangleMesh(NxTriangleMesh& mesh);
    NxU32 getNbTriangleMeshes() const;

    // Drops one reference; the last release frees every scene and mesh left.
    void release();

    NxSDKData* impl = nullptr; // the layer's own state
};

// Creates the SDK (or, while one exists, returns it with one more reference). Every
// allocation of the physics engine goes through `allocator`; errors of the layer go to
// `outputStream`. Null on failure, with the reason in `errorCode`.
NxPhysicsSDK* NxCreatePhysicsSDK(NxU32 sdkVersion, NxUserAllocator* allocator = nullptr,
                                 NxUserOutputStream* outputStream = nullptr,
                                 const NxPhysicsSDKDesc& desc = NxPhysicsSDKDesc(),
                                 NxSDKCreateError* errorCode = nullptr);
void NxReleasePhysicsSDK(NxPhysicsSDK* sdk);

// ---------------------------------------------------------------------------------------
// Cooking: a triangle mesh into a stream, in the layer's own versioned format.
// ---------------------------------------------------------------------------------------

bool NxInitCooking(NxUserAllocator* allocator = nullptr, NxUserOutputStream* outputStream = nullptr);
void NxCloseCooking();
bool NxCookTriangleMesh(const NxTriangleMeshDesc& desc, NxStream& stream);

class NxCookingInterface {
public:
    bool NxInitCooking(NxUserAllocator* allocator = nullptr, NxUserOutputStream* outputStream = nullptr);
    void NxCloseCooking();
    bool NxCookTriangleMesh(const NxTriangleMeshDesc& desc, NxStream& stream);
};
NxCookingInterface* NxGetCookingLib(NxU32 sdkVersion);

// ---------------------------------------------------------------------------------------
// Utilities
// ---------------------------------------------------------------------------------------

class NxUtilLib {
public:
    // Smooth vertex normals: each vertex gets the normalised sum of the area-weighted face
    // normals (v2 - v0) x (v1 - v0) of its triangles (facing the side from which the
    // triangle runs clockwise), negated when `flip` is set. Exactly one of the index arrays
    // is given. False when the input is unusable.
    bool NxBuildSmoothNormals(NxU32 nbTris, NxU32 nbVerts, const NxVec3* verts, const NxU32* dFaces,
                              const NxU16* wFaces, NxVec3* normals, bool flip = false);
    // Two unit vectors perpendicular to the unit vector `n` and to each other.
    void NxNormalToTangents(const NxVec3& n, NxVec3& t1, NxVec3& t2);
};
NxUtilLib* NxGetUtilLib();
