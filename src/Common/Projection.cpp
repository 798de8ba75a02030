#include "Common/Projection.h"

#include <cmath>

FrustumBounds frustum_bounds(float fov, float aspect, float near_plane, float far_plane)
{
    double h = 2.0 * near_plane * std::tan(fov * 3.141592653589793 / 360.0);
    double w = h * aspect;
    return {-w / 2, w / 2, -h / 2, h / 2, near_plane, far_plane};
}

void frustum_matrix(const FrustumBounds& b, float out[16])
{
    double l = b.left, r = b.right, bo = b.bottom, t = b.top, n = b.near_plane, f = b.far_plane;
    for (int i = 0; i < 16; ++i) out[i] = 0.0f;
    out[0] = float(2 * n / (r - l));
    out[5] = float(2 * n / (t - bo));
    out[8] = float((r + l) / (r - l));
    out[9] = float((t + bo) / (t - bo));
    out[10] = float(-(f + n) / (f - n));
    out[11] = -1.0f;
    out[14] = float(-2 * f * n / (f - n));
}

void inverse_frustum_matrix(const FrustumBounds& b, float out[16])
{
    double l = b.left, r = b.right, bo = b.bottom, t = b.top, n = b.near_plane, f = b.far_plane;
    for (int i = 0; i < 16; ++i) out[i] = 0.0f;
    out[0] = float((r - l) / (2 * n));
    out[5] = float((t - bo) / (2 * n));
    out[11] = float(-(f - n) / (2 * f * n));
    out[12] = float((r + l) / (2 * n));
    out[13] = float((t + bo) / (2 * n));
    out[14] = -1.0f;
    out[15] = float((f + n) / (2 * f * n));
}

double projection_aspect(int w, int h, int screen_width, double window_aspect, float fov)
{
    if (w == screen_width) return static_cast<double>(w) / h;
    if (fov == 90.0f) return window_aspect * 1.325;
    return static_cast<double>(w) / h * window_aspect;
}
