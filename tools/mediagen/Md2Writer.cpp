#include "Md2Writer.h"

#include "Output.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <unordered_map>

namespace {

void put_i32(std::vector<uint8_t>& b, int32_t v)
{
    uint32_t u = uint32_t(v);
    for (int i = 0; i < 4; ++i)
        b.push_back(uint8_t(u >> (8 * i)));
}
void put_i16(std::vector<uint8_t>& b, int v)
{
    uint16_t u = uint16_t(int16_t(v));
    b.push_back(uint8_t(u));
    b.push_back(uint8_t(u >> 8));
}
void put_f32(std::vector<uint8_t>& b, float f)
{
    uint32_t u;
    std::memcpy(&u, &f, 4);
    put_i32(b, int32_t(u));
}
void put_name(std::vector<uint8_t>& b, const std::string& s, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        b.push_back(i < s.size() && i + 1 < size ? uint8_t(s[i]) : 0);
}
void set_i32(std::vector<uint8_t>& b, size_t at, int32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = uint8_t(uint32_t(v) >> (8 * i));
}

// File axes: z up. The game swaps the second and third components back.
V3 to_file(const V3& g) { return {g.x, g.z, g.y}; }

uint64_t edge_key(int a, int b) { return (uint64_t(uint32_t(a)) << 32) | uint32_t(b); }

struct EdgeIndex {
    const std::vector<int>& tc;
    std::unordered_map<uint64_t, std::vector<int>> by_edge;

    explicit EdgeIndex(const std::vector<int>& t) : tc(t)
    {
        for (int i = 0; i * 3 < int(tc.size()); ++i)
            for (int k = 0; k < 3; ++k)
                by_edge[edge_key(tc[i * 3 + k], tc[i * 3 + (k + 1) % 3])].push_back(i);
    }
    // An unused triangle holding the directed edge a->b, with its third corner.
    int find(int a, int b, const std::vector<char>& used, const std::vector<int>& taken, int* third) const
    {
        auto it = by_edge.find(edge_key(a, b));
        if (it == by_edge.end())
            return -1;
        for (int t : it->second) {
            if (used[t] || std::find(taken.begin(), taken.end(), t) != taken.end())
                continue;
            for (int k = 0; k < 3; ++k)
                if (tc[t * 3 + k] == a && tc[t * 3 + (k + 1) % 3] == b) {
                    *third = tc[t * 3 + (k + 2) % 3];
                    return t;
                }
        }
        return -1;
    }
};

// Grows a strip or a fan from triangle t rotated by r; returns the triangles it takes.
std::vector<int> grow(const EdgeIndex& ix, const std::vector<char>& used, int t, int r, bool fan, Md2Run* run)
{
    const std::vector<int>& tc = ix.tc;
    run->fan = fan;
    run->corners = {tc[t * 3 + r], tc[t * 3 + (r + 1) % 3], tc[t * 3 + (r + 2) % 3]};
    std::vector<int> taken = {t};
    for (;;) {
        std::vector<int>& s = run->corners;
        int third = -1, next;
        if (fan) {
            next = ix.find(s[0], s.back(), used, taken, &third);
        } else {
            size_t j = s.size() - 2;
            next = (j % 2 == 0) ? ix.find(s[j], s[j + 1], used, taken, &third)
                                : ix.find(s[j + 1], s[j], used, taken, &third);
        }
        if (next < 0)
            break;
        taken.push_back(next);
        s.push_back(third);
    }
    return taken;
}

} // namespace

std::vector<Md2Run> stripify(const std::vector<int>& tri_corners)
{
    EdgeIndex ix(tri_corners);
    const int n = int(tri_corners.size() / 3);
    std::vector<char> used(n, 0);
    std::vector<Md2Run> runs;
    for (int t = 0; t < n; ++t) {
        if (used[t])
            continue;
        Md2Run best;
        std::vector<int> best_taken;
        for (int fan = 0; fan < 2; ++fan)
            for (int r = 0; r < 3; ++r) {
                Md2Run run;
                std::vector<int> taken = grow(ix, used, t, r, fan != 0, &run);
                if (taken.size() > best_taken.size()) {
                    best = run;
                    best_taken = taken;
                }
            }
        for (int k : best_taken)
            used[k] = 1;
        runs.push_back(best);
    }
    return runs;
}

std::vector<uint8_t> encode_md2(const Model& m, Md2Stats* stats)
{
    const Mesh& mesh = m.mesh;
    const int nv = int(mesh.pos.size());
    std::vector<KeyFrame> frames = build_frames(m);
    if (nv == 0 || frames.empty()) {
        std::fprintf(stderr, "mediagen: %s has no geometry\n", m.path.c_str());
        return {};
    }
    if (nv > kMd2MaxVertices) {
        std::fprintf(stderr, "mediagen: %s has %d vertices per frame (limit %d)\n", m.path.c_str(), nv,
                     kMd2MaxVertices);
        return {};
    }
    for (const Cycle& c : m.cycles)
        if (c.frames < 1 || c.frames > 99 || c.name.size() > 13) {
            std::fprintf(stderr, "mediagen: %s: bad cycle %s\n", m.path.c_str(), c.name.c_str());
            return {};
        }

    // Texture coordinates in whole texels, shared between equal values.
    std::map<std::pair<int, int>, int> tc_index;
    std::vector<std::pair<int, int>> texels;
    std::vector<int> uv_to_tc(mesh.uv.size());
    for (size_t i = 0; i < mesh.uv.size(); ++i) {
        int s = int(std::lround(mesh.uv[i].u * m.skin_w)), t = int(std::lround(mesh.uv[i].v * m.skin_h));
        s = std::clamp(s, 0, m.skin_w);
        t = std::clamp(t, 0, m.skin_h);
        auto key = std::make_pair(s, t);
        auto it = tc_index.find(key);
        if (it == tc_index.end()) {
            it = tc_index.emplace(key, int(texels.size())).first;
            texels.push_back(key);
        }
        uv_to_tc[i] = it->second;
    }

    // Corners: distinct (position, texture coordinate) pairs, the game's render vertices.
    std::map<std::pair<int, int>, int> corner_index;
    std::vector<std::pair<int, int>> corners;
    std::vector<int> tri_corners;
    for (const Mesh::Tri& t : mesh.tris)
        for (int k = 0; k < 3; ++k) {
            auto key = std::make_pair(t.v[k], uv_to_tc[t.t[k]]);
            auto it = corner_index.find(key);
            if (it == corner_index.end()) {
                it = corner_index.emplace(key, int(corners.size())).first;
                corners.push_back(key);
            }
            tri_corners.push_back(it->second);
        }
    if (int(corners.size()) > kMd2MaxRenderVertices) {
        std::fprintf(stderr, "mediagen: %s has %zu render vertices (limit %d)\n", m.path.c_str(), corners.size(),
                     kMd2MaxRenderVertices);
        return {};
    }

    // One compression box for all frames, so parts that do not move stay exactly still.
    V3 lo(1e30f, 1e30f, 1e30f), hi(-1e30f, -1e30f, -1e30f);
    for (const KeyFrame& f : frames)
        for (const V3& g : f.pos) {
            V3 p = to_file(g);
            lo = V3(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
            hi = V3(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
        }
    V3 scale((hi.x - lo.x) / 255.0f, (hi.y - lo.y) / 255.0f, (hi.z - lo.z) / 255.0f);
    scale = V3(std::max(scale.x, 1e-6f), std::max(scale.y, 1e-6f), std::max(scale.z, 1e-6f));

    std::vector<Md2Run> runs;
    if (m.gl_commands)
        runs = stripify(tri_corners);

    const int frame_size = 40 + 4 * nv;
    std::vector<uint8_t> b;
    for (char c : {'I', 'D', 'P', '2'})
        b.push_back(uint8_t(c));
    put_i32(b, 8);
    for (int i = 0; i < 15; ++i)
        put_i32(b, 0); // filled in below
    const size_t ofs_skins = b.size();
    put_name(b, m.skin, 64);
    const size_t ofs_st = b.size();
    for (auto& st : texels) {
        put_i16(b, st.first);
        put_i16(b, st.second);
    }
    const size_t ofs_tris = b.size();
    for (const Mesh::Tri& t : mesh.tris) {
        for (int k = 0; k < 3; ++k)
            put_i16(b, t.v[k]);
        for (int k = 0; k < 3; ++k)
            put_i16(b, uv_to_tc[t.t[k]]);
    }
    const size_t ofs_frames = b.size();
    int degenerate = 0;
    for (const KeyFrame& f : frames) {
        put_f32(b, scale.x);
        put_f32(b, scale.y);
        put_f32(b, scale.z);
        put_f32(b, lo.x);
        put_f32(b, lo.y);
        put_f32(b, lo.z);
        put_name(b, f.name, 16);
        std::vector<int> q(3 * nv);
        for (int i = 0; i < nv; ++i) {
            V3 p = to_file(f.pos[i]);
            q[i * 3 + 0] = std::clamp(int(std::lround((p.x - lo.x) / scale.x)), 0, 255);
            q[i * 3 + 1] = std::clamp(int(std::lround((p.y - lo.y) / scale.y)), 0, 255);
            q[i * 3 + 2] = std::clamp(int(std::lround((p.z - lo.z) / scale.z)), 0, 255);
            for (int k = 0; k < 3; ++k)
                b.push_back(uint8_t(q[i * 3 + k]));
            b.push_back(0); // light-normal index: the game computes its own normals
        }
        for (const Mesh::Tri& t : mesh.tris) {
            int d[2][3];
            for (int e = 0; e < 2; ++e)
                for (int k = 0; k < 3; ++k)
                    d[e][k] = q[t.v[e + 1] * 3 + k] - q[t.v[0] * 3 + k];
            long cx = long(d[0][1]) * d[1][2] - long(d[0][2]) * d[1][1];
            long cy = long(d[0][2]) * d[1][0] - long(d[0][0]) * d[1][2];
            long cz = long(d[0][0]) * d[1][1] - long(d[0][1]) * d[1][0];
            if (cx == 0 && cy == 0 && cz == 0)
                ++degenerate;
        }
    }
    const size_t ofs_glcmds = b.size();
    int gl_words = 0;
    int strips = 0, fans = 0;
    if (m.gl_commands) {
        for (const Md2Run& r : runs) {
            int n = int(r.corners.size());
            put_i32(b, r.fan ? -n : n);
            ++gl_words;
            (r.fan ? fans : strips) += 1;
            for (int c : r.corners) {
                const auto& st = texels[corners[c].second];
                put_f32(b, float(st.first) / float(m.skin_w));
                put_f32(b, float(st.second) / float(m.skin_h));
                put_i32(b, corners[c].first);
                gl_words += 3;
            }
        }
        put_i32(b, 0);
        ++gl_words;
    }
    const size_t ofs_end = b.size();

    int32_t header[15] = {m.skin_w,
                          m.skin_h,
                          frame_size,
                          1,
                          nv,
                          int32_t(texels.size()),
                          int32_t(mesh.tris.size()),
                          gl_words,
                          int32_t(frames.size()),
                          int32_t(ofs_skins),
                          int32_t(ofs_st),
                          int32_t(ofs_tris),
                          int32_t(ofs_frames),
                          int32_t(ofs_glcmds),
                          int32_t(ofs_end)};
    for (int i = 0; i < 15; ++i)
        set_i32(b, 8 + 4 * i, header[i]);

    if (stats) {
        stats->vertices = nv;
        stats->triangles = int(mesh.tris.size());
        stats->frames = int(frames.size());
        stats->cycles = int(m.cycles.size());
        stats->texcoords = int(texels.size());
        stats->render_vertices = int(corners.size());
        stats->gl_words = gl_words;
        stats->strips = strips;
        stats->fans = fans;
        stats->degenerate = degenerate;
        stats->bytes = b.size();
    }
    return b;
}

bool write_md2(Output& out, const Model& m, Md2Stats* stats)
{
    std::vector<uint8_t> bytes = encode_md2(m, stats);
    if (bytes.empty()) {
        out.fail("model " + m.path);
        return false;
    }
    return out.write(m.path, bytes);
}
