#include "Gfx/GridMath.h"

#include "Common/Camera.h"
#include "Gfx/TextureMatrices.h"

#include <algorithm>
#include <cmath>

GridSpread grid_spread(double dir_y, double eye_y)
{
    const float floor_t = 0.36363636f;
    float d = static_cast<float>(dir_y);
    float t = 1.0f - d * d;
    float a = std::max(t, floor_t) * 2.75f;
    float c = std::max(t, floor_t) * 1.75f;

    float y = static_cast<float>(eye_y);
    float b, tilt;
    if (y <= 800.0f) {
        tilt = c;
        b = 1.0f;
    } else if (y <= 16000.0f) {
        float s = (y - 800.0f) / 15200.0f;
        b = (1.0f - s) + s * floor_t;
        tilt = c + 6.0f * s;
    } else {
        b = 0.36363637f;
        tilt = c + 6.0f;
    }
    return {std::max(a * b, 1.0f), tilt};
}

namespace {

HPoint lerp(const HPoint& a, const HPoint& b, double t)
{
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z),
            a.w + t * (b.w - a.w)};
}

HPoint to_hpoint(const double v[4]) { return {v[0], v[1], v[2], v[3]}; }

// The point on the plane at `limit` from the camera in the horizontal direction of the
// ray p0 -> p1 (both homogeneous). A ray without horizontal direction (straight up or
// down) keeps the camera's own x and z.
HPoint guard_point(const Camera& cam, const HPoint& p0, const HPoint& p1, double limit)
{
    double ax = p0.x / p0.w, az = p0.z / p0.w;
    double bx = p1.x / p1.w, bz = p1.z / p1.w;
    double dx = bx - ax, dz = bz - az;
    double len = std::sqrt(dx * dx + dz * dz);
    if (!(len > 0.0) || !std::isfinite(len)) return {cam.pos.x, 0.0, cam.pos.z, 1.0};
    return {cam.pos.x + dx / len * limit, 0.0, cam.pos.z + dz / len * limit, 1.0};
}

} // namespace

WaterCorners water_corners_from(const Camera& cam, const float inverse_projection[16],
                                double far_limit)
{
    double to_world[16], inv_proj[16], m[16];
    camera_to_world(cam, to_world);
    mat4_from_float(inverse_projection, inv_proj);
    mat4_mul(to_world, inv_proj, m);

    const double corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    WaterCorners out;
    for (int i = 0; i < 4; ++i) {
        double near_clip[4] = {corners[i][0], corners[i][1], -1.0, 1.0};
        double far_clip[4] = {corners[i][0], corners[i][1], 1.0, 1.0};
        double a[4], b[4];
        mat4_transform(m, near_clip, a);
        mat4_transform(m, far_clip, b);
        HPoint p0 = to_hpoint(a), p1 = to_hpoint(b);

        double t = -p0.y / (p1.y - p0.y);
        HPoint hit = lerp(p0, p1, t);
        bool ok = std::isfinite(t) && t >= 0.0 && hit.w > 0.0;
        if (ok) {
            double hx = hit.x / hit.w - cam.pos.x, hz = hit.z / hit.w - cam.pos.z;
            ok = std::isfinite(hx) && std::isfinite(hz) && hx * hx + hz * hz <= far_limit * far_limit;
        }
        if (ok) {
            hit.y = 0.0;
            out.p[i] = hit;
        } else {
            out.p[i] = guard_point(cam, p0, p1, far_limit);
            out.guarded[i] = true;
        }
    }
    return out;
}

WaterSpan swell_span(double wave_scale, double wave_off)
{
    return {-wave_off * kSwellHeight, (wave_scale - wave_off) * kSwellHeight};
}

WaterSpan water_surface_span(double wave_scale, double wave_off, double ripple_scale)
{
    const WaterSpan swell = swell_span(wave_scale, wave_off);
    const double rings = 0.5 * ripple_scale * kRingHeight;
    return {swell.lowest - rings, swell.highest + rings};
}
