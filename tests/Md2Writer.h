// The tests write MD2 files with the generator's own layout writer, most of them this solid.
#pragma once

#include "../tools/mediagen/Md2Layout.h"

#include <cstdio>
#include <string>
#include <vector>

// An octahedron around the centre of the 0-255 box, wound counter-clockwise seen from outside,
// with key frames name01, name02, ...; frame k is scaled by (1 + k) along the file's x, so poses
// between frames are recognisable. The command form lists the faces as strips of three, or
// with `fans` as two fans of six around the top and the bottom corner.
inline Md2Writer md2_octahedron(const std::string& name, int frames, bool command_form, bool fans = false)
{
    Md2Writer w;
    w.skins.push_back(name + ".bmp");
    // Game axes (x, y up, z) of the six corners; the file stores (x, z, y).
    const int game[6][3] = {{255, 128, 128}, {0, 128, 128}, {128, 255, 128},
                            {128, 0, 128},   {128, 128, 255}, {128, 128, 0}};
    // Faces as corners, counter-clockwise seen from outside in game axes.
    const int faces[8][3] = {{0, 2, 4}, {4, 2, 1}, {1, 2, 5}, {5, 2, 0}, {4, 3, 0}, {1, 3, 4}, {5, 3, 1}, {0, 3, 5}};
    for (int f = 0; f < frames; ++f) {
        std::vector<std::array<uint8_t, 3>> v;
        for (const auto& g : game) v.push_back({uint8_t(g[0]), uint8_t(g[2]), uint8_t(g[1])});
        char n[16];
        std::snprintf(n, sizeof n, "%02d", f + 1);
        Md2WriterFrame& fr = w.add_frame(name + n, v);
        fr.scale[0] = 1.0f + float(f);
        fr.translate[0] = -128.0f * fr.scale[0];
        fr.translate[1] = -128.0f;
        fr.translate[2] = -128.0f;
    }
    for (int i = 0; i < 6; ++i) w.texcoords.push_back({int16_t(game[i][0] / 4), int16_t(64 - game[i][1] / 4)});
    for (const auto& f : faces) {
        const uint16_t a = uint16_t(f[0]), b = uint16_t(f[1]), c = uint16_t(f[2]);
        w.add_triangle(a, b, c, a, b, c);
    }
    if (!command_form) return w;
    std::vector<std::vector<int>> runs;
    if (fans)
        runs = {{2, 4, 0, 5, 1, 4}, {3, 0, 4, 1, 5, 0}};
    else
        for (const auto& f : faces) runs.push_back({f[0], f[1], f[2]});
    for (const auto& run : runs) {
        std::vector<Md2GlCommandVertex> v;
        for (int c : run) v.push_back({float(game[c][0]) / 255.0f, 1.0f - float(game[c][1]) / 255.0f, c});
        w.add_gl_strip(v, fans);
    }
    w.end_gl_commands();
    return w;
}
