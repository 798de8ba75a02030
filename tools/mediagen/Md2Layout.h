// The MD2 file layout ("IDP2", version 8, little-endian), written from plain records: header,
// skins, texture coordinates, triangles, frames, GL commands, in that order, with the offsets
// and counts the records give. The generator encodes its models through it, and the tests
// craft their files with it, well-formed or not: every header field can be set or
// overwritten, so a test can make the file lie about itself.
#pragma once

#include <array>
#include <cstdint>
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
