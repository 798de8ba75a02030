// The physics side of the landscape: one triangle mesh per physics tile of the height map,
// in physics units (one physics-map sample is 1.0 wide), and the two scales that translate
// between height-map samples, physics space and graphics space.
#pragma once

#include <cstdint>

class HeightMap;

// Height-map sample to graphics units (gfxScale) and to physics units (dangerScale), per
// axis. Set by every tile build; the same values each time.
extern float gfxScale[3];
extern float dangerScale[3];

// The two scales for a height map of width map_w whose physics map is phys_map_w wide, with
// the terrain scale `pgmland` of the graphics.
void compute_terrain_scales(const float pgmland[3], int32_t map_w, uint32_t phys_map_w, float gfx[3],
                            float danger[3]);

// Physics units to graphics units: gfxScale / dangerScale per component.
void iface_scale(const float gfx[3], const float danger[3], float out[3]);

struct TerrainTileMesh {
    TerrainTileMesh() = default;
    ~TerrainTileMesh();
    TerrainTileMesh(const TerrainTileMesh&) = delete;
    TerrainTileMesh& operator=(const TerrainTileMesh&) = delete;

    // Fills the record from tile t of `map` (after create_tiles), with the terrain scale of
    // the graphics (pgmland_scale). Neighbouring tiles share their seam vertices; the map's
    // far x and z edges lie at height 0. The normals are the physics layer's to compute
    // (smooth_tile_normals).
    void build_tile_mesh(const HeightMap& map, uint32_t t);

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
