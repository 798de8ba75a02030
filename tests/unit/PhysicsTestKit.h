// Helpers for the physics tests: an in-memory stream, a recording error sink, grid meshes and boxes.
#pragma once

#include "Physics/NxPhysics.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

class MemoryStream : public NxStream {
public:
    std::vector<unsigned char> bytes;
    mutable size_t at = 0;
    // A read past the end gives zeros, or when strict throws ShortRead (the game's stream ends the program there).
    bool strict = false;
    struct ShortRead {};

    NxU8 readByte() const override { NxU8 v = 0; get(&v, 1); return v; }
    NxU16 readWord() const override { NxU16 v = 0; get(&v, 2); return v; }
    NxU32 readDword() const override { NxU32 v = 0; get(&v, 4); return v; }
    NxF32 readFloat() const override { NxF32 v = 0; get(&v, 4); return v; }
    NxF64 readDouble() const override { NxF64 v = 0; get(&v, 8); return v; }
    void readBuffer(void* b, NxU32 n) const override { get(b, n); }
    NxStream& storeByte(NxU8 v) override { return put(&v, 1); }
    NxStream& storeWord(NxU16 v) override { return put(&v, 2); }
    NxStream& storeDword(NxU32 v) override { return put(&v, 4); }
    NxStream& storeFloat(NxF32 v) override { return put(&v, 4); }
    NxStream& storeDouble(NxF64 v) override { return put(&v, 8); }
    NxStream& storeBuffer(const void* b, NxU32 n) override { return put(b, n); }

private:
    void get(void* out, size_t n) const
    {
        if (at + n > bytes.size()) {
            if (strict) throw ShortRead();
            std::memset(out, 0, n);
            at = bytes.size();
            return;
        }
        std::memcpy(out, bytes.data() + at, n);
        at += n;
    }
    NxStream& put(const void* in, size_t n)
    {
        const unsigned char* p = static_cast<const unsigned char*>(in);
        bytes.insert(bytes.end(), p, p + n);
        return *this;
    }
};

class RecordingOutput : public NxUserOutputStream {
public:
    std::vector<std::string> errors;
    void reportError(NxErrorCode, const char* message, const char*, int) override { errors.push_back(message); }
    NxAssertResponse reportAssertViolation(const char* message, const char*, int) override
    {
        errors.push_back(message);
        return NX_AR_CONTINUE;
    }
    void print(const char*) override {}
};

// A grid of n x n cells, one unit wide, with height h(x, z) at each vertex, wound like the terrain tiles.
struct GridMesh {
    unsigned side = 0;
    std::vector<float> vertices;
    std::vector<NxU32> triangles;

    GridMesh(unsigned cells, const std::function<float(float, float)>& h)
    {
        side = cells + 1;
        for (unsigned j = 0; j < side; ++j)
            for (unsigned i = 0; i < side; ++i) {
                vertices.push_back(float(i));
                vertices.push_back(h(float(i), float(j)));
                vertices.push_back(float(j));
            }
        for (unsigned j = 0; j + 1 < side; ++j)
            for (unsigned i = 0; i + 1 < side; ++i) {
                NxU32 a = j * side + i, b = (j + 1) * side + i, c = (j + 1) * side + i + 1, d = j * side + i + 1;
                triangles.insert(triangles.end(), {a, b, c, a, c, d});
            }
    }

    NxTriangleMeshDesc desc() const
    {
        NxTriangleMeshDesc d;
        d.numVertices = static_cast<NxU32>(vertices.size() / 3);
        d.numTriangles = static_cast<NxU32>(triangles.size() / 3);
        d.pointStrideBytes = d.triangleStrideBytes = 12;
        d.points = vertices.data();
        d.triangles = triangles.data();
        return d;
    }
};

inline bool cook(const NxTriangleMeshDesc& desc, NxStream& out)
{
    if (!NxInitCooking()) return false;
    bool ok = NxCookTriangleMesh(desc, out);
    NxCloseCooking();
    return ok;
}

// A scene under gravity that steps as much time as it is given, reporting triggers to `report`.
inline NxScene* make_scene(NxPhysicsSDK& sdk, NxUserTriggerReport* report)
{
    NxSceneDesc desc;
    desc.gravity = NxVec3(0, -9.81f, 0);
    desc.userTriggerReport = report;
    NxScene* scene = sdk.createScene(desc);
    scene->setTiming(0, 0, NX_TIMESTEP_VARIABLE);
    return scene;
}

inline NxActor* make_mesh_actor(NxScene& scene, NxTriangleMesh* mesh)
{
    NxTriangleMeshShapeDesc shape;
    shape.meshData = mesh;
    NxActorDesc actor;
    actor.shapes.pushBack(&shape);
    return scene.createActor(actor);
}

inline NxActor* make_box(NxScene& scene, const NxVec3& pos, const NxVec3& half, bool dynamic = true,
                         NxU32 shapeFlags = NX_SF_VISUALIZATION, NxCollisionGroup group = 0, NxReal mass = 1)
{
    NxBoxShapeDesc box;
    box.dimensions = half;
    box.shapeFlags = shapeFlags;
    box.group = group;
    NxBodyDesc body;
    body.mass = mass;
    NxActorDesc actor;
    actor.shapes.pushBack(&box);
    actor.body = dynamic ? &body : nullptr;
    actor.globalPose.t = pos;
    return scene.createActor(actor);
}

inline void step(NxScene& scene, int steps, NxReal dt = 0.04f)
{
    for (int i = 0; i < steps; ++i) {
        scene.simulate(dt);
        scene.flushStream();
        scene.fetchResults(NX_RIGID_BODY_FINISHED, true);
    }
}
