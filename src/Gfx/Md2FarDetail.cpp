#include "Gfx/Md2FarDetail.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

namespace {

struct Cell {
    float sum[3] = {0, 0, 0};
    int count = 0;
    float best_distance = 1e30f;
    uint16_t best = 0;
};

int cell_of(float v, int cells) { return std::min(cells - 1, std::max(0, int(std::floor(v * float(cells))))); }

// The cell of render vertex v, in space and on the skin, as one number.
uint64_t cell_key(const std::vector<uint8_t>& positions, const std::vector<float>& texcoords, size_t v,
                  int space_cells, int skin_cells)
{
    uint64_t key = 0;
    for (int axis = 0; axis < 3; ++axis)
        key = key * uint64_t(space_cells) + uint64_t(cell_of(positions[3 * v + axis] / 256.0f, space_cells));
    for (int axis = 0; axis < 2; ++axis)
        key = key * uint64_t(skin_cells) + uint64_t(cell_of(texcoords[2 * v + axis], skin_cells));
    return key;
}

// One key for a triangle and its turned copies (b, c, a and c, a, b), not for its mirror.
uint64_t triangle_key(uint16_t a, uint16_t b, uint16_t c)
{
    while (a > b || a > c) {
        const uint16_t t = a;
        a = b;
        b = c;
        c = t;
    }
    return uint64_t(a) << 32 | uint64_t(b) << 16 | c;
}

} // namespace

std::vector<uint16_t> md2_far_triangles(const std::vector<uint16_t>& triangles, const std::vector<uint8_t>& positions,
                                        const std::vector<float>& texcoords, int space_cells, int skin_cells)
{
    const size_t vertices = std::min(positions.size() / 3, texcoords.size() / 2);
    const bool indices_fit = std::all_of(triangles.begin(), triangles.end(), [&](uint16_t i) { return i < vertices; });
    if (!indices_fit || space_cells < 1 || skin_cells < 1) return triangles;

    // Each cell is stood for by its vertex nearest to the mean of the cell's vertices, so that
    // the coarse shape neither shrinks toward one corner of a cell nor swells.
    std::vector<uint64_t> key(vertices);
    std::unordered_map<uint64_t, Cell> cells;
    for (size_t v = 0; v < vertices; ++v) {
        key[v] = cell_key(positions, texcoords, v, space_cells, skin_cells);
        Cell& c = cells[key[v]];
        for (int axis = 0; axis < 3; ++axis) c.sum[axis] += positions[3 * v + axis];
        ++c.count;
    }
    for (size_t v = 0; v < vertices; ++v) {
        Cell& c = cells[key[v]];
        float d = 0;
        for (int axis = 0; axis < 3; ++axis) {
            const float off = float(positions[3 * v + axis]) - c.sum[axis] / float(c.count);
            d += off * off;
        }
        if (d < c.best_distance) {
            c.best_distance = d;
            c.best = uint16_t(v);
        }
    }
    std::vector<uint16_t> stands_for(vertices);
    for (size_t v = 0; v < vertices; ++v) stands_for[v] = cells[key[v]].best;

    std::vector<uint16_t> coarse;
    std::unordered_set<uint64_t> kept;
    for (size_t t = 0; t + 2 < triangles.size(); t += 3) {
        const uint16_t a = stands_for[triangles[t]], b = stands_for[triangles[t + 1]], c = stands_for[triangles[t + 2]];
        if (a == b || b == c || a == c) continue;
        if (!kept.insert(triangle_key(a, b, c)).second) continue;
        coarse.insert(coarse.end(), {a, b, c});
    }
    return coarse;
}

float md2_focal_pixels(int image_height, float tan_half_fov)
{
    if (image_height <= 0 || !(tan_half_fov > 0)) return 0;
    return 0.5f * float(image_height) / tan_half_fov;
}

bool md2_draw_far(float radius, float distance, float focal_pixels, float limit_pixels)
{
    if (!(focal_pixels > 0) || !(radius > 0) || !(distance > radius)) return false;
    return radius * focal_pixels < limit_pixels * distance;
}
