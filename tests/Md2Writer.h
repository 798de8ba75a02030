// Writes small MD2 files for tests: frames, triangles, texture coordinates, skins and a GL
// command list, laid out as header, skins, texture coordinates, triangles, frames, commands.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

struct Md2WriterFrame {
    std::string name;             // up to 16 bytes are written; longer names are cut
    float scale[3] = {1, 1, 1};
    float translate[3] = {0, 0, 0};
    std::vector<std::array<uint8_t, 3>> vertices; // file axes: x, y, z (z up)
};

struct Md2GlCommandVertex {
    float s, t;
    int32_t vertex;
};

class Md2Writer {
public:
    int32_t version = 8;
    int32_t skin_width = 64, skin_height = 64;
    std::vector<std::string> skins;
    std::vector<std::array<int16_t, 2>> texcoords;
    std::vector<std::array<uint16_t, 6>> triangles; // three vertex, then three texcoord indices
    std::vector<Md2WriterFrame> frames;
    std::vector<uint32_t> glcmds; // raw words
    int num_vertices = -1;        // -1: the vertex count of the first frame

    void add_triangle(uint16_t a, uint16_t b, uint16_t c, uint16_t ta, uint16_t tb, uint16_t tc)
    {
        triangles.push_back({a, b, c, ta, tb, tc});
    }

    // A strip (or fan) of the GL command list.
    void add_gl_strip(const std::vector<Md2GlCommandVertex>& vertices, bool fan)
    {
        int32_t count = int32_t(vertices.size()) * (fan ? -1 : 1);
        glcmds.push_back(uint32_t(count));
        for (const Md2GlCommandVertex& v : vertices) {
            glcmds.push_back(bits(v.s));
            glcmds.push_back(bits(v.t));
            glcmds.push_back(uint32_t(v.vertex));
        }
    }
    void end_gl_commands() { glcmds.push_back(0); }

    Md2WriterFrame& add_frame(const std::string& name, const std::vector<std::array<uint8_t, 3>>& vertices)
    {
        frames.push_back({});
        frames.back().name = name;
        frames.back().vertices = vertices;
        return frames.back();
    }

    int vertex_count() const
    {
        if (num_vertices >= 0) return num_vertices;
        return frames.empty() ? 0 : int(frames[0].vertices.size());
    }
    int frame_size() const { return 40 + 4 * vertex_count(); }

    std::string bytes() const
    {
        const int32_t nv = vertex_count();
        const int32_t ofs_skins = 68;
        const int32_t ofs_st = ofs_skins + 64 * int32_t(skins.size());
        const int32_t ofs_tris = ofs_st + 4 * int32_t(texcoords.size());
        const int32_t ofs_frames = ofs_tris + 12 * int32_t(triangles.size());
        const int32_t ofs_glcmds = ofs_frames + frame_size() * int32_t(frames.size());
        const int32_t ofs_end = ofs_glcmds + 4 * int32_t(glcmds.size());
        std::string out;
        out += "IDP2";
        for (int32_t v : {version, skin_width, skin_height, frame_size(), int32_t(skins.size()), nv,
                          int32_t(texcoords.size()), int32_t(triangles.size()), int32_t(glcmds.size()),
                          int32_t(frames.size()), ofs_skins, ofs_st, ofs_tris, ofs_frames, ofs_glcmds, ofs_end})
            put(out, v);
        for (const std::string& s : skins) {
            std::string rec = s.substr(0, 63);
            rec.resize(64, '\0');
            out += rec;
        }
        for (const auto& st : texcoords) {
            put(out, st[0]);
            put(out, st[1]);
        }
        for (const auto& t : triangles)
            for (uint16_t v : t) put(out, v);
        for (const Md2WriterFrame& f : frames) {
            for (float v : f.scale) put(out, v);
            for (float v : f.translate) put(out, v);
            std::string name = f.name.substr(0, 16);
            name.resize(16, '\0');
            out += name;
            for (int i = 0; i < nv; ++i) {
                std::array<uint8_t, 3> v = i < int(f.vertices.size()) ? f.vertices[size_t(i)] : std::array<uint8_t, 3>{0, 0, 0};
                out.push_back(char(v[0]));
                out.push_back(char(v[1]));
                out.push_back(char(v[2]));
                out.push_back(0);
            }
        }
        for (uint32_t w : glcmds) put(out, w);
        return out;
    }

    static uint32_t bits(float f)
    {
        uint32_t u;
        std::memcpy(&u, &f, 4);
        return u;
    }

    // Overwrites header field `index` (0 = identification, 1 = version, ... 16 = end offset).
    static void set_header_field(std::string& file, int index, int32_t value)
    {
        std::memcpy(&file[size_t(4 * index)], &value, 4);
    }
    static int32_t header_field(const std::string& file, int index)
    {
        int32_t v;
        std::memcpy(&v, &file[size_t(4 * index)], 4);
        return v;
    }

private:
    template <typename T>
    static void put(std::string& out, T v)
    {
        char b[sizeof v];
        std::memcpy(b, &v, sizeof v);
        out.append(b, sizeof v);
    }
};

// Header field numbers.
enum Md2Field {
    kIdent, kVersion, kSkinWidth, kSkinHeight, kFrameSize, kNumSkins, kNumVertices, kNumTexcoords,
    kNumTris, kNumGlcmds, kNumFrames, kOfsSkins, kOfsTexcoords, kOfsTris, kOfsFrames, kOfsGlcmds, kOfsEnd
};

// A closed test solid in the game's y-up axes: a six-sided double pyramid (octahedron) around
// the centre of the 0-255 box, wound counter-clockwise seen from outside. `frames` key frames,
// named name01, name02, ...; frame k is scaled by (1 + k) along the file's x so that poses
// between frames are recognisable. Texture coordinates map the solid's x and height to the
// whole skin. The command form lists the eight faces as strips of three, or with `fans` as
// two fans of six around the top and the bottom corner.
inline Md2Writer md2_octahedron(const std::string& name, int frames, bool command_form, bool fans = false)
{
    Md2Writer w;
    w.skins.push_back(name + ".bmp");
    // Game axes (x, y up, z) of the six corners; the file stores (x, z, y).
    const int game[6][3] = {{255, 128, 128}, {0, 128, 128}, {128, 255, 128}, {128, 0, 128}, {128, 128, 255}, {128, 128, 0}};
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
    for (const auto& f : faces) w.add_triangle(uint16_t(f[0]), uint16_t(f[1]), uint16_t(f[2]), uint16_t(f[0]), uint16_t(f[1]), uint16_t(f[2]));
    auto gl_vertex = [&](int c) {
        return Md2GlCommandVertex{float(game[c][0]) / 255.0f, 1.0f - float(game[c][1]) / 255.0f, c};
    };
    if (command_form && fans) {
        for (const auto& fan : {std::vector<int>{2, 4, 0, 5, 1, 4}, std::vector<int>{3, 0, 4, 1, 5, 0}}) {
            std::vector<Md2GlCommandVertex> v;
            for (int c : fan) v.push_back(gl_vertex(c));
            w.add_gl_strip(v, true);
        }
        w.end_gl_commands();
    } else if (command_form) {
        for (const auto& f : faces) {
            std::vector<Md2GlCommandVertex> strip;
            for (int c : f) strip.push_back(gl_vertex(c));
            w.add_gl_strip(strip, false);
        }
        w.end_gl_commands();
    }
    return w;
}
