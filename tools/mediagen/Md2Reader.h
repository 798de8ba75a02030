// Reads back a written MD2 file for the contact sheet through the game's own reader, which
// checks every count and offset, and expands key frames and the drawing order (GL commands
// when the file has them, triangles otherwise) into plain textured triangles in the game's
// axes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Mesh.h"

struct Md2Data {
    int skin_w = 0, skin_h = 0;
    int num_vertices = 0;
    bool gl_commands = false;
    std::vector<std::string> frame_names;
    std::vector<std::vector<V3>> frames; // game axes (y up)
    // The triangles as drawn: position indices and normalised texture coordinates.
    struct Corner {
        int vertex;
        float s, t;
    };
    std::vector<Corner> corners; // three per triangle
};

// False (with the reason in *error) when the file is malformed.
bool parse_md2(const std::vector<uint8_t>& bytes, Md2Data* out, std::string* error);
bool read_md2(const std::string& path, Md2Data* out, std::string* error);
