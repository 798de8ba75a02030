// The follow camera: where it stands behind the hover, above the ground, and how it aims.
#include "GameplayTestKit.h"

#include "Common/Camera.h"
#include "Common/FollowCamera.h"
#include "Terrain/GroundHeight.h"

#include <functional>

namespace {

// A 16 x 16 physics map whose samples are all `value`.
struct FlatGround {
    explicit FlatGround(uint16_t value)
    {
        make_height_map(map, 128, 8, [value](int, int) { return value; });
        lookup.map = &map;
        lookup.scale = {64, 64, 64};
        lookup.translate = {0, -640, 0};
        lookup.sample_height = 0.001f;
    }
    HeightMap map;
    GroundLookup lookup;
};

TEST(FollowCamera, BehindAndAboveAndKeptAboveTheGroundUnderItAndTheHover)
{
    using Case = std::tuple<const char*, uint16_t, double, double, double>;
    for (auto [what, ground, x, z, height] : {
             Case{"open ground: 600 behind, 250 up", 0, 200, 200, 350},
             // 40 physics units are 40 * 64 - 640 = 1920 graphics units; the camera at (200, 200)
             // reads sample (3, 3).
             {"above high ground", 40000, 800, 200, 1920 + 150},
             {"a sample outside the map leaves the height alone", 60000, -5000, -5000, 350}}) {
        FlatGround g(ground);
        Vec3d cam = follow_position(Vec3d(x, 100, z), Vec3d(-1, 0, 0), g.lookup);
        EXPECT_DOUBLE_EQ(cam.x, x - 600) << what;
        EXPECT_NEAR(cam.y, height, 1e-3) << what;
        EXPECT_DOUBLE_EQ(cam.z, z) << what;
    }
    // A hover nose-down: "behind" points up-and-back, the candidate ends below the margin over the hover.
    FlatGround g(0);
    EXPECT_GE(follow_position(Vec3d(200, 100, 200), Vec3d(0, -0.8, 0.6), g.lookup).y, 100 + 162.49999403953552 - 1e-9);
}

TEST(FollowCamera, AimLooksAtTheHoverRaisedSevenDegreesAndStraightAboveKeepsTheAxes)
{
    Camera cam(60, 1.5f, 1000);
    Vec3d p(0, 0, 0), c(-600, 250, 0);
    aim_follow_camera(cam, c, p);
    EXPECT_DOUBLE_EQ(cam.pos.x, -600);
    // Without the 7 degree pitch the view would point down by atan(250/600).
    double down = std::atan2(250.0, 600.0) * 180 / 3.141592653589793;
    EXPECT_NEAR(std::asin(cam.dir.y) * 180 / 3.141592653589793, down - 7.0, 1e-6);
    EXPECT_NEAR(cam.str.y, 0, 1e-12);
    cam.pitch(0.3);
    Vec3d before = cam.dir;
    aim_follow_camera(cam, Vec3d(5, 10, 5), Vec3d(5, 0, 5)); // straight above: no side axis
    EXPECT_NEAR((cam.dir - before).length(), 0, 1e-12);
}

// A 512 x 512 sample map at the game's scales (4 graphics units a sample, heights from -640
// to 1920), its ground at graphics height `height(x, z)` (the sample centres'), as the eye sees it.
struct SeenGround {
    explicit SeenGround(const std::function<double(double, double)>& height)
    {
        map.map_w = map.map_h = 512;
        map.map_data = new uint16_t[512 * 512];
        for (int z = 0; z < 512; ++z)
            for (int x = 0; x < 512; ++x) {
                double h = height((x + 0.5) * 4, (z + 0.5) * 4);
                map.map_data[z * 512 + x] = static_cast<uint16_t>(std::lround((h + 640) / 2560 * 65535));
            }
        ground.map = &map;
        ground.units_per_sample = 4;
        ground.height_range = 2560;
        ground.height_offset = -640;
    }
    HeightMap map;
    GroundHeights ground;
};

// The hover at (1600, 100, 1000) on flat ground at 0, the design's camera 600 behind it along -x
// and 250 up, and what lies between or under the camera.
TEST(FollowCamera, TheCameraRisesUntilTheGroundStaysBelowItsLineOfSightToTheHoverAndBelowItself)
{
    const Vec3d hover(1600, 100, 1000), design(1000, 350, 1000);
    using Case = std::tuple<const char*, double, double, double, bool>; // ridge from x0 to x1 at height h; lifted
    for (auto [what, x0, x1, ridge, lifted] : {
             Case{"open ground", 0, 0, 0, false},
             {"a ridge under the line of sight", 1200, 1240, 200, false},
             {"a ridge across the line of sight", 1200, 1240, 400, true},
             {"a crest just behind the hover", 1450, 1480, 300, true},
             {"a hill the camera stands in", 900, 1100, 500, true},
             {"a cliff behind the hover, higher than any lift", 1440, 1500, 1900, true}}) {
        SCOPED_TRACE(what);
        SeenGround g([x0 = x0, x1 = x1, ridge = ridge](double x, double) { return x >= x0 && x < x1 ? ridge : 0.0; });
        SightClearance c;
        double lift = clearance_lift(hover, design, g.ground, c);
        EXPECT_EQ(lift > 0, lifted);
        if (ridge > 1000) {
            EXPECT_DOUBLE_EQ(lift, c.max_lift);
            continue;
        }
        Vec3d cam = design + Vec3d(0, lift, 0);
        EXPECT_GE(cam.y, g.ground.at(cam.x, cam.z) + c.ground_margin - 1e-6);
        // Along the line the ground keeps the margin (looked at every sample, it may lose a
        // little of it at a sheer edge between two), and where the ground lifted the camera it
        // keeps no more than that.
        double closest = 1e9;
        for (double x = 1004; x <= 1600 - c.near_hover; x += 1) {
            double line = hover.y + (cam.y - hover.y) * (1600 - x) / 600;
            double gap = line - g.ground.at(x, 1000);
            EXPECT_GE(gap, 0.75 * c.sight_margin) << x;
            closest = std::min(closest, gap);
        }
        if (lifted && cam.y > g.ground.at(cam.x, cam.z) + c.ground_margin + 1) {
            EXPECT_LT(closest, c.sight_margin + 3);
        }
    }
}

TEST(FollowCamera, TheLiftRisesWithinAFewFramesFallsSlowlyAndNeverLeavesTheCameraInTheGround)
{
    const Vec3d hover(1600, 100, 1000), design(1000, 350, 1000);
    SeenGround hill([](double x, double) { return x >= 900 && x < 1100 ? 500.0 : 0.0; });
    SeenGround open([](double, double) { return 0.0; });
    const double target = clearance_lift(hover, design, hill.ground);
    ASSERT_GT(target, 300);
    for (double dt : {1.0 / 60, 0.05}) {
        SCOPED_TRACE(dt);
        EasedLift eased;
        double previous = 0, biggest_step = 0;
        for (double t = 0; t < 0.3; t += dt) {
            Vec3d cam = clear_follow_position(hover, design, hill.ground, eased, dt);
            EXPECT_GE(cam.y, 500 + SightClearance().sight_margin - 1e-6) << "in the hill at " << t;
            biggest_step = std::max(biggest_step, eased.lift - previous);
            previous = eased.lift;
        }
        EXPECT_GT(eased.lift, 0.95 * target);
        EXPECT_LT(biggest_step, 0.5 * target) << "the lift jumped";
        // Past the hill the camera comes down over half a second and more.
        clear_follow_position(hover, design, open.ground, eased, 0.1);
        EXPECT_GT(eased.lift, 0.75 * target);
        for (double t = 0; t < 3; t += dt) clear_follow_position(hover, design, open.ground, eased, dt);
        EXPECT_LT(eased.lift, 0.01 * target);
    }
}

} // namespace
