// The cooked-mesh scratch file as the physics layer reads it back: an accepted mesh has finite
// vertices, indices within them, and survives cooking and reading again unchanged.
#include "FuzzFile.h"
#include "Physics/NxCookedMesh.h"
#include "unit/PhysicsTestKit.h"

#include <cmath>
#include <cstring>

namespace {

struct ShortRead {};

// A read past the end stops the reading, as the game's stream ends the program there (reading
// on over zeros would let a short header claim hundreds of megabytes).
class ScratchFile : public NxStream {
public:
    ScratchFile(const uint8_t* d, size_t n) : data(d), size(n) {}
    NxU8 readByte() const override { return value<NxU8>(); }
    NxU16 readWord() const override { return value<NxU16>(); }
    NxU32 readDword() const override { return value<NxU32>(); }
    NxF32 readFloat() const override { return value<NxF32>(); }
    NxF64 readDouble() const override { return value<NxF64>(); }
    void readBuffer(void* b, NxU32 n) const override { get(b, n); }
    NxStream& storeByte(NxU8) override { return *this; }
    NxStream& storeWord(NxU16) override { return *this; }
    NxStream& storeDword(NxU32) override { return *this; }
    NxStream& storeFloat(NxF32) override { return *this; }
    NxStream& storeDouble(NxF64) override { return *this; }
    NxStream& storeBuffer(const void*, NxU32) override { return *this; }

private:
    template <typename T>
    T value() const
    {
        T v;
        get(&v, sizeof v);
        return v;
    }
    void get(void* out, size_t n) const
    {
        if (n > size - at) throw ShortRead();
        std::memcpy(out, data + at, n);
        at += n;
    }
    const uint8_t* data;
    size_t size;
    mutable size_t at = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ScratchFile in(data, size);
    NxCookedMesh mesh;
    std::string why;
    try {
        if (!nx_read_cooked_mesh(in, mesh, why)) {
            require(!why.empty());
            return 0;
        }
    } catch (const ShortRead&) {
        return 0;
    }
    const size_t nv = mesh.vertices.size() / 3;
    for (float v : mesh.vertices) require(std::isfinite(v));
    for (NxU32 i : mesh.indices) require(i < nv);

    NxTriangleMeshDesc desc;
    desc.numVertices = NxU32(nv);
    desc.numTriangles = NxU32(mesh.indices.size() / 3);
    desc.pointStrideBytes = 12;
    desc.triangleStrideBytes = 12;
    desc.points = mesh.vertices.data();
    desc.triangles = mesh.indices.data();
    desc.heightFieldVerticalAxis = mesh.axis;
    desc.heightFieldVerticalExtent = mesh.extent;
    require(NxInitCooking());
    MemoryStream again;
    require(NxCookTriangleMesh(desc, again));
    NxCloseCooking();
    NxCookedMesh back;
    require(nx_read_cooked_mesh(again, back, why));
    require(back.vertices == mesh.vertices && back.indices == mesh.indices);
    return 0;
}
