#include "Md2Writer.h"

#include "Md2Layout.h"
#include "Output.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <unordered_map>

namespace {

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
    if (nv > kMd2MaxFrameVertices) {
        std::fprintf(stderr, "mediagen: %s has %d vertices per frame (limit %d)\n", m.path.c_str(), nv,
                     kMd2MaxFrameVertices);
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

    Md2Writer file;
    file.skin_width = m.skin_w;
    file.skin_height = m.skin_h;
    file.skins = {m.skin};
    for (const auto& st : texels) file.texcoords.push_back({int16_t(st.first), int16_t(st.second)});
    for (const Mesh::Tri& t : mesh.tris) {
        std::array<uint16_t, 6> tri;
        for (int k = 0; k < 3; ++k) {
            tri[size_t(k)] = uint16_t(t.v[k]);
            tri[size_t(k) + 3] = uint16_t(uv_to_tc[t.t[k]]);
        }
        file.triangles.push_back(tri);
    }
    file.num_vertices = nv;
    int degenerate = 0;
    for (const KeyFrame& f : frames) {
        std::vector<std::array<uint8_t, 3>> q(static_cast<size_t>(nv));
        for (int i = 0; i < nv; ++i) {
            V3 p = to_file(f.pos[i]);
            q[size_t(i)] = {uint8_t(std::clamp(int(std::lround((p.x - lo.x) / scale.x)), 0, 255)),
                            uint8_t(std::clamp(int(std::lround((p.y - lo.y) / scale.y)), 0, 255)),
                            uint8_t(std::clamp(int(std::lround((p.z - lo.z) / scale.z)), 0, 255))};
        }
        for (const Mesh::Tri& t : mesh.tris) {
            int d[2][3];
            for (int e = 0; e < 2; ++e)
                for (int k = 0; k < 3; ++k)
                    d[e][k] = int(q[size_t(t.v[e + 1])][size_t(k)]) - int(q[size_t(t.v[0])][size_t(k)]);
            long cx = long(d[0][1]) * d[1][2] - long(d[0][2]) * d[1][1];
            long cy = long(d[0][2]) * d[1][0] - long(d[0][0]) * d[1][2];
            long cz = long(d[0][0]) * d[1][1] - long(d[0][1]) * d[1][0];
            if (cx == 0 && cy == 0 && cz == 0)
                ++degenerate;
        }
        Md2WriterFrame& frame = file.add_frame(f.name.substr(0, 15), q);
        frame.scale[0] = scale.x;
        frame.scale[1] = scale.y;
        frame.scale[2] = scale.z;
        frame.translate[0] = lo.x;
        frame.translate[1] = lo.y;
        frame.translate[2] = lo.z;
    }
    int strips = 0, fans = 0;
    if (m.gl_commands) {
        for (const Md2Run& r : runs) {
            (r.fan ? fans : strips) += 1;
            std::vector<Md2GlCommandVertex> run;
            for (int c : r.corners) {
                const auto& st = texels[corners[c].second];
                run.push_back({float(st.first) / float(m.skin_w), float(st.second) / float(m.skin_h), corners[c].first});
            }
            file.add_gl_strip(run, r.fan);
        }
        file.end_gl_commands();
    }
    const int gl_words = int(file.glcmds.size());
    const std::string bytes = file.bytes();
    std::vector<uint8_t> b(bytes.begin(), bytes.end());

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
