// The physics side of the landscape: one triangle mesh per physics tile of the height map,
// in physics units (one physics-map sample is 1.0 wide).
#pragma once

#include <cstdint>

class HeightMap;
struct TerrainScale;

struct TerrainTileMesh {
    TerrainTileMesh() = default;
    ~TerrainTileMesh();
    TerrainTileMesh(const TerrainTileMesh&) = delete;
    TerrainTileMesh& operator=(const TerrainTileMesh&) = delete;

    // Fills the record from tile t of `map` (after create_tiles), in the physics units of
    // `scale`. Neighbouring tiles share their seam vertices; the map's
    // far x and z edges lie at height 0. The normals are the physics layer's to compute
    // (smooth_tile_normals).
    void build_tile_mesh(const HeightMap& map, uint32_t t, const TerrainScale& scale);

    uint32_t side = 0;            // vertices per row and per column: phys_ts + 1
    uint32_t vertex_count = 0;    // side * side
    uint32_t triangle_count = 0;  // 2 * phys_ts * phys_ts
    float* vertices = nullptr;    // x, y, z per vertex; vertex (i, j) at j * side + i
    float* colours = nullptr;     // r, g, b per vertex
    float* normals = nullptr;     // smooth vertex normals (new[]), once smooth_tile_normals ran
    uint32_t* triangles = nullptr; // three vertex indices per triangle

private:
    void release();
};
