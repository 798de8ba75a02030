// The follow camera: where it stands behind the hover, above the ground, and how it aims; and the
// game's own effects, heard from the camera where they happen (MediaSounds decodes the files).
#include "GameplayTestKit.h"

#include "Audio/AudioSystem.h"
#include "Common/Camera.h"
#include "Common/FollowCamera.h"

#include <filesystem>

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

class GameSounds : public ::testing::Test {
protected:
    GameSounds() : previous(std::filesystem::current_path()) { std::filesystem::current_path(game_dir()); }
    ~GameSounds() override { std::filesystem::current_path(previous); }
    std::filesystem::path previous;
};

TEST_F(GameSounds, EffectsAreAudibleFromTheFollowCameraAndFadeWithDistance)
{
    AudioSystem a;
    // The follow camera trails the hover by about 650 units (250 up, 600 back).
    const float listener[3] = {0, 0, 0};
    const float at_player[3] = {0, 250, 600};
    const float across_the_map[3] = {0, 0, 3000};
    float near_volume = effect_loudness(a.fake_max_distance, a.effect_volume, listener, at_player);
    float far_volume = effect_loudness(a.fake_max_distance, a.effect_volume, listener, across_the_map);
    EXPECT_GT(near_volume, 0.5f);
    EXPECT_GT(far_volume, 0.01f) << "a crystal taken far away is still heard";
    EXPECT_LT(far_volume, near_volume / 4.0f);
}

} // namespace
