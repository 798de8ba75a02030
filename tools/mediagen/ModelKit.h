// Shared pieces of the model and skin builders: the atlas grid of a skin, painting a region
// of it, and the deformations the scenery animations share.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Image.h"
#include "Mesh.h"

// Cell (col, row) of a cols x rows grid over a square skin of `size` texels, shrunk by
// `pad` texels on every side so that filtering does not bleed between neighbours. Cells may
// span several columns or rows.
Rect atlas_cell(int size, int cols, int rows, int col, int row, int col_span = 1, int row_span = 1, int pad = 6);

// Paints the texels of `r` (grown by `bleed` texels) with fn(u, v), u and v running 0..1
// across the rectangle (v = 0 at its top).
void paint(Image& img, const Rect& r, const std::function<Rgb(float u, float v)>& fn, int bleed = 4);

// Fractal noise in [0, 1] that tiles over the unit square with `cells` lattice cells.
float fur_noise(float u, float v, int cells, uint32_t seed);

// A skin to paint: every texel starts out marked unused.
Image blank_skin(int size);
// Fills the texels no region painted with the mean painted colour (so that the smaller
// mipmap levels do not darken the models' edges with unused atlas space), then lays a fine
// grain over everything, so that flat colours do not band.
void finish_skin(Image& img, float grain, uint32_t seed);

// A skin image and where it goes.
struct SkinFile {
    std::string path; // relative to the game directory
    Image image;
};

// The scenery sway: a vertex at height y above the base bends by (y / height)^2 of the
// amplitude, swinging along `dir` with the phase.
V3 sway(const V3& p, float height, float amp_x, float amp_z, float phase, float periods = 1);
