// The cooked triangle-mesh format of the physics layer. A cooked mesh is what the scratch
// files "tmp_%d.bin" hold between cooking and mesh creation:
//
//   dword  magic "MHCM"
//   dword  format version (1)
//   dword  flags (none defined yet; must be 0)
//   dword  vertex count       (3 .. 2^24)
//   dword  triangle count     (1 .. 2^25)
//   dword  height-field vertical axis (0, 1, 2 or 0xff for none)
//   float  height-field vertical extent
//   vertex count x 3 floats   (x, y, z; finite)
//   triangle count x 3 dwords (vertex indices, each below the vertex count)
//   dword  FNV-1a checksum of every byte before it
//
// All values in the machine's native (little-endian) layout. A reader checks every field
// and the checksum before it trusts the counts, and reads the arrays in bounded pieces, so
// a damaged or hostile file is refused without a large allocation.
#pragma once

#include "Physics/NxPhysics.h"

#include <string>
#include <vector>

const NxU32 NX_COOKED_MESH_MAGIC = 0x4D43484Du; // the bytes 'M' 'H' 'C' 'M'
const NxU32 NX_COOKED_MESH_VERSION = 1;
const NxU32 NX_COOKED_MESH_MAX_VERTICES = 1u << 24;
const NxU32 NX_COOKED_MESH_MAX_TRIANGLES = 1u << 25;

struct NxCookedMesh {
    std::vector<float> vertices; // 3 per vertex
    std::vector<NxU32> indices;  // 3 per triangle
    NxU32 axis = NX_NOT_HEIGHTFIELD;
    float extent = 0;
};

// Reads one cooked mesh. On failure returns false and says why in `why`.
bool nx_read_cooked_mesh(const NxStream& stream, NxCookedMesh& mesh, std::string& why);
