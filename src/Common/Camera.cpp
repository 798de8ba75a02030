#include "Common/Camera.h"

#include "Common/ParameterFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

const double kPi = 3.141592653589793;

Vec3d n(const Vec3d& v) { return v.normalized(); }

// glRotate's matrix applied to v: `degrees` about the unit axis a, right-hand rule.
Vec3d rotate_about(const Vec3d& v, double degrees, const Vec3d& a)
{
    double rad = degrees * kPi / 180.0;
    double c = std::cos(rad), s = std::sin(rad), t = 1.0 - c;
    double m[3][3] = {
        {a.x * a.x * t + c, a.x * a.y * t - a.z * s, a.x * a.z * t + a.y * s},
        {a.y * a.x * t + a.z * s, a.y * a.y * t + c, a.y * a.z * t - a.x * s},
        {a.z * a.x * t - a.y * s, a.z * a.y * t + a.x * s, a.z * a.z * t + c},
    };
    return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z,
            m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
            m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
}

} // namespace

Camera::Camera(float fov_, float near_, float far_) : fov(fov_), near_plane(near_), far_plane(far_)
{
    set_aspect(1.0f);
}

Camera::Camera(const Camera& o)
    : pos(o.pos), str(o.str), up(o.up), dir(o.dir), path_start_time(o.path_start_time), fov(o.fov),
      near_plane(o.near_plane), far_plane(o.far_plane)
{
    set_aspect(o.aspect);
    // The frustum as the original last built it: a copy culls as the original does.
    std::copy(std::begin(o.planes), std::end(o.planes), std::begin(planes));
}

void Camera::set_aspect(float a)
{
    aspect = a;
    tan_half_fov = static_cast<float>(std::tan(fov * 0.5 * kPi / 180.0));
    near_half_height = near_plane * tan_half_fov;
    near_half_width = near_half_height * aspect;
    far_half_height = far_plane * tan_half_fov;
    far_half_width = far_half_height * aspect;
}

void Camera::set_axes(const double s[3], const double u[3], const double d[3])
{
    str = {s[0], s[1], s[2]};
    up = {u[0], u[1], u[2]};
    dir = {d[0], d[1], d[2]};
}

void Camera::get_position(float out[3]) const
{
    out[0] = float(pos.x); out[1] = float(pos.y); out[2] = float(pos.z);
}

void Camera::get_up(float out[3]) const
{
    out[0] = float(up.x); out[1] = float(up.y); out[2] = float(up.z);
}

void Camera::get_dir(float out[3]) const
{
    out[0] = float(dir.x); out[1] = float(dir.y); out[2] = float(dir.z);
}

void Camera::pitch(double angle)
{
    double c = std::cos(angle), s = std::sin(angle);
    dir = n(dir * c - up * s);
    up = n(dir.cross(str));
    dir = n(str.cross(up));
}

void Camera::yaw(double angle)
{
    double c = std::cos(angle), s = std::sin(angle);
    dir = n(dir * c - str * s);
    str = n(up.cross(dir));
    dir = n(str.cross(up));
}

void Camera::roll(double angle)
{
    double c = std::cos(angle), s = std::sin(angle);
    str = n(str * c - up * s);
    up = n(dir.cross(str));
}

void Camera::update_frustum(float visibility)
{
    Vec3f p(pos), s(str), u(up), d(dir);
    Vec3f N = p - d * near_plane;
    Vec3f F = p - d * far_plane;

    planes[0].normal = -d;
    planes[0].offset = (-d).dot(N);
    planes[1].normal = d;
    planes[1].offset = std::min(d.dot(F), visibility);

    // Each side plane holds the eye and one edge of the near rectangle.
    Vec3f hw = s * near_half_width, hh = u * near_half_height;
    Vec3f corners[4] = {N - hw - hh, N + hw - hh, N + hw + hh, N - hw + hh}; // ccw from bottom-left
    const int edges[4][2] = {{3, 0}, {1, 2}, {0, 1}, {2, 3}};              // left, right, bottom, top
    for (int i = 0; i < 4; ++i) {
        Vec3f a = corners[edges[i][0]] - p;
        Vec3f b = corners[edges[i][1]] - p;
        Vec3f c = a.cross(b);
        float len = c.length();
        if (len == 0.0f) len = 0.001f;
        Vec3f normal = c * (1.0f / len);
        // Orient toward the inside: the centre of the near rectangle lies inside.
        if (normal.dot(N - p) < 0.0f) normal = -normal;
        planes[2 + i].normal = normal;
        planes[2 + i].offset = normal.dot(p);
    }
}

bool Camera::sphere_visible(float x, float y, float z, float margin) const
{
    for (const FrustumPlane& pl : planes)
        if (!(pl.distance(x, y, z) >= margin)) return false;
    return true;
}

void Camera::view_matrix(double position[3], double s[3], double u[3], double d[3], float out[16])
{
    double ts = -(s[0] * position[0] + s[1] * position[1] + s[2] * position[2]);
    double tu = -(u[0] * position[0] + u[1] * position[1] + u[2] * position[2]);
    double td = -(d[0] * position[0] + d[1] * position[1] + d[2] * position[2]);
    for (double* v : {s, u, d}) {
        double len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        DEBUG_ASSERT(len != 0.0, "len != Type(0)", "src\\common\\mathlibVectors");
        for (int i = 0; i < 3; ++i) v[i] /= len;
    }
    const double* rows[3] = {s, u, d};
    const double trans[3] = {ts, tu, td};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) out[c * 4 + r] = float(rows[r][c]);
        out[12 + r] = float(trans[r]);
    }
    out[3] = out[7] = out[11] = 0.0f;
    out[15] = 1.0f;
}

void Camera::print(bool position_only) const
{
    std::printf("\nipos = %f \t %f \t %f\n", pos.x, pos.y, pos.z);
    if (!position_only) {
        std::printf("istr = %f \t %f \t %f\n", str.x, str.y, str.z);
        std::printf("iup  = %f \t %f \t %f\n", up.x, up.y, up.z);
        std::printf("idir = %f \t %f \t %f\n", dir.x, dir.y, dir.z);
    }
    std::printf("\n");
}

void Camera::derive_grid_view(const Camera& source, double tilt, double lift)
{
    pos = source.pos;
    if (pos.y < 50.0) pos.y = 50.0;
    str = source.str;
    up = source.up;
    dir = source.dir;

    const Vec3d world_up(0, 1, 0);
    if (std::fabs(dir.y) < 0.9) {
        str = n(world_up.cross(dir));
        up = n(dir.cross(str));
        dir = n(str.cross(up));
    }

    // theta: how far the view (along -dir) points below the horizon, in degrees.
    double theta = 90.0 - std::acos(std::max(-1.0, std::min(1.0, dir.y))) * 180.0 / kPi;
    double r = std::max(tilt + 45.0, theta) - theta;

    if (r > 0.0) {
        dir = n(dir);
        if (dir.y <= -0.9) {
            r *= 1.25;
            if (pos.y < 2500.0) pos.y = 2500.0;
        }
        Vec3d a = world_up.cross(dir);
        // A view straight up or down has no horizontal turning axis; its own side axis
        // is the one a nearly vertical view would turn about.
        Vec3d axis = a.length() > 1e-12 ? n(a) : n(str);
        dir = n(rotate_about(dir, -r, axis));
        str = axis;
        up = n(dir.cross(str));
        dir = n(str.cross(up));
    }

    if (lift > 0.0) {
        double d = source.dir.y;
        float v = static_cast<float>((1.0 - d * d) * lift);
        if (v < 500.0f) v = 500.0f;
        pos.y += v;
    }
}

std::list<CameraKeyframe> parse_camera_path(const char* text)
{
    std::list<CameraKeyframe> frames;
    const char* separators = " \t\n\r\v";
    const char* p = text;
    long count = 0;
    while (*p) {
        p += std::strspn(p, separators);
        if (!*p) break;
        size_t len = std::strcspn(p, separators);
        std::string token(p, len);
        p += len;

        if (count % 13 == 0) frames.emplace_back();
        CameraKeyframe& k = frames.back();
        char* end = nullptr;
        double v = std::strtod(token.c_str(), &end);
        if (end == token.c_str() + token.size()) {
            int field = static_cast<int>(count % 13);
            if (field == 0)
                k.time = v;
            else {
                Vec3d* vecs[4] = {&k.pos, &k.str, &k.up, &k.dir};
                (*vecs[(field - 1) / 3])[(field - 1) % 3] = v;
            }
        }
        ++count;
    }
    return frames;
}

void Camera::load_path(const char* path)
{
    TextFile file(path);
    std::printf("\n");
    keyframes = parse_camera_path(file.text);
}
