#include "Common/Camera.h"
#include "Common/Projection.h"
#include "Gfx/GridMath.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// pot and tilt of the terrain grid from the view's slope d (weighted 1 - d^2, floored at
// 0.3636) and the eye's height: full below 800, easing over the ramp to 16000.
TEST(GridSpread, SlopeAndHeightSetPotAndTilt)
{
    struct Case {
        double dir_y, eye_y;
        float pot, tilt;
    } cases[] = {
        {-1.0, 500.0, 1.0f, 0.63636363f},     // straight down, low
        {0.0, 500.0, 2.75f, 1.75f},           // level, low
        {0.0, 8400.0, 2.75f * (0.5f + 0.5f * 0.36363636f), 1.75f + 3.0f}, // half way up the ramp
        {0.0, 20000.0, 1.0f, 1.75f + 6.0f},   // high above: the pot shrinks, but never below one
    };
    for (const Case& c : cases) {
        GridSpread g = grid_spread(c.dir_y, c.eye_y);
        EXPECT_NEAR(g.pot, c.pot, 1e-5f) << c.dir_y << " at " << c.eye_y;
        EXPECT_NEAR(g.tilt, c.tilt, 1e-5f) << c.dir_y << " at " << c.eye_y;
    }
    EXPECT_FLOAT_EQ(grid_spread(0.0, 800.0).pot, grid_spread(0.0, 800.0001).pot);
    EXPECT_NEAR(grid_spread(0.0, 16000.0).tilt, grid_spread(0.0, 16000.5).tilt, 1e-4f);
}

const double kPi = 3.141592653589793;

// The corners of a 90-degree view of `aspect` from `cam` on the water plane.
WaterCorners corners(const Camera& cam, float aspect, double limit)
{
    float inv[16];
    inverse_frustum_matrix(frustum_bounds(90.0f, aspect, 1.5f, 350000.0f), inv);
    return water_corners_from(cam, inv, limit);
}

HPoint dehomogenise(const HPoint& p) { return {p.x / p.w, p.y / p.w, p.z / p.w, 1.0}; }

TEST(WaterCorners, LookingStraightDownGivesTheFootprint)
{
    Camera cam(90.0f, 1.5f, 350000.0f);
    cam.set_position(100, 1000, 200);
    cam.set_str(1, 0, 0);
    cam.set_up(0, 0, -1);
    cam.set_dir(0, 1, 0); // views along -dir: straight down
    WaterCorners c = corners(cam, 1.5f, kWaterGridFarLimit);
    // Half extents at 1000 below: 1000 * tan 45 high, times the aspect wide; the view's
    // up axis points to -z.
    const double expect[4][2] = {{100 - 1500, 200 + 1000}, {100 + 1500, 200 + 1000},
                                 {100 + 1500, 200 - 1000}, {100 - 1500, 200 - 1000}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(c.guarded[i]) << i;
        HPoint p = dehomogenise(c.p[i]);
        EXPECT_NEAR(p.x, expect[i][0], 1e-3) << i;
        EXPECT_NEAR(p.z, expect[i][1], 1e-3) << i;
    }
}

TEST(WaterCorners, RaysAboveTheHorizonTakeTheGuard)
{
    Camera cam(90.0f, 1.5f, 350000.0f);
    cam.set_position(50, 500, -20);
    // Level view toward -z: the upper corners point 45 degrees up, the lower ones down.
    WaterCorners c = corners(cam, 1.0f, 10000.0);
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
}

TEST(WaterCorners, AHitBeyondTheLimitIsPulledIn)
{
    Camera cam(90.0f, 1.5f, 350000.0f);
    cam.set_position(0, 500, 0);
    cam.pitch(-45.001 * kPi / 180.0); // upper edge just below the horizon
    WaterCorners c = corners(cam, 1.0f, 20000.0);
    EXPECT_FALSE(c.guarded[0]);
    EXPECT_TRUE(c.guarded[2]);
    for (int i = 0; i < 4; ++i) {
        HPoint q = dehomogenise(c.p[i]);
        EXPECT_LE(std::hypot(q.x, q.z), 20000.0 + 1e-6) << i;
    }
}

} // namespace
