#include "Common/Camera.h"
#include "Common/Projection.h"
#include "Gfx/TextureMatrices.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const double kPi = 3.141592653589793;

void projection(float fov, float aspect, float n, float f, double out[16])
{
    float m[16];
    frustum_matrix(frustum_bounds(fov, aspect, n, f), m);
    mat4_from_float(m, out);
}

void apply(const double m[16], double x, double y, double z, double out[4])
{
    double in[4] = {x, y, z, 1.0};
    mat4_transform(m, in, out);
}

Camera tilted_camera(double pitch, double yaw)
{
    Camera cam(60.0f, 1.5f, 350000.0f);
    cam.set_position(300, 230, -100);
    cam.pitch(pitch);
    cam.yaw(yaw);
    return cam;
}

TEST(TextureMatrices, ShadowLookupMapsTheLightsViewIntoTheUnitCube)
{
    Camera light(120.0f, 100.0f, 30000.0f);
    light.set_position(1000, 5000, 2000);
    light.pitch(-90.0 * kPi / 180.0); // straight down
    double proj[16], view[16], m[16], p[4];
    projection(120.0f, 1.0f, 100.0f, 30000.0f, proj);
    camera_view_matrix(light, view);
    shadow_texture_matrix(proj, view, m);

    // Straight below the light: the centre of the map.
    apply(m, 1000, 0, 2000, p);
    EXPECT_NEAR(p[0] / p[3], 0.5, 1e-9);
    EXPECT_NEAR(p[1] / p[3], 0.5, 1e-9);
    // Points on the near and far planes land on 0 and 1.
    apply(m, 1000, 5000 - 100, 2000, p);
    EXPECT_NEAR(p[2] / p[3], 0.0, 1e-6);
    apply(m, 1000, 5000 - 30000, 2000, p);
    EXPECT_NEAR(p[2] / p[3], 1.0, 1e-6);

    // The edge of the 120 degree view lands on the edge of the map.
    const double half = 4900.0 * std::tan(60.0 * kPi / 180.0);
    apply(m, 1000 + half, 100, 2000, p);
    EXPECT_NEAR(p[0] / p[3], 1.0, 1e-6);
}

TEST(TextureMatrices, RingLookupKeepsDepthOutAndIsProjective)
{
    Camera cam(90.0f, 1.5f, 350000.0f);
    cam.set_position(0, 1000, 0);
    cam.pitch(-60.0 * kPi / 180.0);
    double proj[16], view[16], m[16], p[4], c[4];
    projection(90.0f, 1.77f, 1.5f, 350000.0f, proj);
    camera_view_matrix(cam, view);
    ring_texture_matrix(proj, view, m);

    // A point on the view's centre line lands in the middle of the ring image.
    double d = 1000.0 / std::sin(60.0 * kPi / 180.0);
    Vec3d target = cam.pos - cam.dir * d;
    apply(m, target.x, target.y, target.z, p);
    EXPECT_NEAR(p[0] / p[3], 0.5, 1e-9);
    EXPECT_NEAR(p[1] / p[3], 0.5, 1e-9);
    // q is the clip w: the distance along the view axis.
    EXPECT_NEAR(p[3], d, 1e-6);
    double clip[16];
    mat4_mul(proj, view, clip);
    apply(clip, target.x, target.y, target.z, c);
    // r is only scaled, not shifted, unlike the shadow lookup.
    EXPECT_NEAR(p[2], 0.5 * c[2], 1e-6);
}

TEST(TextureMatrices, MirroredViewSeesThePlaneWhereTheViewDoes)
{
    Camera cam = tilted_camera(-0.3, 0.5);
    double view[16], mirror[16], a[4], b[4];
    camera_view_matrix(cam, view);
    mirrored_view_matrix(cam, mirror);

    // A point above the water appears in the mirrored view where its reflection below the
    // water appears in the real one; on the plane (y = 0) the two coincide.
    for (double y : {0.0, 75.0}) {
        apply(view, 40, -y, -900, a);
        apply(mirror, 40, y, -900, b);
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(a[i], b[i], 1e-9) << y;
    }
}

} // namespace
