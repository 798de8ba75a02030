// The texture lookups' matrices, and the water and terrain grids from the camera.
#include "Common/Camera.h"
#include "Common/Projection.h"
#include "Gfx/GridIndices.h"
#include "Gfx/GridMath.h"
#include "Gfx/TerrainPass.h"
#include "Gfx/TextureMatrices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

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

TEST(TextureMatrices, ShadowLookupMapsTheLightsViewIntoTheUnitCube)
{
    Camera light(120.0f, 100.0f, 30000.0f);
    light.set_position(1000, 5000, 2000);
    light.pitch(-90.0 * kPi / 180.0); // straight down
    double proj[16], view[16], m[16], p[4];
    projection(120.0f, 1.0f, 100.0f, 30000.0f, proj);
    camera_view_matrix(light, view);
    shadow_texture_matrix(proj, view, m);
    const double half = 4900.0 * std::tan(60.0 * kPi / 180.0);
    // A point, a coordinate of the map and where along it the point lands.
    for (auto [x, y, z, k, at] : {std::tuple{1000.0, 0.0, 2000.0, 0, 0.5}, // straight below the light: the middle
                                  {1000.0, 0.0, 2000.0, 1, 0.5},
                                  {1000.0, 5000.0 - 100, 2000.0, 2, 0.0}, // the near and far planes: 0 and 1
                                  {1000.0, 5000.0 - 30000, 2000.0, 2, 1.0},
                                  {1000 + half, 100.0, 2000.0, 0, 1.0}}) { // the edge of the 120 degree view
        apply(m, x, y, z, p);
        EXPECT_NEAR(p[k] / p[3], at, 1e-6) << x << ", " << y << ", " << z;
    }
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
    Camera cam(60.0f, 1.5f, 350000.0f);
    cam.set_position(300, 230, -100);
    cam.pitch(-0.3);
    cam.yaw(0.5);
    double view[16], mirror[16], a[4], b[4];
    camera_view_matrix(cam, view);
    mirrored_view_matrix(cam, mirror);
    // A point above the water shows in the mirror where its reflection shows in the real view.
    for (double y : {0.0, 75.0}) {
        apply(view, 40, -y, -900, a);
        apply(mirror, 40, y, -900, b);
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(a[i], b[i], 1e-9) << y;
    }
}

// Which heights of the ground a pass keeps: the main image drops what the water surface
// covers (waves 2, offset 1: swell -6..6; rings 0.5: -16..16 with them), the mirror
// images what their programs discard.
TEST(GroundCut, EachPassKeepsTheGroundItCanShow)
{
    const WaterSpan swell = swell_span(2.0, 1.0), water = water_surface_span(2.0, 1.0, 0.5);
    EXPECT_EQ((std::vector<double>{swell.lowest, swell.highest, water.lowest, water.highest}),
              (std::vector<double>{-6, 6, -16, 16}));
    // A height kept and one cut away (NAN: nothing is cut).
    struct Case { const char* pass; GroundCut cut; double kept, dropped; } cases[] = {
        {"main, eye above the waves", main_image_cut(true, 500.0, water), -17.9, -18.1},
        {"main, eye among the waves", main_image_cut(true, 16.0, water), NAN, NAN},
        {"main, water surface off", main_image_cut(false, 500.0, water), NAN, NAN},
        {"reflection", reflection_cut(swell), -7.9, -8.1},
        {"refraction", refraction_cut(swell), 9.9, 10.1},
    };
    for (const Case& c : cases) {
        double plane[4];
        ground_cut_plane(c.cut, plane);
        auto kept = [&](double y) { return plane[0] * 3.0 + plane[1] * y + plane[2] * 7.0 + plane[3] >= 0; };
        if (std::isnan(c.kept)) {
            EXPECT_EQ(c.cut.keep, GroundCut::All) << c.pass;
            continue;
        }
        EXPECT_TRUE(kept(c.kept)) << c.pass;
        EXPECT_FALSE(kept(c.dropped)) << c.pass;
    }
}

// The corners of a 90-degree view of `aspect` from `cam` on the water plane.
WaterCorners corners(const Camera& cam, float aspect, double limit)
{
    float inv[16];
    inverse_frustum_matrix(frustum_bounds(90.0f, aspect, 1.5f, 350000.0f), inv);
    return water_corners_from(cam, inv, limit);
}

Camera water_camera(double x, double y, double z)
{
    Camera cam(90.0f, 1.5f, 350000.0f);
    cam.set_position(x, y, z);
    return cam;
}

HPoint dehomogenise(const HPoint& p) { return {p.x / p.w, p.y / p.w, p.z / p.w, 1.0}; }

TEST(WaterCorners, LookingDownGivesTheFootprintAndRaysAboveTheHorizonOrHittingBeyondTheLimitTakeTheGuard)
{
    Camera cam = water_camera(100, 1000, 200);
    cam.set_str(1, 0, 0);
    cam.set_up(0, 0, -1);
    cam.set_dir(0, 1, 0); // views along -dir: straight down
    WaterCorners c = corners(cam, 1.5f, kWaterGridFarLimit);
    // Half extents at 1000 below: 1000 * tan 45 high, times the aspect wide; up is -z.
    const double expect[4][2] = {{100 - 1500, 200 + 1000}, {100 + 1500, 200 + 1000},
                                 {100 + 1500, 200 - 1000}, {100 - 1500, 200 - 1000}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(c.guarded[i]) << i;
        HPoint p = dehomogenise(c.p[i]);
        EXPECT_NEAR(p.x, expect[i][0], 1e-3) << i;
        EXPECT_NEAR(p.z, expect[i][1], 1e-3) << i;
    }

    // Rays above the horizon take the guard at the limit, and so do hits beyond it. A level
    // view toward -z: the upper corners point 45 degrees up, the lower ones down.
    c = corners(water_camera(50, 500, -20), 1.0f, 10000.0);
    for (int i : {0, 1}) {
        EXPECT_FALSE(c.guarded[i]) << i;
        EXPECT_NEAR(dehomogenise(c.p[i]).z, -20 - 500, 1e-3) << i; // 45 degrees down from 500 high
    }
    for (int i : {2, 3}) {
        ASSERT_TRUE(c.guarded[i]) << i;
        const HPoint& p = c.p[i];
        EXPECT_TRUE(p.w == 1.0 && p.y == 0.0) << i;
        // At the limit, still ahead of the camera: never folded behind it.
        EXPECT_NEAR(p.x - 50, i == 2 ? 10000.0 / std::sqrt(2.0) : -10000.0 / std::sqrt(2.0), 1e-6);
        EXPECT_NEAR(p.z + 20, -10000.0 / std::sqrt(2.0), 1e-6);
    }
    Camera low = water_camera(0, 500, 0);
    low.pitch(-45.001 * kPi / 180.0); // upper edge just below the horizon
    c = corners(low, 1.0f, 20000.0);
    EXPECT_FALSE(c.guarded[0]);
    EXPECT_TRUE(c.guarded[2]);
    for (int i = 0; i < 4; ++i) {
        HPoint q = dehomogenise(c.p[i]);
        EXPECT_LE(std::hypot(q.x, q.z), 20000.0 + 1e-6) << i;
    }
}

using List = std::vector<uint32_t>;

TEST(GridIndices, SmallGridsGiveTheseStrips)
{
    const std::tuple<bool, int, int, List, int> cases[] = { // half or full, the size, the indices and their count
        {false, 2, 2, {0, 2, 1, 3, 3, 3}, 4},
        {false, 3, 3, {0, 3, 1, 4, 2, 5, 5, 5, 8, 5, 7, 4, 6, 3, 6, 6}, 14},
        {false, 8, 1, {}, 0}, // a single row has nothing to draw
        {true, 4, 4, {0, 8, 2, 10, 10, 10}, 4},
        // rows 0 and 2 left to right, then rows 2 and 4 back
        {true, 6, 6, {0, 12, 2, 14, 4, 16, 16, 16, 28, 16, 26, 14, 24, 12, 24, 24}, 14},
        {true, 4, 3, {}, 0},
        {true, 1, 8, {}, 0}, // would index before vertex 0
    };
    for (const auto& [half, w, h, indices, count] : cases) {
        SCOPED_TRACE(testing::Message() << (half ? "half " : "full ") << w << " x " << h);
        GridIndexList l = half ? half_grid_indices(w, h) : full_grid_indices(w, h);
        EXPECT_EQ(l.indices, indices);
        EXPECT_EQ(l.count, count);
    }
}

} // namespace
