// A plain reader of MD2 files for the tests of the generated models: the header, every key
// frame decoded into the game's axes (file z up becomes y up), the triangles, texture
// coordinates and the GL command list. It checks every count and offset against the file
// size and says what is wrong instead of trusting the header.
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

struct Md2File {
    struct V3 {
        float x, y, z;
    };
    struct Tri {
        int v[3];
        int st[3];
    };
    struct Command { // one vertex record of a strip or fan
        float s, t;
        int vertex;
    };
    struct Run {
        bool fan;
        std::vector<Command> records;
    };

    int32_t header[17] = {0};
    int skin_w = 0, skin_h = 0, num_vertices = 0;
    std::vector<std::string> skins;
    std::vector<std::string> frame_names;
    std::vector<std::vector<uint8_t>> frame_bytes; // x, y, z per vertex as stored (z up)
    std::vector<std::vector<V3>> frames;           // decoded, game axes
    std::vector<std::pair<int, int>> texcoords;    // in texels
    std::vector<Tri> tris;
    std::vector<Run> runs; // empty in the triangle form
    size_t file_size = 0;

    // Empty on success, else what is wrong.
    std::string load(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return "cannot open " + path;
        std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return parse(b);
    }

    std::string parse(const std::vector<uint8_t>& b)
    {
        file_size = b.size();
        if (b.size() < 68)
            return "shorter than the header";
        for (int i = 0; i < 17; ++i)
            header[i] = i32(b, 4 * size_t(i));
        if (std::memcmp(b.data(), "IDP2", 4) != 0)
            return "identification is not IDP2";
        if (header[1] != 8)
            return "version is not 8";
        skin_w = header[2];
        skin_h = header[3];
        const int frame_size = header[4], num_skins = header[5], num_st = header[7], num_tris = header[8],
                  num_glcmds = header[9], num_frames = header[10];
        num_vertices = header[6];
        if (skin_w <= 0 || skin_h <= 0 || num_vertices <= 0 || num_tris <= 0 || num_frames <= 0 || num_st <= 0)
            return "a count is zero or negative";
        if (frame_size != 40 + 4 * num_vertices)
            return "frame size does not match the vertex count";
        if (!fits(header[11], num_skins, 64) || !fits(header[12], num_st, 4) || !fits(header[13], num_tris, 12) ||
            !fits(header[14], num_frames, frame_size) || !fits(header[15], num_glcmds, 4))
            return "a section lies outside the file";
        if (size_t(header[16]) != b.size())
            return "end offset is not the file size";
        for (int i = 0; i < num_skins; ++i) {
            const char* p = reinterpret_cast<const char*>(&b[size_t(header[11]) + 64 * size_t(i)]);
            skins.emplace_back(p, strnlen(p, 64));
        }
        for (int i = 0; i < num_st; ++i)
            texcoords.push_back({i16(b, size_t(header[12]) + 4 * size_t(i)), i16(b, size_t(header[12]) + 4 * size_t(i) + 2)});
        for (int i = 0; i < num_tris; ++i) {
            Tri t;
            for (int k = 0; k < 3; ++k) {
                t.v[k] = u16(b, size_t(header[13]) + 12 * size_t(i) + 2 * k);
                t.st[k] = u16(b, size_t(header[13]) + 12 * size_t(i) + 6 + 2 * k);
                if (t.v[k] >= num_vertices || t.st[k] >= num_st)
                    return "a triangle index is out of range";
            }
            tris.push_back(t);
        }
        for (int f = 0; f < num_frames; ++f) {
            size_t at = size_t(header[14]) + size_t(f) * frame_size;
            float sc[3], tr[3];
            for (int k = 0; k < 3; ++k) {
                sc[k] = f32(b, at + 4 * k);
                tr[k] = f32(b, at + 12 + 4 * k);
            }
            const char* name = reinterpret_cast<const char*>(&b[at + 24]);
            frame_names.emplace_back(name, strnlen(name, 16));
            std::vector<uint8_t> bytes;
            std::vector<V3> pos;
            for (int i = 0; i < num_vertices; ++i) {
                const uint8_t* v = &b[at + 40 + 4 * size_t(i)];
                bytes.insert(bytes.end(), v, v + 3);
                pos.push_back({v[0] * sc[0] + tr[0], v[2] * sc[2] + tr[2], v[1] * sc[1] + tr[1]});
            }
            frame_bytes.push_back(std::move(bytes));
            frames.push_back(std::move(pos));
        }
        if (num_glcmds >= 2) {
            size_t at = size_t(header[15]), end = at + 4 * size_t(num_glcmds);
            for (;;) {
                if (at + 4 > end)
                    return "the GL command list has no terminating zero";
                int32_t count = i32(b, at);
                at += 4;
                if (count == 0)
                    break;
                Run r;
                r.fan = count < 0;
                int n = count < 0 ? -count : count;
                if (n < 3 || at + 12 * size_t(n) > end)
                    return "a strip or fan runs past the command list";
                for (int i = 0; i < n; ++i, at += 12) {
                    Command c{f32(b, at), f32(b, at + 4), i32(b, at + 8)};
                    if (c.vertex < 0 || c.vertex >= num_vertices)
                        return "a GL command vertex is out of range";
                    r.records.push_back(c);
                }
                runs.push_back(std::move(r));
            }
            if (at != end)
                return "words follow the end of the GL command list";
        }
        return "";
    }

    // Cycles by the game's rule: a frame whose name does not begin with the current cycle
    // name starts a new cycle, named by its own name cut by two characters when the
    // second-to-last is '0', else by one.
    std::vector<std::pair<std::string, int>> cycles() const
    {
        std::vector<std::pair<std::string, int>> out;
        std::string current;
        for (const std::string& name : frame_names) {
            if (current.empty() || name.compare(0, current.size(), current) != 0) {
                size_t cut = name.size() >= 2 && name[name.size() - 2] == '0' ? 2 : 1;
                current = name.substr(0, name.size() >= cut ? name.size() - cut : 0);
                out.push_back({current, 1});
            } else {
                ++out.back().second;
            }
        }
        return out;
    }

private:
    bool fits(int64_t ofs, int64_t count, int64_t rec) const
    {
        return ofs >= 68 && count >= 0 && ofs + count * rec <= int64_t(file_size);
    }
    static int32_t i32(const std::vector<uint8_t>& b, size_t at)
    {
        return int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24);
    }
    static int u16(const std::vector<uint8_t>& b, size_t at) { return int(b[at]) | int(b[at + 1]) << 8; }
    static int i16(const std::vector<uint8_t>& b, size_t at) { return int(int16_t(uint16_t(u16(b, at)))); }
    static float f32(const std::vector<uint8_t>& b, size_t at)
    {
        uint32_t u = uint32_t(i32(b, at));
        float f;
        std::memcpy(&f, &u, 4);
        return f;
    }
};
