#include "Md2Reader.h"

#include <cstdio>
#include <cstring>

namespace {

int32_t get_i32(const std::vector<uint8_t>& b, size_t at)
{
    uint32_t u = uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
    return int32_t(u);
}
int get_u16(const std::vector<uint8_t>& b, size_t at) { return int(b[at]) | int(b[at + 1]) << 8; }
int get_i16(const std::vector<uint8_t>& b, size_t at) { return int(int16_t(uint16_t(get_u16(b, at)))); }
float get_f32(const std::vector<uint8_t>& b, size_t at)
{
    uint32_t u = uint32_t(get_i32(b, at));
    float f;
    std::memcpy(&f, &u, 4);
    return f;
}

bool inside(size_t size, int64_t ofs, int64_t count, int64_t rec)
{
    return ofs >= 0 && count >= 0 && rec >= 0 && ofs + count * rec <= int64_t(size);
}

} // namespace

bool parse_md2(const std::vector<uint8_t>& b, Md2Data* out, std::string* error)
{
    auto fail = [&](const char* why) {
        if (error)
            *error = why;
        return false;
    };
    if (b.size() < 68 || std::memcmp(b.data(), "IDP2", 4) != 0 || get_i32(b, 4) != 8)
        return fail("not an MD2 file of version 8");
    int32_t h[15];
    for (int i = 0; i < 15; ++i)
        h[i] = get_i32(b, 8 + 4 * i);
    const int skin_w = h[0], skin_h = h[1], frame_size = h[2], num_skins = h[3], num_xyz = h[4], num_st = h[5],
              num_tris = h[6], num_glcmds = h[7], num_frames = h[8], ofs_skins = h[9], ofs_st = h[10],
              ofs_tris = h[11], ofs_frames = h[12], ofs_glcmds = h[13];
    if (skin_w <= 0 || skin_h <= 0)
        return fail("bad skin size");
    if (num_xyz <= 0 || num_frames <= 0 || num_tris <= 0)
        return fail("empty model");
    if (frame_size < 40 + 4 * num_xyz)
        return fail("frame size too small");
    if (!inside(b.size(), ofs_skins, num_skins, 64) || !inside(b.size(), ofs_st, num_st, 4) ||
        !inside(b.size(), ofs_tris, num_tris, 12) || !inside(b.size(), ofs_frames, num_frames, frame_size) ||
        !inside(b.size(), ofs_glcmds, num_glcmds, 4))
        return fail("a section lies outside the file");

    out->skin_w = skin_w;
    out->skin_h = skin_h;
    out->num_vertices = num_xyz;
    out->frames.clear();
    out->frame_names.clear();
    for (int f = 0; f < num_frames; ++f) {
        size_t at = size_t(ofs_frames) + size_t(f) * frame_size;
        float sc[3], tr[3];
        for (int k = 0; k < 3; ++k) {
            sc[k] = get_f32(b, at + 4 * k);
            tr[k] = get_f32(b, at + 12 + 4 * k);
        }
        char name[17] = {0};
        std::memcpy(name, &b[at + 24], 16);
        out->frame_names.push_back(name);
        std::vector<V3> pos(num_xyz);
        for (int i = 0; i < num_xyz; ++i) {
            const uint8_t* v = &b[at + 40 + 4 * size_t(i)];
            float fx = v[0] * sc[0] + tr[0], fy = v[1] * sc[1] + tr[1], fz = v[2] * sc[2] + tr[2];
            pos[i] = V3(fx, fz, fy); // z up in the file, y up in the game
        }
        out->frames.push_back(std::move(pos));
    }

    out->corners.clear();
    out->gl_commands = num_glcmds >= 2;
    if (out->gl_commands) {
        size_t at = size_t(ofs_glcmds), end = at + 4 * size_t(num_glcmds);
        for (;;) {
            if (at + 4 > end)
                return fail("GL command list runs past its end");
            int count = get_i32(b, at);
            at += 4;
            if (count == 0)
                break;
            bool fan = count < 0;
            int n = fan ? -count : count;
            if (n < 3 || at + size_t(n) * 12 > end)
                return fail("bad GL command count");
            std::vector<Md2Data::Corner> run(n);
            for (int i = 0; i < n; ++i) {
                run[i].s = get_f32(b, at);
                run[i].t = get_f32(b, at + 4);
                run[i].vertex = get_i32(b, at + 8);
                if (run[i].vertex < 0 || run[i].vertex >= num_xyz)
                    return fail("GL command vertex out of range");
                at += 12;
            }
            for (int i = 0; i + 2 < n; ++i) {
                if (fan) {
                    out->corners.push_back(run[0]);
                    out->corners.push_back(run[i + 1]);
                    out->corners.push_back(run[i + 2]);
                } else if (i % 2 == 0) {
                    out->corners.push_back(run[i]);
                    out->corners.push_back(run[i + 1]);
                    out->corners.push_back(run[i + 2]);
                } else {
                    out->corners.push_back(run[i + 1]);
                    out->corners.push_back(run[i]);
                    out->corners.push_back(run[i + 2]);
                }
            }
        }
    } else {
        for (int t = 0; t < num_tris; ++t) {
            size_t at = size_t(ofs_tris) + 12 * size_t(t);
            for (int k = 0; k < 3; ++k) {
                int v = get_u16(b, at + 2 * k), st = get_u16(b, at + 6 + 2 * k);
                if (v >= num_xyz || st >= num_st)
                    return fail("triangle index out of range");
                Md2Data::Corner c;
                c.vertex = v;
                c.s = float(get_i16(b, size_t(ofs_st) + 4 * st)) / skin_w;
                c.t = float(get_i16(b, size_t(ofs_st) + 4 * st + 2)) / skin_h;
                out->corners.push_back(c);
            }
        }
    }
    return true;
}

bool read_md2(const std::string& path, Md2Data* out, std::string* error)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        if (error)
            *error = "cannot open " + path;
        return false;
    }
    std::vector<uint8_t> bytes;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    return parse_md2(bytes, out, error);
}
