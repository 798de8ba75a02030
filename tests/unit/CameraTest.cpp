#include "Common/Camera.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const double kDeg = 3.141592653589793 / 180.0;

void expect_orthonormal(const Camera& c)
{
    EXPECT_NEAR(c.str.length(), 1.0, 1e-9);
    EXPECT_NEAR(c.up.length(), 1.0, 1e-9);
    EXPECT_NEAR(c.dir.length(), 1.0, 1e-9);
    EXPECT_NEAR(c.str.dot(c.up), 0.0, 1e-9);
    EXPECT_NEAR(c.str.dot(c.dir), 0.0, 1e-9);
    EXPECT_NEAR(c.up.dot(c.dir), 0.0, 1e-9);
    // Right-handed: str x up = dir.
    Vec3d cross = c.str.cross(c.up);
    EXPECT_NEAR((cross - c.dir).length(), 0.0, 1e-9);
}

TEST(CameraRotation, ManyMixedRotationsKeepAxesOrthonormal)
{
    Camera c(60, 1.5f, 1000);
    for (int i = 0; i < 500; ++i) {
        c.pitch((i % 7 - 3) * 3.1 * kDeg);
        c.yaw((i % 5 - 2) * 7.3 * kDeg);
        c.roll((i % 3 - 1) * 11.9 * kDeg);
    }
    expect_orthonormal(c);
}

TEST(CameraRotation, PositivePitchTurnsTheViewUp)
{
    Camera c(60, 1.5f, 1000);
    c.pitch(10 * kDeg);
    // The view looks along -dir.
    EXPECT_GT(-c.dir.y, 0.0);
    EXPECT_NEAR(-c.dir.y, std::sin(10 * kDeg), 1e-9);
    c.pitch(-55 * kDeg);
    EXPECT_NEAR(-c.dir.y, std::sin(-45 * kDeg), 1e-9);
}

TEST(CameraRotation, YawTurnsAboutUpAndRollAboutView)
{
    Camera c(60, 1.5f, 1000);
    c.yaw(90 * kDeg);
    EXPECT_NEAR(c.up.y, 1.0, 1e-9);
    EXPECT_NEAR(std::fabs(c.dir.x), 1.0, 1e-9);
    Camera r(60, 1.5f, 1000);
    Vec3d before = r.dir;
    r.roll(30 * kDeg);
    EXPECT_NEAR((r.dir - before).length(), 0.0, 1e-9);
    EXPECT_NEAR(r.up.y, std::cos(30 * kDeg), 1e-9);
    expect_orthonormal(r);
}

TEST(CameraMove, MovesAgainstTheAxes)
{
    Camera c(60, 1.5f, 1000);
    c.move_dir(5);
    EXPECT_DOUBLE_EQ(c.pos.z, -5); // forward is -dir
    c.move_up(-2);
    EXPECT_DOUBLE_EQ(c.pos.y, 2);
    c.move_str(3);
    EXPECT_DOUBLE_EQ(c.pos.x, -3);
}

TEST(CameraAspect, HalfExtentsFollowFieldOfView)
{
    Camera c(90, 2, 100);
    c.set_aspect(1.5f);
    EXPECT_NEAR(c.tan_half_fov, 1.0, 1e-6);
    EXPECT_NEAR(c.near_half_height, 2.0, 1e-6);
    EXPECT_NEAR(c.near_half_width, 3.0, 1e-6);
    EXPECT_NEAR(c.far_half_height, 100.0, 1e-4);
    EXPECT_NEAR(c.far_half_width, 150.0, 1e-4);
}

class FrustumTest : public ::testing::Test {
protected:
    FrustumTest() : cam(90, 1, 1000)
    {
        cam.set_aspect(1);
        cam.update_frustum(1.0e9f);
    }
    Camera cam; // at the origin, looking along -z, 90 degrees
};

TEST_F(FrustumTest, PointsInsideAndOutside)
{
    EXPECT_TRUE(cam.sphere_visible(0, 0, -10, 0));
    EXPECT_TRUE(cam.sphere_visible(8, -8, -10, 0));
    EXPECT_FALSE(cam.sphere_visible(0, 0, 10, 0));    // behind
    EXPECT_FALSE(cam.sphere_visible(12, 0, -10, 0));  // right of the 45 degree side
    EXPECT_FALSE(cam.sphere_visible(0, 0, -0.5f, 0)); // before the near plane
    EXPECT_FALSE(cam.sphere_visible(0, 0, -1001, 0)); // beyond the far plane
}

TEST_F(FrustumTest, PlanesPointInward)
{
    for (const FrustumPlane& p : cam.planes) EXPECT_GT(p.distance(0, 0, -10), 0.0f);
    // The side plane through the 45 degree edge: distance of (12, 0, -10) is -2/sqrt(2).
    EXPECT_NEAR(cam.planes[3].distance(12, 0, -10), -std::sqrt(2.0f), 1e-4);
}

TEST_F(FrustumTest, MarginWidensOrNarrows)
{
    // 2 units right of the side: about 1.41 outside.
    EXPECT_TRUE(cam.sphere_visible(12, 0, -10, -1.5f));
    EXPECT_FALSE(cam.sphere_visible(12, 0, -10, -1.3f));
    // Well inside, but not by 1000 units: a positive margin demands that much.
    EXPECT_FALSE(cam.sphere_visible(0, 0, -10, 1000));
    // Exactly on the margin counts as visible.
    float d = cam.planes[0].distance(0, 0, -10);
    EXPECT_TRUE(cam.sphere_visible(0, 0, -10, std::min(d, 1.0f)));
}

TEST(Frustum, VisibilityCapsTheFarPlane)
{
    Camera c(90, 1, 1000);
    c.set_aspect(1);
    c.set_position(0, 0, 5000);
    c.update_frustum(4800); // the far plane's offset: the smaller of dir.F (4000) and 4800
    EXPECT_TRUE(c.sphere_visible(0, 0, 4100, 0));
    c.update_frustum(3000);
    EXPECT_FALSE(c.sphere_visible(0, 0, 2900, 0));
    EXPECT_TRUE(c.sphere_visible(0, 0, 3100, 0));
}

TEST(ViewMatrix, RowsAreAxesAndTranslationUsesAxesAsGiven)
{
    double pos[3] = {1, 2, 3};
    double s[3] = {2, 0, 0}, u[3] = {0, 1, 0}, d[3] = {0, 0, 1};
    float m[16];
    Camera::view_matrix(pos, s, u, d, m);
    EXPECT_DOUBLE_EQ(s[0], 1.0); // normalised in place
    EXPECT_FLOAT_EQ(m[0], 1);
    EXPECT_FLOAT_EQ(m[5], 1);
    EXPECT_FLOAT_EQ(m[10], 1);
    EXPECT_FLOAT_EQ(m[12], -2); // -(2,0,0).(1,2,3) before normalising
    EXPECT_FLOAT_EQ(m[13], -2);
    EXPECT_FLOAT_EQ(m[14], -3);
    EXPECT_FLOAT_EQ(m[15], 1);
    EXPECT_FLOAT_EQ(m[3], 0);
}

TEST(CameraPrint, PositionAndAxes)
{
    Camera c(60, 1, 10);
    c.set_position(1, 2, 3);
    testing::internal::CaptureStdout();
    c.print(false);
    std::string all = testing::internal::GetCapturedStdout();
    EXPECT_EQ(all, "\nipos = 1.000000 \t 2.000000 \t 3.000000\nistr = 1.000000 \t 0.000000 \t 0.000000\n"
                   "iup  = 0.000000 \t 1.000000 \t 0.000000\nidir = 0.000000 \t 0.000000 \t 1.000000\n\n");
    testing::internal::CaptureStdout();
    c.print(true);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nipos = 1.000000 \t 2.000000 \t 3.000000\n\n");
}

// How far below the horizon the view of `c` points, in degrees.
double view_below_horizon(const Camera& c) { return std::asin(c.dir.y) / kDeg; }

TEST(GridView, HorizontalViewIsTurnedDownByTiltPlus45)
{
    Camera eye(60, 1.5f, 350000);
    eye.set_position(10, 500, 20);
    Camera aux(eye);
    aux.derive_grid_view(eye, 1.75, 1250.0);
    EXPECT_NEAR(view_below_horizon(aux), 46.75, 1e-6);
    expect_orthonormal(aux);
    EXPECT_DOUBLE_EQ(aux.pos.y, 500 + 1250); // (1 - 0) * 1250
    EXPECT_DOUBLE_EQ(aux.pos.x, 10);
}

TEST(GridView, SteepViewDownIsLeftAloneAndLiftedAtLeast500)
{
    Camera eye(60, 1.5f, 350000);
    eye.set_position(0, 20, 0);
    eye.pitch(-90 * kDeg); // straight down
    Camera aux(eye);
    aux.derive_grid_view(eye, 0.636, 1250.0);
    EXPECT_NEAR(view_below_horizon(aux), 90.0, 1e-6);
    EXPECT_DOUBLE_EQ(aux.pos.y, 50 + 500); // raised to 50 first, then the minimum lift
}

TEST(GridView, NoLiftWithoutLiftArgument)
{
    Camera eye(60, 1.5f, 350000);
    eye.set_position(0, 300, 0);
    eye.pitch(-60 * kDeg);
    Camera aux(eye);
    aux.derive_grid_view(eye, 0.0025, 0.0);
    EXPECT_DOUBLE_EQ(aux.pos.y, 300);
    EXPECT_NEAR(view_below_horizon(aux), 60.0, 1e-6); // already below 45 + tilt
}

TEST(GridView, RolledViewIsLevelled)
{
    Camera eye(60, 1.5f, 350000);
    eye.set_position(0, 300, 0);
    eye.pitch(-20 * kDeg);
    eye.roll(35 * kDeg);
    Camera aux(eye);
    aux.derive_grid_view(eye, 0, 0);
    EXPECT_NEAR(aux.str.y, 0.0, 1e-9);
    expect_orthonormal(aux);
}

TEST(GridView, ViewStraightUpIsTurnedDownWithoutFailing)
{
    Camera eye(60, 1.5f, 350000);
    eye.set_position(0, 100, 0);
    eye.pitch(90 * kDeg); // straight up: no horizontal turning axis
    Camera aux(eye);
    aux.derive_grid_view(eye, 0, 0);
    expect_orthonormal(aux);
    EXPECT_GT(view_below_horizon(aux), 0.0);
    EXPECT_DOUBLE_EQ(aux.pos.y, 2500);
}

TEST(CameraPath, TwentySixNumbersMakeTwoKeyframes)
{
    std::string text;
    for (int i = 0; i < 26; ++i) text += std::to_string(i) + (i % 3 ? "\t" : "\r\n");
    auto frames = parse_camera_path(text.c_str());
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_DOUBLE_EQ(frames.front().time, 0);
    EXPECT_DOUBLE_EQ(frames.front().dir.z, 12);
    EXPECT_DOUBLE_EQ(frames.back().time, 13);
    EXPECT_DOUBLE_EQ(frames.back().pos.x, 14);
}

TEST(CameraPath, TwentySeventhNumberStartsAThirdKeyframe)
{
    std::string text;
    for (int i = 0; i < 27; ++i) text += std::to_string(i + 1) + " ";
    auto frames = parse_camera_path(text.c_str());
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_DOUBLE_EQ(frames.back().time, 27);
    EXPECT_DOUBLE_EQ(frames.back().pos.x, 0);
    EXPECT_DOUBLE_EQ(frames.back().dir.z, 0);
}

TEST(CameraPath, BadTokensCountButAreNotStored)
{
    auto frames = parse_camera_path("1.5 abc 3 4x\v5 6 7 8 9 10 11 12 13");
    ASSERT_EQ(frames.size(), 1u);
    const CameraKeyframe& k = frames.front();
    EXPECT_DOUBLE_EQ(k.time, 1.5);
    EXPECT_DOUBLE_EQ(k.pos.x, 0); // "abc"
    EXPECT_DOUBLE_EQ(k.pos.y, 3);
    EXPECT_DOUBLE_EQ(k.pos.z, 0); // "4x"
    EXPECT_DOUBLE_EQ(k.str.x, 5);
    EXPECT_DOUBLE_EQ(k.dir.z, 13);
}

TEST(CameraPath, EmptyTextHasNoKeyframes)
{
    EXPECT_TRUE(parse_camera_path("").empty());
    EXPECT_TRUE(parse_camera_path(" \n\t ").empty());
}

TEST(CameraPath, LoadPathReadsAFileAndCopyStartsEmpty)
{
    TempDir dir;
    Camera c(60, 1, 10);
    testing::internal::CaptureStdout();
    c.load_path(dir.write("path.txt", "0 1 2 3 1 0 0 0 1 0 0 0 1\n").c_str());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n");
    ASSERT_EQ(c.keyframes.size(), 1u);
    EXPECT_DOUBLE_EQ(c.keyframes.front().pos.z, 3);
    Camera copy(c);
    EXPECT_TRUE(copy.keyframes.empty());
    EXPECT_EQ(copy.fov, c.fov);
}

} // namespace
