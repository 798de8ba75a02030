#include "Mesh.h"

#include <algorithm>
#include <cstdio>

namespace {

const float kDeg = 3.14159265358979f / 180.0f;

// A quad p0..p3 counter-clockwise seen from outside; p0 is the bottom-left corner of the
// rectangle r as painted (v0 is the image's top row).
void add_quad(Mesh& m, const V3& p0, const V3& p1, const V3& p2, const V3& p3, const Rect& r)
{
    int a = m.add_vertex(p0, 0), b = m.add_vertex(p1, 0), c = m.add_vertex(p2, 0), d = m.add_vertex(p3, 0);
    int ta = m.add_uv(r.at(0, 1)), tb = m.add_uv(r.at(1, 1)), tc = m.add_uv(r.at(1, 0)), td = m.add_uv(r.at(0, 0));
    m.add_tri(a, b, c, ta, tb, tc);
    m.add_tri(a, c, d, ta, tc, td);
}

} // namespace

Xf Xf::operator*(const Xf& o) const
{
    Xf r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[i][j] = m[i][0] * o.m[0][j] + m[i][1] * o.m[1][j] + m[i][2] * o.m[2][j];
    r.t = apply(o.t);
    return r;
}

float Xf::det() const
{
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

Xf Xf::translate(const V3& d)
{
    Xf r;
    r.t = d;
    return r;
}

Xf Xf::scale(float sx, float sy, float sz)
{
    Xf r;
    r.m[0][0] = sx;
    r.m[1][1] = sy;
    r.m[2][2] = sz;
    return r;
}

Xf Xf::rot_x(float deg)
{
    Xf r;
    float c = std::cos(deg * kDeg), s = std::sin(deg * kDeg);
    r.m[1][1] = c;
    r.m[1][2] = -s;
    r.m[2][1] = s;
    r.m[2][2] = c;
    return r;
}

Xf Xf::rot_y(float deg)
{
    Xf r;
    float c = std::cos(deg * kDeg), s = std::sin(deg * kDeg);
    r.m[0][0] = c;
    r.m[0][2] = s;
    r.m[2][0] = -s;
    r.m[2][2] = c;
    return r;
}

Xf Xf::rot_z(float deg)
{
    Xf r;
    float c = std::cos(deg * kDeg), s = std::sin(deg * kDeg);
    r.m[0][0] = c;
    r.m[0][1] = -s;
    r.m[1][0] = s;
    r.m[1][1] = c;
    return r;
}

Xf Xf::rot_about(const V3& pivot, const V3& axis, float deg)
{
    V3 a = normalized(axis);
    float c = std::cos(deg * kDeg), s = std::sin(deg * kDeg), k = 1 - c;
    Xf r;
    r.m[0][0] = c + a.x * a.x * k;
    r.m[0][1] = a.x * a.y * k - a.z * s;
    r.m[0][2] = a.x * a.z * k + a.y * s;
    r.m[1][0] = a.y * a.x * k + a.z * s;
    r.m[1][1] = c + a.y * a.y * k;
    r.m[1][2] = a.y * a.z * k - a.x * s;
    r.m[2][0] = a.z * a.x * k - a.y * s;
    r.m[2][1] = a.z * a.y * k + a.x * s;
    r.m[2][2] = c + a.z * a.z * k;
    return translate(pivot) * r * translate(-pivot);
}

void Mesh::append(const Mesh& o, const Xf& xf, int group)
{
    int vbase = int(pos.size()), tbase = int(uv.size());
    for (size_t i = 0; i < o.pos.size(); ++i)
        add_vertex(xf.apply(o.pos[i]), group < 0 ? o.part[i] : group);
    uv.insert(uv.end(), o.uv.begin(), o.uv.end());
    bool mirror = xf.det() < 0;
    for (const Tri& t : o.tris) {
        Tri n;
        for (int k = 0; k < 3; ++k) {
            n.v[k] = t.v[k] + vbase;
            n.t[k] = t.t[k] + tbase;
        }
        if (mirror) {
            std::swap(n.v[1], n.v[2]);
            std::swap(n.t[1], n.t[2]);
        }
        tris.push_back(n);
    }
}

Mesh make_box6(const V3& lo, const V3& hi, const Rect f[6])
{
    Mesh m;
    float lx = lo.x, ly = lo.y, lz = lo.z, hx = hi.x, hy = hi.y, hz = hi.z;
    add_quad(m, {hx, ly, hz}, {hx, ly, lz}, {hx, hy, lz}, {hx, hy, hz}, f[0]); // +x
    add_quad(m, {lx, ly, lz}, {lx, ly, hz}, {lx, hy, hz}, {lx, hy, lz}, f[1]); // -x
    add_quad(m, {lx, hy, hz}, {hx, hy, hz}, {hx, hy, lz}, {lx, hy, lz}, f[2]); // +y
    add_quad(m, {lx, ly, lz}, {hx, ly, lz}, {hx, ly, hz}, {lx, ly, hz}, f[3]); // -y
    add_quad(m, {lx, ly, hz}, {hx, ly, hz}, {hx, hy, hz}, {lx, hy, hz}, f[4]); // +z
    add_quad(m, {hx, ly, lz}, {lx, ly, lz}, {lx, hy, lz}, {hx, hy, lz}, f[5]); // -z
    return m;
}

Mesh make_box(const V3& lo, const V3& hi, const Rect& r)
{
    Rect f[6] = {r, r, r, r, r, r};
    return make_box6(lo, hi, f);
}

Mesh make_lathe(const std::vector<std::pair<float, float>>& profile, int segments, const Rect& r, bool caps,
                bool flat, float phase_deg)
{
    Mesh m;
    const int n = int(profile.size());
    if (n < 2 || segments < 3)
        return m;
    // v along the profile by arc length, the top at the rectangle's top row.
    std::vector<float> along(n, 0.0f);
    for (int i = 1; i < n; ++i) {
        float dr = profile[i].first - profile[i - 1].first, dy = profile[i].second - profile[i - 1].second;
        along[i] = along[i - 1] + std::sqrt(dr * dr + dy * dy);
    }
    for (int i = 0; i < n; ++i)
        along[i] = along[n - 1] > 0 ? 1.0f - along[i] / along[n - 1] : 0.0f;

    auto point = [&](int i, int j) {
        float a = (float(j) / segments) * 6.28318530718f + phase_deg * kDeg;
        float rr = profile[i].first;
        return V3(rr * std::cos(a), profile[i].second, -rr * std::sin(a));
    };
    auto tex = [&](int i, float j) { return m.add_uv(r.at(j / segments, along[i])); };

    // Shared ring vertices for smooth shading; a ring of radius 0 is a single tip vertex.
    std::vector<std::vector<int>> ring(n);
    if (!flat)
        for (int i = 0; i < n; ++i) {
            if (profile[i].first <= 0.0f)
                ring[i].assign(segments, m.add_vertex(point(i, 0), 0));
            else
                for (int j = 0; j < segments; ++j)
                    ring[i].push_back(m.add_vertex(point(i, j), 0));
        }

    auto vert = [&](int i, int j) { return flat ? m.add_vertex(point(i, j), 0) : ring[i][j % segments]; };
    for (int i = 0; i + 1 < n; ++i) {
        bool tip_lo = profile[i].first <= 0.0f, tip_hi = profile[i + 1].first <= 0.0f;
        if (tip_lo && tip_hi)
            continue;
        for (int j = 0; j < segments; ++j) {
            if (tip_lo) {
                int a = vert(i, j), c = vert(i + 1, j + 1), d = vert(i + 1, j);
                m.add_tri(a, c, d, tex(i, j + 0.5f), tex(i + 1, float(j + 1)), tex(i + 1, float(j)));
            } else if (tip_hi) {
                int a = vert(i, j), b = vert(i, j + 1), c = vert(i + 1, j);
                m.add_tri(a, b, c, tex(i, float(j)), tex(i, float(j + 1)), tex(i + 1, j + 0.5f));
            } else if (flat) {
                int a = vert(i, j), b = vert(i, j + 1), c = vert(i + 1, j + 1), d = vert(i + 1, j);
                // one flat quad: its two triangles share the two diagonal vertices
                int ta = tex(i, float(j)), tb = tex(i, float(j + 1)), tc = tex(i + 1, float(j + 1)), td = tex(i + 1, float(j));
                m.add_tri(a, b, c, ta, tb, tc);
                m.add_tri(a, c, d, ta, tc, td);
            } else {
                int a = vert(i, j), b = vert(i, j + 1), c = vert(i + 1, j + 1), d = vert(i + 1, j);
                int ta = tex(i, float(j)), tb = tex(i, float(j + 1)), tc = tex(i + 1, float(j + 1)), td = tex(i + 1, float(j));
                m.add_tri(a, b, c, ta, tb, tc);
                m.add_tri(a, c, d, ta, tc, td);
            }
        }
    }
    if (caps) {
        // flat caps with their own rim vertices, so the rim edge stays sharp
        for (int end = 0; end < 2; ++end) {
            int i = end == 0 ? 0 : n - 1;
            if (profile[i].first <= 0.0f)
                continue;
            int centre = m.add_vertex(V3(0, profile[i].second, 0), 0);
            int tc = m.add_uv(r.at(0.5f, along[i]));
            std::vector<int> rim;
            for (int j = 0; j < segments; ++j)
                rim.push_back(m.add_vertex(point(i, j), 0));
            for (int j = 0; j < segments; ++j) {
                int a = rim[j], b = rim[(j + 1) % segments];
                int ta = tex(i, float(j)), tb = tex(i, float(j + 1));
                if (end == 0)
                    m.add_tri(centre, b, a, tc, tb, ta);
                else
                    m.add_tri(centre, a, b, tc, ta, tb);
            }
        }
    }
    return m;
}

Mesh make_ellipsoid(const V3& radii, int rings, int segments, const Rect& r)
{
    std::vector<std::pair<float, float>> prof;
    for (int i = 0; i <= rings; ++i) {
        float a = -1.5707963f + 3.14159265f * float(i) / rings;
        float rr = (i == 0 || i == rings) ? 0.0f : std::cos(a);
        prof.push_back({rr, std::sin(a)});
    }
    Mesh m = make_lathe(prof, segments, r, false);
    for (V3& p : m.pos)
        p = V3(p.x * radii.x, p.y * radii.y, p.z * radii.z);
    return m;
}

Mesh make_cylinder(float r_bottom, float r_top, float h, int segments, const Rect& r)
{
    return make_lathe({{r_bottom, 0.0f}, {r_top, h}}, segments, r, true);
}

Mesh make_slab(const std::vector<std::pair<float, float>>& outline_in, float thick, const Rect& r, const Rect& rim)
{
    Mesh m;
    std::vector<std::pair<float, float>> outline = outline_in;
    const int n = int(outline.size());
    if (n < 3)
        return m;
    // Counter-clockwise seen from +y means a positive area in the (x, -z) plane.
    float area = 0;
    for (int i = 0; i < n; ++i) {
        auto a = outline[i], b = outline[(i + 1) % n];
        area += a.first * (-b.second) - b.first * (-a.second);
    }
    if (area < 0)
        std::reverse(outline.begin(), outline.end());
    float minx = 1e30f, maxx = -1e30f, minz = 1e30f, maxz = -1e30f, cx = 0, cz = 0;
    for (auto& p : outline) {
        minx = std::min(minx, p.first);
        maxx = std::max(maxx, p.first);
        minz = std::min(minz, p.second);
        maxz = std::max(maxz, p.second);
        cx += p.first / n;
        cz += p.second / n;
    }
    auto map_uv = [&](float x, float z) {
        return r.at((x - minx) / std::max(maxx - minx, 1e-6f), (z - minz) / std::max(maxz - minz, 1e-6f));
    };
    float hy = thick * 0.5f;
    for (int side = 0; side < 2; ++side) {
        float y = side == 0 ? hy : -hy;
        int c = m.add_vertex(V3(cx, y, cz), 0);
        int tcen = m.add_uv(map_uv(cx, cz));
        std::vector<int> v, t;
        for (auto& p : outline) {
            v.push_back(m.add_vertex(V3(p.first, y, p.second), 0));
            t.push_back(m.add_uv(map_uv(p.first, p.second)));
        }
        for (int i = 0; i < n; ++i) {
            int j = (i + 1) % n;
            if (side == 0)
                m.add_tri(c, v[i], v[j], tcen, t[i], t[j]);
            else
                m.add_tri(c, v[j], v[i], tcen, t[j], t[i]);
        }
    }
    for (int i = 0; i < n; ++i) {
        auto a = outline[i], b = outline[(i + 1) % n];
        add_quad(m, {a.first, -hy, a.second}, {b.first, -hy, b.second}, {b.first, hy, b.second},
                 {a.first, hy, a.second}, rim);
    }
    return m;
}

Mesh make_sheet(float w, float h, float thick, int nx, int ny, const Rect& r, const Rect& rim)
{
    Mesh m;
    float hz = thick * 0.5f;
    // front (+z) and back (-z) grids
    std::vector<int> front, back, tf, tb;
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i) {
            float s = float(i) / nx, t = float(j) / ny;
            V3 p(-w * 0.5f + w * s, -h * 0.5f + h * t, 0);
            front.push_back(m.add_vertex(p + V3(0, 0, hz), 0));
            back.push_back(m.add_vertex(p - V3(0, 0, hz), 0));
            tf.push_back(m.add_uv(r.at(s, 1.0f - t)));
            tb.push_back(m.add_uv(r.at(1.0f - s, 1.0f - t)));
        }
    auto at = [&](int i, int j) { return j * (nx + 1) + i; };
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            int a = at(i, j), b = at(i + 1, j), c = at(i + 1, j + 1), d = at(i, j + 1);
            m.add_tri(front[a], front[b], front[c], tf[a], tf[b], tf[c]);
            m.add_tri(front[a], front[c], front[d], tf[a], tf[c], tf[d]);
            m.add_tri(back[a], back[c], back[b], tb[a], tb[c], tb[b]);
            m.add_tri(back[a], back[d], back[c], tb[a], tb[d], tb[c]);
        }
    // rim: walk the border counter-clockwise seen from the front and join front to back
    std::vector<int> border;
    for (int i = 0; i < nx; ++i)
        border.push_back(at(i, 0));
    for (int j = 0; j < ny; ++j)
        border.push_back(at(nx, j));
    for (int i = nx; i > 0; --i)
        border.push_back(at(i, ny));
    for (int j = ny; j > 0; --j)
        border.push_back(at(0, j));
    int r0 = m.add_uv(rim.at(0, 0)), r1 = m.add_uv(rim.at(1, 0)), r2 = m.add_uv(rim.at(1, 1)), r3 = m.add_uv(rim.at(0, 1));
    for (size_t k = 0; k < border.size(); ++k) {
        int a = border[k], b = border[(k + 1) % border.size()];
        m.add_tri(back[a], back[b], front[b], r0, r1, r2);
        m.add_tri(back[a], front[b], front[a], r0, r2, r3);
    }
    return m;
}

std::vector<KeyFrame> build_frames(const Model& model)
{
    std::vector<KeyFrame> out;
    for (const Cycle& c : model.cycles) {
        for (int k = 0; k < c.frames; ++k) {
            KeyFrame f;
            char name[32];
            std::snprintf(name, sizeof name, "%s%02d", c.name.c_str(), k + 1);
            f.name = name;
            float phase = float(k) / float(c.frames);
            f.pos.reserve(model.mesh.pos.size());
            for (size_t i = 0; i < model.mesh.pos.size(); ++i)
                f.pos.push_back(c.pose ? c.pose(model.mesh.pos[i], model.mesh.part[i], phase) : model.mesh.pos[i]);
            out.push_back(std::move(f));
        }
    }
    return out;
}
