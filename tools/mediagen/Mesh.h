// Triangle meshes for the generated models, built in the game's own axes (y up, the nose of
// a vehicle along +x) with counter-clockwise front faces seen from outside. The MD2 writer
// turns them into the file's z-up form.
#pragma once

#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct V3 {
    float x = 0, y = 0, z = 0;
    V3() = default;
    V3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
    V3 operator+(const V3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    V3 operator-(const V3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    V3 operator*(float s) const { return {x * s, y * s, z * s}; }
    V3 operator-() const { return {-x, -y, -z}; }
};

inline float dot(const V3& a, const V3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline V3 cross(const V3& a, const V3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float length(const V3& a) { return std::sqrt(dot(a, a)); }
inline V3 normalized(const V3& a)
{
    float l = length(a);
    return l > 0 ? a * (1.0f / l) : V3(0, 1, 0);
}
inline V3 lerp(const V3& a, const V3& b, float t) { return a + (b - a) * t; }

struct V2 {
    float u = 0, v = 0;
};

// A rectangle of the skin in normalised coordinates; v = 0 is the image's first row.
struct Rect {
    float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
    V2 at(float s, float t) const { return {u0 + (u1 - u0) * s, v0 + (v1 - v0) * t}; }
};

// An affine transform: p' = m * p + t.
struct Xf {
    float m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    V3 t;

    V3 apply(const V3& p) const
    {
        return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + t.x,
                m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + t.y,
                m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + t.z};
    }
    V3 apply_dir(const V3& p) const { return apply(p) - t; }
    // this ∘ o: first o, then this.
    Xf operator*(const Xf& o) const;
    float det() const;

    static Xf translate(const V3& d);
    static Xf scale(float sx, float sy, float sz);
    static Xf scale(float s) { return scale(s, s, s); }
    // Right-handed rotations in degrees, as glRotatef about the coordinate axes.
    static Xf rot_x(float deg);
    static Xf rot_y(float deg);
    static Xf rot_z(float deg);
    // Rotation by `deg` about the axis through `pivot` with direction `axis`.
    static Xf rot_about(const V3& pivot, const V3& axis, float deg);
};

struct Mesh {
    struct Tri {
        int v[3];
        int t[3];
    };
    std::vector<V3> pos;
    std::vector<int> part; // animation group of each vertex
    std::vector<V2> uv;
    std::vector<Tri> tris;

    int add_vertex(const V3& p, int group)
    {
        pos.push_back(p);
        part.push_back(group);
        return int(pos.size()) - 1;
    }
    int add_uv(const V2& t)
    {
        uv.push_back(t);
        return int(uv.size()) - 1;
    }
    void add_tri(int a, int b, int c, int ta, int tb, int tc) { tris.push_back({{a, b, c}, {ta, tb, tc}}); }
    // Appends `o` moved by `xf`; its groups become `group` (or stay when group < 0). A transform
    // that mirrors flips the triangles so that they still face outwards.
    void append(const Mesh& o, const Xf& xf, int group);
};

// Primitives, all in local coordinates; place them with Mesh::append.
// A box between lo and hi, every face mapped onto the whole rectangle (its own vertices,
// so the edges stay sharp).
Mesh make_box(const V3& lo, const V3& hi, const Rect& r);
// A box with a rectangle per face: +x, -x, +y, -y, +z, -z.
Mesh make_box6(const V3& lo, const V3& hi, const Rect faces[6]);

// A surface of revolution about the y axis. `profile` runs from bottom to top as (radius,
// height) pairs; u runs around, v along the profile (top of the profile at v0). A first or last
// point of radius 0 closes that end with a tip; otherwise the ends are closed with flat caps
// when `caps` is set. `flat` gives every face its own vertices (a faceted look).
Mesh make_lathe(const std::vector<std::pair<float, float>>& profile, int segments, const Rect& r,
                bool caps = true, bool flat = false, float phase_deg = 0);
// An ellipsoid with the given radii around the origin.
Mesh make_ellipsoid(const V3& radii, int rings, int segments, const Rect& r);
// A closed cylinder (or truncated cone) along +y from 0 to h.
Mesh make_cylinder(float r_bottom, float r_top, float h, int segments, const Rect& r);
// A flat slab (thin box) whose outline is the convex or star-shaped polygon `outline`
// (x, z pairs, counter-clockwise seen from +y), of thickness `thick` centred on y = 0. The top
// and bottom are mapped with the outline's bounding box onto `r`, the rim onto `rim`.
Mesh make_slab(const std::vector<std::pair<float, float>>& outline, float thick, const Rect& r,
               const Rect& rim);

// A thin sheet in the xy plane (front facing +z) of size w x h centred on the origin,
// subdivided nx x ny so that it can be bent; both faces map onto `r` (the back mirrored),
// the rim onto `rim`.
Mesh make_sheet(float w, float h, float thick, int nx, int ny, const Rect& r, const Rect& rim);

// One animation cycle: `frames` key frames named name01, name02, ...; `pose` moves one vertex
// (its rest position and group) to its place at phase in [0, 1).
struct Cycle {
    std::string name;
    int frames = 1;
    std::function<V3(const V3& p, int group, float phase)> pose;
};

// A model ready to be written: the mesh, its cycles (the first plays by default) and whether
// it is stored with GL commands (strips and fans) or plain triangles.
struct Model {
    std::string path; // relative to the game directory, '/' separated
    std::string skin; // skin name stored in the file
    int skin_w = 256, skin_h = 256;
    Mesh mesh;
    std::vector<Cycle> cycles;
    bool gl_commands = false;
};

// A model without its cycles yet: its file, skin name and size, mesh, and whether the file
// carries the GL command list.
inline Model make_model(std::string path, std::string skin, Mesh mesh, int skin_size = 256, bool gl_commands = false)
{
    Model m;
    m.path = std::move(path);
    m.skin = std::move(skin);
    m.skin_w = m.skin_h = skin_size;
    m.mesh = std::move(mesh);
    m.gl_commands = gl_commands;
    return m;
}

// The key frames of all cycles in file order, with their names.
struct KeyFrame {
    std::string name;
    std::vector<V3> pos;
};
std::vector<KeyFrame> build_frames(const Model& m);

// A sine of the phase: `cycles` full periods per animation cycle, shifted by `offset` periods.
inline float wave(float phase, float cycles = 1, float offset = 0)
{
    return std::sin((phase * cycles + offset) * 6.28318530718f);
}
