// The small image the race overlay cuts its marks from: a ring (the crystal marker), a disc, a
// diamond, an arrow, a square and a solid cell, side by side in cells of 32 x 32 pixels. Each
// shape is white with a dark rim and soft edges, so that one vertex colour tints it and it stays
// legible over bright sky and dark water alike. Made once at start-up.
#pragma once

#include <cstdint>
#include <vector>

enum AtlasShape { ATLAS_RING, ATLAS_DISC, ATLAS_DIAMOND, ATLAS_ARROW, ATLAS_SQUARE, ATLAS_SOLID, ATLAS_SHAPES };

constexpr int kAtlasCell = 32;
constexpr int kAtlasWidth = 256; // room for eight cells; the six shapes fill the first six
constexpr int kAtlasHeight = kAtlasCell;

// The texture coordinates of a shape's cell: s0..s1 left to right, t0..t1 along the image rows.
struct AtlasCell {
    float s0, t0, s1, t1;
};
AtlasCell atlas_cell(AtlasShape shape);

// The whole atlas, RGBA, row 0 first, kAtlasWidth x kAtlasHeight.
void overlay_atlas_image(std::vector<uint8_t>& rgba);

// How a shape covers a point (u, v) of its cell, both -1 to 1 across it: the signed distance
// to its outline in the same units, negative inside. The arrow points along +u.
float atlas_shape_distance(AtlasShape shape, float u, float v);
