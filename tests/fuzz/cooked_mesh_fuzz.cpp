// The cooked-mesh scratch file as the physics layer reads it back: an accepted mesh has finite
// vertices, indices within them, and survives cooking and reading again unchanged.
#include "FuzzFile.h"
#include "Physics/NxCookedMesh.h"
#include "unit/PhysicsTestKit.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A read past the end stops the reading (reading on over zeros would let a short header claim
    // hundreds of megabytes).
    MemoryStream in;
    in.bytes.assign(data, data + size);
    in.strict = true;
    NxCookedMesh mesh;
    std::string why;
    try {
        if (!nx_read_cooked_mesh(in, mesh, why)) {
            require(!why.empty());
            return 0;
        }
    } catch (const MemoryStream::ShortRead&) {
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
    MemoryStream again;
    require(cook(desc, again));
    NxCookedMesh back;
    require(nx_read_cooked_mesh(again, back, why));
    require(back.vertices == mesh.vertices && back.indices == mesh.indices);
    return 0;
}
