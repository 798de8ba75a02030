#include "Gfx/TextureMatrices.h"

#include "Common/Camera.h"

namespace {

void identity(double m[16])
{
    for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0 : 0.0;
}

// bias = translate(tx, ty, tz) * scale(s, s, s)
void bias_matrix(double tx, double ty, double tz, double s, double out[16])
{
    identity(out);
    out[0] = out[5] = out[10] = s;
    out[12] = tx;
    out[13] = ty;
    out[14] = tz;
}

void view_from(const Vec3d& p, const Vec3d& s, const Vec3d& u, const Vec3d& d, double out[16])
{
    const Vec3d* rows[3] = {&s, &u, &d};
    identity(out);
    for (int r = 0; r < 3; ++r) {
        const Vec3d& a = *rows[r];
        out[0 * 4 + r] = a.x;
        out[1 * 4 + r] = a.y;
        out[2 * 4 + r] = a.z;
        out[12 + r] = -(a.x * p.x + a.y * p.y + a.z * p.z);
    }
}

} // namespace

void mat4_mul(const double a[16], const double b[16], double out[16])
{
    double r[16];
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row) {
            double v = 0.0;
            for (int k = 0; k < 4; ++k) v += a[k * 4 + row] * b[c * 4 + k];
            r[c * 4 + row] = v;
        }
    for (int i = 0; i < 16; ++i) out[i] = r[i];
}

void mat4_from_float(const float in[16], double out[16])
{
    for (int i = 0; i < 16; ++i) out[i] = in[i];
}

void mat4_to_float(const double in[16], float out[16])
{
    for (int i = 0; i < 16; ++i) out[i] = static_cast<float>(in[i]);
}

void mat4_transform(const double m[16], const double in[4], double out[4])
{
    double r[4];
    for (int row = 0; row < 4; ++row)
        r[row] = m[row] * in[0] + m[4 + row] * in[1] + m[8 + row] * in[2] + m[12 + row] * in[3];
    for (int i = 0; i < 4; ++i) out[i] = r[i];
}

void camera_view_matrix(const Camera& cam, double out[16])
{
    view_from(cam.pos, cam.str, cam.up, cam.dir, out);
}

void mirrored_view_matrix(const Camera& cam, double out[16])
{
    auto flip = [](const Vec3d& v) { return Vec3d(v.x, -v.y, v.z); };
    view_from(flip(cam.pos), flip(cam.str), flip(cam.up), flip(cam.dir), out);
}

void camera_to_world(const Camera& cam, double out[16])
{
    const Vec3d* cols[3] = {&cam.str, &cam.up, &cam.dir};
    identity(out);
    for (int c = 0; c < 3; ++c) {
        out[c * 4 + 0] = cols[c]->x;
        out[c * 4 + 1] = cols[c]->y;
        out[c * 4 + 2] = cols[c]->z;
    }
    out[12] = cam.pos.x;
    out[13] = cam.pos.y;
    out[14] = cam.pos.z;
}

void shadow_texture_matrix(const double light_projection[16], const double light_view[16],
                           double out[16])
{
    double bias[16], tmp[16];
    bias_matrix(0.5, 0.5, 0.5, 0.5, bias);
    mat4_mul(bias, light_projection, tmp);
    mat4_mul(tmp, light_view, out);
}

void ring_texture_matrix(const double ring_projection[16], const double grid_view[16],
                         double out[16])
{
    double bias[16], tmp[16];
    bias_matrix(0.5, 0.5, 0.0, 0.5, bias);
    mat4_mul(bias, ring_projection, tmp);
    mat4_mul(tmp, grid_view, out);
}
