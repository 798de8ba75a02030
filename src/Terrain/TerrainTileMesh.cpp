#include "Terrain/TerrainTileMesh.h"

#include "Common/Platform.h"
#include "Terrain/HeightMap.h"
#include "Terrain/TerrainScale.h"

#include <cstdio>

TerrainTileMesh::~TerrainTileMesh()
{
    release();
}

void TerrainTileMesh::release()
{
    delete[] vertices;
    delete[] colours;
    delete[] normals;
    delete[] triangles;
    vertices = colours = normals = nullptr;
    triangles = nullptr;
    side = vertex_count = triangle_count = 0;
}

void TerrainTileMesh::build_tile_mesh(const HeightMap& map, uint32_t t, const TerrainScale& scale)
{
    const uint32_t ts = map.phys_ts;
    DEBUG_ASSERT(ts >= 1 && map.phys_map_w >= ts && t < map.tile_cnt, "hmap.phys_ts >= 1", "src\\Terrain\\TerrainTileMesh");
    const uint32_t s = ts + 1;
    const uint32_t tiles_per_row = map.phys_map_w / ts;
    const uint32_t col = t % tiles_per_row, row = t / tiles_per_row;

    const float* dangerScale = scale.danger;
    const float* gfxScale = scale.gfx;
    const float* iface = scale.iface;
    std::printf("\n");
    std::printf("\t INIT FROM TILE %d\n", t);
    std::printf("dangerScale = %f %f %f\n", dangerScale[0], dangerScale[1], dangerScale[2]);
    std::printf("gfxScale = %f %f %f\n", gfxScale[0], gfxScale[1], gfxScale[2]);
    std::printf("iface scale = %f %f %f\n", iface[0], iface[1], iface[2]);
    std::printf("\n");
    std::printf("hmap->phys_ts = %u\n", ts);

    release();
    side = s;
    vertex_count = s * s;
    triangle_count = 2 * ts * ts;
    vertices = new float[static_cast<size_t>(vertex_count) * 3];

    // The seams take the first row or column of the neighbour to the right and below, so
    // neighbouring meshes meet exactly. Where there is no such tile (the map's far edges,
    // or a strip left over when the map is not a multiple of the tile) the seam lies at 0.
    const bool has_right = col + 1 < tiles_per_row;
    const bool has_below = t + tiles_per_row < map.tile_cnt;
    const bool has_corner = has_right && has_below;
    const uint16_t* tile = map.tiles[t];
    for (uint32_t j = 0; j < s; ++j) {
        for (uint32_t i = 0; i < s; ++i) {
            uint16_t h;
            if (i < ts && j < ts)
                h = tile[j * ts + i];
            else if (j < ts)
                h = has_right ? map.tiles[t + 1][j * ts] : 0;
            else if (i < ts)
                h = has_below ? map.tiles[t + tiles_per_row][i] : 0;
            else
                h = has_corner ? map.tiles[t + tiles_per_row + 1][0] : 0;
            float* v = vertices + (static_cast<size_t>(j) * s + i) * 3;
            v[0] = (static_cast<float>(col * ts + i) + 0.5f) * dangerScale[0];
            v[1] = dangerScale[1] * static_cast<float>(h);
            v[2] = (static_cast<float>(row * ts + j) + 0.5f) * dangerScale[2];
        }
    }
    std::printf("Init terrain vertices done ... for TILE %d\n", t);

    colours = new float[static_cast<size_t>(vertex_count) * 3];
    for (uint32_t k = 0; k < vertex_count; ++k) {
        colours[k * 3 + 0] = 0.5f;
        colours[k * 3 + 1] = 0.4f;
        colours[k * 3 + 2] = 0.2f;
    }
    std::printf("Init terrain colors done ...\n");

    triangles = new uint32_t[static_cast<size_t>(triangle_count) * 3];
    uint32_t* out = triangles;
    for (uint32_t j = 0; j + 1 < s; ++j) {
        for (uint32_t i = 0; i + 1 < s; ++i) {
            const uint32_t a = j * s + i, b = (j + 1) * s + i, c = (j + 1) * s + i + 1, d = j * s + i + 1;
            *out++ = a, *out++ = b, *out++ = c;
            *out++ = a, *out++ = c, *out++ = d;
        }
    }
    std::printf("Init terrain faces done ...\n");
}
