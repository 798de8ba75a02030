// Writes models as MD2 files ("IDP2", version 8, little-endian): z-up byte-compressed key
// frames, texture coordinates in texels, triangles, and optionally GL commands (triangle
// strips and fans with normalised coordinates).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Gfx/Md2ModelData.h" // the game loader's limits, which every model must meet
#include "Mesh.h"

struct Md2Stats {
    int vertices = 0;
    int triangles = 0;
    int frames = 0;
    int cycles = 0;
    int texcoords = 0;
    int render_vertices = 0;
    int gl_words = 0; // 0 for a model in the triangle form
    int strips = 0;
    int fans = 0;
    int degenerate = 0; // triangles of zero area after compression, over all frames
    size_t bytes = 0;
};

// One strip or fan of the GL command list: corner ids into the model's corners.
struct Md2Run {
    bool fan = false;
    std::vector<int> corners;
};

// Splits triangles (given as corner-id triples, counter-clockwise) into strips and fans that
// draw exactly the same triangles with the same winding.
std::vector<Md2Run> stripify(const std::vector<int>& tri_corners);

// Encodes the model; an empty result (with a message on stderr) when a limit is exceeded.
std::vector<uint8_t> encode_md2(const Model& m, Md2Stats* stats);

class Output;

// Encodes and writes the model at m.path in the game directory; false on failure.
bool write_md2(Output& out, const Model& m, Md2Stats* stats);
