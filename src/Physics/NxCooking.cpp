// Cooking: a triangle mesh description into the layer's cooked format, and back.

#include "Physics/NxCookedMesh.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

bool cooking_initialised = false;
NxUserOutputStream* cooking_output = nullptr;

void cooking_error(NxErrorCode code, int line, const char* format, ...) __attribute__((format(printf, 3, 4)));
void cooking_error(NxErrorCode code, int line, const char* format, ...)
{
    char message[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    if (cooking_output)
        cooking_output->reportError(code, message, __FILE__, line);
    else
        std::fprintf(stderr, "%s\n", message);
}

// FNV-1a over the bytes as they are written or read.
struct Checksum {
    NxU32 value = 2166136261u;
    void add(const void* data, size_t size)
    {
        const unsigned char* p = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i) value = (value ^ p[i]) * 16777619u;
    }
};

// Writes through the stream and keeps the checksum of everything written.
struct CheckedWriter {
    NxStream& stream;
    Checksum sum;
    void dword(NxU32 v)
    {
        sum.add(&v, 4);
        stream.storeDword(v);
    }
    void real(float v)
    {
        sum.add(&v, 4);
        stream.storeFloat(v);
    }
    void buffer(const void* data, NxU32 size)
    {
        sum.add(data, size);
        stream.storeBuffer(data, size);
    }
};

struct CheckedReader {
    const NxStream& stream;
    Checksum sum;
    NxU32 dword()
    {
        NxU32 v = stream.readDword();
        sum.add(&v, 4);
        return v;
    }
    float real()
    {
        float v = stream.readFloat();
        sum.add(&v, 4);
        return v;
    }
    void buffer(void* data, NxU32 size)
    {
        stream.readBuffer(data, size);
        sum.add(data, size);
    }
};

const NxU32 PIECE = 1u << 16; // elements per bounded read

NxU32 index_at(const NxTriangleMeshDesc& desc, NxU32 triangle, int corner)
{
    const unsigned char* base = static_cast<const unsigned char*>(desc.triangles) +
                                static_cast<size_t>(triangle) * desc.triangleStrideBytes;
    if (desc.flags & NX_MF_16_BIT_INDICES) {
        NxU16 v;
        std::memcpy(&v, base + corner * 2, 2);
        return v;
    }
    NxU32 v;
    std::memcpy(&v, base + corner * 4, 4);
    return v;
}

const float* point_at(const NxTriangleMeshDesc& desc, NxU32 i)
{
    return reinterpret_cast<const float*>(static_cast<const unsigned char*>(desc.points) +
                                          static_cast<size_t>(i) * desc.pointStrideBytes);
}

// Checks what cooking needs; reports the first fault found.
bool check_desc(const NxTriangleMeshDesc& desc)
{
    if (desc.numVertices < 3 || desc.numVertices > NX_COOKED_MESH_MAX_VERTICES) {
        cooking_error(NXE_INVALID_PARAMETER, __LINE__, "cooking: %u vertices (3 to %u allowed)", desc.numVertices,
                      NX_COOKED_MESH_MAX_VERTICES);
        return false;
    }
    if (desc.numTriangles < 1 || desc.numTriangles > NX_COOKED_MESH_MAX_TRIANGLES) {
        cooking_error(NXE_INVALID_PARAMETER, __LINE__, "cooking: %u triangles (1 to %u allowed)", desc.numTriangles,
                      NX_COOKED_MESH_MAX_TRIANGLES);
        return false;
    }
    NxU32 index_size = (desc.flags & NX_MF_16_BIT_INDICES) ? 2 : 4;
    if (!desc.points || !desc.triangles || desc.pointStrideBytes < 12 || desc.triangleStrideBytes < 3 * index_size ||
        (desc.pointStrideBytes % 4) != 0) {
        cooking_error(NXE_INVALID_PARAMETER, __LINE__, "cooking: missing arrays or strides too small");
        return false;
    }
    if (desc.heightFieldVerticalAxis > NX_Z && desc.heightFieldVerticalAxis != NX_NOT_HEIGHTFIELD) {
        cooking_error(NXE_INVALID_PARAMETER, __LINE__, "cooking: vertical axis %u", desc.heightFieldVerticalAxis);
        return false;
    }
    for (NxU32 i = 0; i < desc.numVertices; ++i) {
        const float* p = point_at(desc, i);
        if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2])) {
            cooking_error(NXE_INVALID_PARAMETER, __LINE__, "cooking: vertex %u is not finite", i);
            return false;
        }
    }
    for (NxU32 t = 0; t < desc.numTriangles; ++t)
        for (int c = 0; c < 3; ++c)
            if (index_at(desc, t, c) >= desc.numVertices) {
                cooking_error(NXE_INVALID_PARAMETER, __LINE__, "cooking: triangle %u refers to vertex %u of %u", t,
                              index_at(desc, t, c), desc.numVertices);
                return false;
            }
    return true;
}

} // namespace

bool NxTriangleMeshDesc::isValid() const
{
    NxUserOutputStream* saved = cooking_output;
    struct Silent : NxUserOutputStream {
        void reportError(NxErrorCode, const char*, const char*, int) override {}
        NxAssertResponse reportAssertViolation(const char*, const char*, int) override { return NX_AR_CONTINUE; }
        void print(const char*) override {}
    } silent;
    cooking_output = &silent;
    bool ok = check_desc(*this);
    cooking_output = saved;
    return ok;
}

bool NxInitCooking(NxUserAllocator*, NxUserOutputStream* outputStream)
{
    // Cooking needs no memory of its own beyond the caller's stream, so the allocator is
    // accepted for the interface's sake only.
    if (cooking_initialised) {
        cooking_error(NXE_INVALID_OPERATION, __LINE__, "cooking: already initialised");
        return false;
    }
    cooking_initialised = true;
    cooking_output = outputStream;
    return true;
}

void NxCloseCooking()
{
    cooking_initialised = false;
    cooking_output = nullptr;
}

bool NxCookTriangleMesh(const NxTriangleMeshDesc& desc, NxStream& stream)
{
    if (!cooking_initialised) {
        cooking_error(NXE_INVALID_OPERATION, __LINE__, "cooking: NxInitCooking has not been called");
        return false;
    }
    if (!check_desc(desc)) return false;

    CheckedWriter out{stream, {}};
    out.dword(NX_COOKED_MESH_MAGIC);
    out.dword(NX_COOKED_MESH_VERSION);
    out.dword(0);
    out.dword(desc.numVertices);
    out.dword(desc.numTriangles);
    out.dword(desc.heightFieldVerticalAxis);
    out.real(desc.heightFieldVerticalExtent);

    std::vector<float> piece;
    for (NxU32 first = 0; first < desc.numVertices; first += PIECE) {
        NxU32 n = std::min(PIECE, desc.numVertices - first);
        piece.resize(static_cast<size_t>(n) * 3);
        for (NxU32 i = 0; i < n; ++i) std::memcpy(&piece[i * 3], point_at(desc, first + i), 12);
        out.buffer(piece.data(), n * 12);
    }
    // Flipped normals turn into the opposite winding, so the reader needs no flag.
    const bool flip = (desc.flags & NX_MF_FLIPNORMALS) != 0;
    std::vector<NxU32> tris;
    for (NxU32 first = 0; first < desc.numTriangles; first += PIECE) {
        NxU32 n = std::min(PIECE, desc.numTriangles - first);
        tris.resize(static_cast<size_t>(n) * 3);
        for (NxU32 t = 0; t < n; ++t) {
            tris[t * 3 + 0] = index_at(desc, first + t, 0);
            tris[t * 3 + 1] = index_at(desc, first + t, flip ? 2 : 1);
            tris[t * 3 + 2] = index_at(desc, first + t, flip ? 1 : 2);
        }
        out.buffer(tris.data(), n * 12);
    }
    NxU32 sum = out.sum.value;
    stream.storeDword(sum);
    return true;
}

bool nx_read_cooked_mesh(const NxStream& stream, NxCookedMesh& mesh, std::string& why)
{
    CheckedReader in{stream, {}};
    if (in.dword() != NX_COOKED_MESH_MAGIC) {
        why = "not a cooked triangle mesh";
        return false;
    }
    NxU32 version = in.dword();
    if (version != NX_COOKED_MESH_VERSION) {
        why = "cooked mesh format version " + std::to_string(version) + " is not supported";
        return false;
    }
    NxU32 flags = in.dword();
    NxU32 nv = in.dword();
    NxU32 nt = in.dword();
    NxU32 axis = in.dword();
    float extent = in.real();
    if (flags != 0 || nv < 3 || nv > NX_COOKED_MESH_MAX_VERTICES || nt < 1 || nt > NX_COOKED_MESH_MAX_TRIANGLES ||
        (axis > NX_Z && axis != NX_NOT_HEIGHTFIELD) || !std::isfinite(extent)) {
        why = "damaged cooked mesh header";
        return false;
    }

    mesh.vertices.clear();
    mesh.indices.clear();
    for (NxU32 first = 0; first < nv; first += PIECE) {
        NxU32 n = std::min(PIECE, nv - first);
        size_t at = mesh.vertices.size();
        mesh.vertices.resize(at + static_cast<size_t>(n) * 3);
        in.buffer(&mesh.vertices[at], n * 12);
    }
    for (NxU32 first = 0; first < nt; first += PIECE) {
        NxU32 n = std::min(PIECE, nt - first);
        size_t at = mesh.indices.size();
        mesh.indices.resize(at + static_cast<size_t>(n) * 3);
        in.buffer(&mesh.indices[at], n * 12);
    }
    NxU32 expected = in.sum.value;
    if (stream.readDword() != expected) {
        why = "cooked mesh checksum does not match (damaged or truncated file)";
        return false;
    }
    for (float v : mesh.vertices)
        if (!std::isfinite(v)) {
            why = "cooked mesh holds a vertex that is not finite";
            return false;
        }
    for (NxU32 i : mesh.indices)
        if (i >= nv) {
            why = "cooked mesh refers to a vertex beyond its vertex count";
            return false;
        }
    mesh.axis = axis;
    mesh.extent = extent;
    return true;
}

bool NxCookingInterface::NxInitCooking(NxUserAllocator* allocator, NxUserOutputStream* outputStream)
{
    return ::NxInitCooking(allocator, outputStream);
}

void NxCookingInterface::NxCloseCooking()
{
    ::NxCloseCooking();
}

bool NxCookingInterface::NxCookTriangleMesh(const NxTriangleMeshDesc& desc, NxStream& stream)
{
    return ::NxCookTriangleMesh(desc, stream);
}

NxCookingInterface* NxGetCookingLib(NxU32 sdkVersion)
{
    static NxCookingInterface cooking;
    if ((sdkVersion & 0xffff0000u) != (NX_PHYSICS_SDK_VERSION & 0xffff0000u)) return nullptr;
    return &cooking;
}
