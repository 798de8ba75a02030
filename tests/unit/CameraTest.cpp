#include "Common/Camera.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

const double kDeg = 3.141592653589793 / 180.0;

void expect_orthonormal(const Camera& c)
{
    // Unit str and up whose cross product is dir: orthonormal and right-handed.
    EXPECT_NEAR(c.str.length(), 1.0, 1e-9);
    EXPECT_NEAR(c.up.length(), 1.0, 1e-9);
    EXPECT_NEAR(c.str.dot(c.up), 0.0, 1e-9);
    EXPECT_NEAR((c.str.cross(c.up) - c.dir).length(), 0.0, 1e-9);
}

TEST(CameraRotation, PitchTurnsTheViewUpYawAboutUpRollAboutTheViewAndTheAxesStayOrthonormal)
{
    Camera c(60, 1.5f, 1000);
    c.pitch(10 * kDeg);
    EXPECT_NEAR(-c.dir.y, std::sin(10 * kDeg), 1e-9) << "the view looks along -dir";
    c.pitch(-55 * kDeg);
    EXPECT_NEAR(-c.dir.y, std::sin(-45 * kDeg), 1e-9);
    Camera y(60, 1.5f, 1000);
    y.yaw(90 * kDeg);
    EXPECT_NEAR(std::fabs(y.dir.x), 1.0, 1e-9);
    y.roll(30 * kDeg);
    EXPECT_NEAR(std::fabs(y.dir.x), 1.0, 1e-9);
    EXPECT_NEAR(y.up.y, std::cos(30 * kDeg), 1e-9);
    for (int i = 0; i < 500; ++i) {
        c.pitch((i % 7 - 3) * 3.1 * kDeg);
        c.yaw((i % 5 - 2) * 7.3 * kDeg);
        c.roll((i % 3 - 1) * 11.9 * kDeg);
    }
    expect_orthonormal(c);
}

TEST(Frustum, SpheresInsideOutsideAndWithinTheMarginAndTheVisibilityCapsTheFarPlane)
{
    Camera cam(90, 1, 1000); // at the origin, looking along -z, 90 degrees
    cam.set_aspect(1);
    cam.update_frustum(1.0e9f);
    // Behind; right of the 45 degree side, by 2/sqrt(2); before the near plane; beyond the far plane; and a
    // negative margin widens. A copy culls as the original does.
    const Camera copy(cam);
    for (auto [x, y, z, margin, visible] :
         {std::tuple{0.0f, 0.0f, -10.0f, 0.0f, true}, {0, 0, 10, 0, false}, {12, 0, -10, 0, false},
          {0, 0, -0.5f, 0, false}, {0, 0, -1001, 0, false}, {12, 0, -10, -1.5f, true}, {12, 0, -10, -1.3f, false}})
        for (const Camera* c : {static_cast<const Camera*>(&cam), &copy})
            EXPECT_EQ(c->sphere_visible(x, y, z, margin), visible) << x << " " << y << " " << z << " " << margin;
    // Exactly on the margin counts as visible.
    EXPECT_TRUE(cam.sphere_visible(0, 0, -10, std::min(cam.planes[0].distance(0, 0, -10), 1.0f)));
    // The visibility caps the far plane's offset: the smaller of dir.F (4000) and it.
    cam.set_position(0, 0, 5000);
    cam.update_frustum(4800);
    EXPECT_TRUE(cam.sphere_visible(0, 0, 4100, 0));
    cam.update_frustum(3000);
    EXPECT_FALSE(cam.sphere_visible(0, 0, 2900, 0));
    EXPECT_TRUE(cam.sphere_visible(0, 0, 3100, 0));
}

TEST(ViewMatrix, RowsAreAxesAndTranslationUsesAxesAsGiven)
{
    double pos[3] = {1, 2, 3};
    double s[3] = {2, 0, 0}, u[3] = {0, 1, 0}, d[3] = {0, 0, 1};
    float m[16];
    Camera::view_matrix(pos, s, u, d, m);
    EXPECT_DOUBLE_EQ(s[0], 1.0); // normalised in place
    // The translation is -(2, 0, 0).(1, 2, 3) and so on, from the axes before normalising.
    const float expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -2, -2, -3, 1};
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(m[i], expected[i]) << i;
}

TEST(GridView, TurnsTheViewDownByTiltPlus45LevelledAndLifted)
{
    const double any = -1; // not checked
    struct Case {
        const char* what;
        double y, pitch, roll, tilt, lift, below, height; // below: degrees below the horizon after
    } cases[] = {
        {"horizontal: turned down by tilt + 45, lifted by (1 - 0) * lift", 500, 0, 0, 1.75, 1250, 46.75, 1750},
        {"straight down: left alone, raised to 50, then lifted at least 500", 20, -90, 0, 0.636, 1250, 90, 550},
        {"already below 45 + tilt, no lift", 300, -60, 0, 0.0025, 0, 60, 300},
        {"rolled: levelled, then turned down to 45", 300, -20, 35, 0, 0, 45, 300},
        {"straight up: no horizontal turning axis, turned down anyway", 100, 90, 0, 0, 0, any, 2500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Camera eye(60, 1.5f, 350000);
        eye.set_position(10, c.y, 20);
        eye.pitch(c.pitch * kDeg);
        eye.roll(c.roll * kDeg);
        Camera aux(eye);
        aux.derive_grid_view(eye, c.tilt, c.lift);
        expect_orthonormal(aux);
        EXPECT_NEAR(aux.str.y, 0.0, 1e-9);
        const double below = std::asin(aux.dir.y) / kDeg; // the view is -dir
        EXPECT_TRUE(c.below == any ? below > 0.0 : std::fabs(below - c.below) < 1e-6) << below;
        EXPECT_DOUBLE_EQ(aux.pos.y, c.height);
        EXPECT_DOUBLE_EQ(aux.pos.x, 10);
    }
}

TEST(CameraPath, ThirteenNumbersMakeAKeyframeLeftOversStartAnotherAndEmptyTextHasNone)
{
    std::string text;
    for (int i = 0; i < 26; ++i) text += std::to_string(i) + (i % 3 ? "\t" : "\r\n");
    auto frames = parse_camera_path(text.c_str());
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_DOUBLE_EQ(frames.front().dir.z, 12);
    EXPECT_DOUBLE_EQ(frames.back().time, 13);
    frames = parse_camera_path((text + "26").c_str());
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_DOUBLE_EQ(frames.back().time, 26);
    EXPECT_DOUBLE_EQ(frames.back().dir.z, 0);
    // Bad tokens count as numbers but store nothing.
    frames = parse_camera_path("1.5 abc 3 4x\v5 6 7 8 9 10 11 12 13");
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_DOUBLE_EQ(frames.front().pos.x, 0); // "abc"
    EXPECT_DOUBLE_EQ(frames.front().dir.z, 13);
    EXPECT_TRUE(parse_camera_path(" \n\t ").empty());
    // From a file; a copy starts without the path.
    TempDir dir;
    Camera c(60, 1, 10);
    c.load_path(dir.write("path.txt", "0 1 2 3 1 0 0 0 1 0 0 0 1\n").c_str());
    ASSERT_EQ(c.keyframes.size(), 1u);
    EXPECT_DOUBLE_EQ(c.keyframes.front().pos.z, 3);
    Camera copy(c);
    EXPECT_TRUE(copy.keyframes.empty());
}

} // namespace
