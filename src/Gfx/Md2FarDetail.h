// The coarse triangle list a model is drawn with once it covers only a few pixels of the
// image. A far tree of 300 triangles fills a dozen pixels; the rasteriser still sets up and
// shades a block of pixels for every one of its triangles, so the forest seen from above cost
// as much as the ground under it. The coarse list keeps the model's own vertices (and so its
// animation and vertex buffer): vertices that lie close together in the model and on the skin
// are merged into one, and the triangles that merging flattens are dropped.
#pragma once

#include <cstdint>
#include <vector>

// Cells per axis of the model's 0-255 compressed space, and per axis of the skin, that the
// coarse list merges vertices within.
constexpr int kMd2FarSpaceCells = 4;
constexpr int kMd2FarSkinCells = 2;

// The coarse list of `triangles` (three render-vertex indices each). `positions` holds the
// compressed x, z, y of every render vertex (three bytes each) and `texcoords` its s, t.
// The vertices of one cell of space and skin are all replaced by the one nearest to their
// mean; triangles with two corners in one cell are dropped, and each remaining triangle is
// kept once, in its own winding. Indices beyond the given vertices, or no cells, leave the
// list as it is.
std::vector<uint16_t> md2_far_triangles(const std::vector<uint16_t>& triangles, const std::vector<uint8_t>& positions,
                                        const std::vector<float>& texcoords, int space_cells = kMd2FarSpaceCells,
                                        int skin_cells = kMd2FarSkinCells);

// The image height, in pixels, that one world unit at unit distance from the eye covers:
// half the image's height over the tangent of half the vertical field of view.
float md2_focal_pixels(int image_height, float tan_half_fov);

// Below this radius on the image a model is drawn with its coarse list.
constexpr float kMd2FarRadiusPixels = 5.0f;

// Whether a model of bounding radius `radius` at `distance` from the eye is drawn coarse.
// An eye inside the radius, a model not posed yet (no radius) or no focal length (no image
// yet) always draws the full model.
bool md2_draw_far(float radius, float distance, float focal_pixels, float limit_pixels = kMd2FarRadiusPixels);
