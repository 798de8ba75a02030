// What the landscape looks like: the sky above, sand, grass and rock where they belong,
// water that reflects the sky and the shore and moves, the debug view of the intermediate
// images, and no OpenGL error in a long run with every display switch.
#include "e2e/GameRunner.h"
#include "e2e/LandscapeImage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <string>

namespace {

// Poses in graphics units (the map spans 0 .. 16384 on x and z; the water lies at y = 0),
// yaw and pitch in degrees; yaw 0 looks north (-z), -90 west.
const char* kStartPose = "0 230 100 0 -45";      // the eye's start-up pose
const char* kHighPose = "8192 3000 14000 0 -25"; // high over the south of the island
const char* kShorePose = "15500 60 8000 -90 -4";  // low over the east sea, facing the coast
const char* kSlopePose = "8192 1300 10800 0 -12"; // along the slope of the central tor

GameRun shoot(const char* pose, long frames = 20,
              std::vector<std::pair<std::string, std::string>> env = {})
{
    RunOptions opt;
    opt.frames = frames;
    opt.env = std::move(env);
    opt.env.emplace_back("MOORHOLD_EYE", pose);
    return run_game(opt);
}

void expect_clean(const GameRun& run)
{
    ASSERT_EQ(run.exit_code, 0) << run.log;
    ASSERT_FALSE(run.screenshot.empty()) << run.log;
    EXPECT_EQ(count_of(run.log, "OpenGL ERROR"), 0) << run.log;
    EXPECT_EQ(count_of(run.log, "Failed to compile"), 0) << run.log;
}

TEST(Landscape, HighAboveTheLand)
{
    GameRun run = shoot(kHighPose);
    expect_clean(run);
    const Image& img = run.screenshot;
    Share top = share_of(img, 0, 0, img.width, img.height / 12);
    Share land = share_of(img, 0, img.height * 4 / 10, img.width, img.height);
    std::cout << "top: " << top << "\nland: " << land << "\n";
    EXPECT_GT(top.sky, 0.9);
    EXPECT_GT(land.grass, 0.3);
    EXPECT_GT(land.rock, 0.03);
    EXPECT_GT(land.sand, 0.005);
    EXPECT_GT(land.water, 0.03);
}

TEST(Landscape, LowOverTheWaterFacingTheShore)
{
    GameRun run = shoot(kShorePose);
    expect_clean(run);
    const Image& img = run.screenshot;
    Share top = share_of(img, 0, 0, img.width, img.height / 5);
    Share bottom = share_of(img, 0, img.height * 7 / 10, img.width, img.height);
    std::cout << "top: " << top << "\nbottom: " << bottom << "\n";
    EXPECT_GT(top.sky, 0.9);
    EXPECT_GT(bottom.water, 0.8);
}

TEST(Landscape, AlongASlope)
{
    GameRun run = shoot(kSlopePose);
    expect_clean(run);
    const Image& img = run.screenshot;
    Share top = share_of(img, 0, 0, img.width, img.height / 12);
    Share middle = share_of(img, img.width / 4, img.height / 3, img.width * 3 / 4, img.height * 2 / 3);
    std::cout << "top: " << top << "\nmiddle: " << middle << "\n";
    EXPECT_GT(top.sky, 0.6);
    EXPECT_GT(middle.rock, 0.5);
}

TEST(Landscape, StartPoseLooksDownAtTheSea)
{
    GameRun run = shoot(kStartPose);
    expect_clean(run);
    const Image& img = run.screenshot;
    Share all = share_of(img, 0, 0, img.width, img.height * 9 / 10);
    std::cout << "all: " << all << "\n";
    EXPECT_GT(all.water, 0.7);
    EXPECT_GT(brightness_spread(img, 0, 0, img.width, img.height / 2), 2.0) << "the sea has waves";
}

// The shore is reflected upside down just below the shore line: a greener, darker band
// than the open water further out, which mirrors the sky.
TEST(Landscape, WaterMirrorsTheShoreAndTheSky)
{
    GameRun run = shoot(kShorePose);
    expect_clean(run);
    const Image& img = run.screenshot;
    const int w = img.width, h = img.height;
    // The shore line lies a little below the middle of the image from this pose.
    Rgb shore_band = mean_colour(img, w / 10, h * 50 / 100, w * 6 / 10, h * 56 / 100);
    Rgb open_water = mean_colour(img, w / 10, h * 62 / 100, w * 9 / 10, h * 75 / 100);
    Rgb sky = mean_colour(img, 0, 0, w, h / 5);
    std::cout << "shore band " << shore_band.r << " " << shore_band.g << " " << shore_band.b
              << "\nopen water " << open_water.r << " " << open_water.g << " " << open_water.b
              << "\nsky " << sky.r << " " << sky.g << " " << sky.b << "\n";
    EXPECT_GT(shore_band.g - shore_band.b, open_water.g - open_water.b + 10) << "the shore's green";
    EXPECT_GT(open_water.b, open_water.r + 20) << "open water is blue";
    EXPECT_LT(brightness(open_water), brightness(sky));
}

// Waves move with the game clock; the sky does not.
TEST(Landscape, WavesMoveAndTheSkyStandsStill)
{
    GameRun a = shoot(kShorePose, 20, {{"MOORHOLD_CLOCK_OFFSET", "0"}});
    GameRun b = shoot(kShorePose, 20, {{"MOORHOLD_CLOCK_OFFSET", "1"}});
    expect_clean(a);
    expect_clean(b);
    const int w = a.screenshot.width, h = a.screenshot.height;
    double water = mean_difference(a.screenshot, b.screenshot, 0, h * 6 / 10, w, h * 95 / 100);
    double sky = mean_difference(a.screenshot, b.screenshot, 0, 0, w, h / 5);
    std::cout << "water " << water << " sky " << sky << "\n";
    EXPECT_GT(water, 1.0);
    EXPECT_LT(sky, 0.2);
}

// L freezes the waves: a second later the water looks the same.
TEST(Landscape, FrozenWavesStandStill)
{
    GameRun a = shoot(kShorePose, 20, {{"MOORHOLD_CLOCK_OFFSET", "0"}, {"MOORHOLD_TOGGLE", "L"}});
    GameRun b = shoot(kShorePose, 20, {{"MOORHOLD_CLOCK_OFFSET", "1"}, {"MOORHOLD_TOGGLE", "L"}});
    expect_clean(a);
    expect_clean(b);
    const int w = a.screenshot.width, h = a.screenshot.height;
    double water = mean_difference(a.screenshot, b.screenshot, 0, h * 6 / 10, w, h * 95 / 100);
    std::cout << "water " << water << "\n";
    EXPECT_LT(water, 0.2);
}

// I shows the six intermediate images as tiles along the bottom of the window.
TEST(Landscape, DebugViewShowsSixImages)
{
    GameRun plain = shoot(kHighPose);
    GameRun debug = shoot(kHighPose, 20, {{"MOORHOLD_TOGGLE", "I"}});
    expect_clean(plain);
    expect_clean(debug);
    const Image& img = debug.screenshot;
    const int tile = img.width / 6;
    const char* names[6] = {"reflection", "refraction", "shadow map", "water grid", "rings", "ring normals"};
    for (int i = 0; i < 6; ++i) {
        int x0 = i * tile + 4, x1 = (i + 1) * tile - 6;
        int y0 = img.height - tile + 6, y1 = img.height - 30; // above the score line
        Rgb c = mean_colour(img, x0, y0, x1, y1);
        double changed = mean_difference(plain.screenshot, img, x0, y0, x1, y1);
        std::cout << names[i] << ": " << c.r << " " << c.g << " " << c.b << " changed " << changed << "\n";
        EXPECT_GT(brightness(c), 20.0) << names[i] << " is not black";
        EXPECT_GT(changed, 8.0) << names[i] << " is drawn over the scene";
    }
    // The reflection shows sky and land, the refraction the ground under the shallows, the
    // water grid its stripes.
    const int y0 = img.height - tile + 6, y1 = img.height - 30;
    EXPECT_GT(brightness_spread(img, 4, y0, tile - 6, y1), 10.0);
    EXPECT_GT(brightness_spread(img, tile + 4, y0, 2 * tile - 6, y1), 5.0);
    EXPECT_GT(brightness_spread(img, 3 * tile + 4, y0, 4 * tile - 6, y1), 10.0);
}

// A long run through every pass with the debug view on, and one with every display switch
// flipped, report no OpenGL error.
TEST(Landscape, ThreeHundredFramesWithoutOpenGLErrors)
{
    GameRun run = shoot(kHighPose, 300, {{"MOORHOLD_TOGGLE", "I"}});
    expect_clean(run);
}

TEST(Landscape, EveryDisplaySwitchRunsWithoutOpenGLErrors)
{
    GameRun run = shoot(kHighPose, 40, {{"MOORHOLD_TOGGLE", "N,K,L,F3,F8,C,B,I"}});
    expect_clean(run);
}

// B cycles the terrain to the plain colour program: the land still looks like land.
TEST(Landscape, PlainTerrainProgramShowsTheSameLand)
{
    GameRun parallax = shoot(kHighPose);
    GameRun plain = shoot(kHighPose, 20, {{"MOORHOLD_TOGGLE", "B"}});
    expect_clean(parallax);
    expect_clean(plain);
    const Image& img = plain.screenshot;
    Share land = share_of(img, 0, img.height * 4 / 10, img.width, img.height);
    EXPECT_GT(land.grass, 0.3);
    EXPECT_LT(mean_difference(parallax.screenshot, img, 0, 0, img.width, img.height), 12.0);
}

// N switches the water surface off: the ground under the water shows instead.
TEST(Landscape, WithoutTheBufferPassTheWaterSurfaceIsGone)
{
    GameRun with = shoot(kShorePose);
    GameRun without = shoot(kShorePose, 20, {{"MOORHOLD_TOGGLE", "N"}});
    expect_clean(with);
    expect_clean(without);
    const int w = with.screenshot.width, h = with.screenshot.height;
    double water = mean_difference(with.screenshot, without.screenshot, 0, h * 6 / 10, w, h);
    double sky = mean_difference(with.screenshot, without.screenshot, 0, 0, w, h / 5);
    std::cout << "water " << water << " sky " << sky << "\n";
    EXPECT_GT(water, 10.0);
    EXPECT_LT(sky, 0.2);
}

} // namespace

// The scene drawn at half the window's size and stretched over it shows the same view: the
// same horizon, shore and slope, only softer.
TEST(Landscape, AHalfSizeSceneImageShowsTheSameView)
{
    auto at_scale = [](const char* scale) {
        RunOptions opt;
        opt.frames = 20;
        opt.env = {{"MOORHOLD_EYE", kSlopePose}};
        opt.prepare = [scale](const std::filesystem::path& dir) { set_key(dir / "config" / "gfx.p", "render_scale", scale); };
        return run_game(opt);
    };
    GameRun full = at_scale("1.0");
    GameRun half = at_scale("0.5");
    expect_clean(full);
    expect_clean(half);
    const int w = full.screenshot.width, h = full.screenshot.height;
    double difference = mean_difference(full.screenshot, half.screenshot, w / 5, 0, w, h);
    std::cout << "mean difference, full against half size: " << difference << "\n";
    EXPECT_LT(difference, 6.0);
}
