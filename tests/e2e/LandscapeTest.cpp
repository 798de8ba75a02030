// What the landscape looks like: the sky above, sand, grass and rock where they belong, water
// that reflects the sky and the shore and moves, the debug view of the intermediate images,
// firs on the moor and none in the inlet, and the bridge spanning the inlet with its planks.
#include "e2e/GameRunner.h"
#include "e2e/LandscapeImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

// Poses in graphics units (the map spans 0 .. 16384 on x and z; the water lies at y = 0),
// yaw and pitch in degrees; yaw 0 looks north (-z), -90 west.
const char* kHighPose = "8192 3000 14000 0 -25"; // high over the south of the island
const char* kShorePose = "15500 60 8000 -90 -4";  // low over the east sea, facing the coast
const char* kSlopePose = "8192 1300 10800 0 -12"; // along the slope of the central tor
const char* kMoorPose = "4430 900 5900 0 -18";    // over the upper moor, north along the inlet and its bridge

// The landscape from a held eye, without the radar over its top-right corner (X among the
// start-up toggles): these judge the land, the water and the sky alone.
GameRun shoot(const char* pose, Env env = {}, long frames = 20, Prepare prepare = nullptr)
{
    env.emplace_back("MOORHOLD_EYE", pose);
    auto toggles = std::find_if(env.begin(), env.end(), [](const auto& kv) { return kv.first == "MOORHOLD_TOGGLE"; });
    if (toggles == env.end())
        env.emplace_back("MOORHOLD_TOGGLE", "X");
    else
        toggles->second += ",X";
    return run_game(frames, std::move(env), std::move(prepare), true);
}

// Fraction of a region, given in hundredths of the image's width and height, passing `is`.
template <class F>
double share(const Image& img, int x0, int y0, int x1, int y1, F is)
{
    return fraction_where(img, img.width * x0 / 100, img.height * y0 / 100, img.width * x1 / 100,
                          img.height * y1 / 100, is);
}

// A fir's needles: a dark, strongly green pixel (the grass is lighter and yellower).
bool fir(const unsigned char* p)
{
    int r = p[0], g = p[1], b = p[2];
    return g > 1.5 * r && g > 1.25 * b && (r + g + b) / 3 < 85;
}

// A plank: brown wood, red over green over blue.
bool plank(const unsigned char* p)
{
    int r = p[0], g = p[1], b = p[2];
    return r > g + 12 && g > b + 8 && r > 70 && r < 200;
}

// High over the island: either terrain program (B), I's six intermediate images along the
// bottom, and every display switch at once without an OpenGL error.
TEST(Landscape, HighAboveTheLandWithEitherProgramTheDebugViewAndEverySwitch)
{
    GameRun parallax = shoot(kHighPose);
    GameRun plain = shoot(kHighPose, {{"MOORHOLD_TOGGLE", "B"}});
    GameRun debug = shoot(kHighPose, {{"MOORHOLD_TOGGLE", "I"}}, 300);
    for (const GameRun* r : {&parallax, &plain, &debug}) ASSERT_TRUE(ran_cleanly(*r));
    EXPECT_TRUE(ran_cleanly(shoot(kHighPose, {{"MOORHOLD_TOGGLE", "N,K,L,F3,F8,C,B,I"}}, 40)));
    const Image& img = parallax.screenshot;
    const int w = img.width, h = img.height;
    EXPECT_GT(share_of(img, 0, 0, w, h / 12).sky, 0.9);
    Share land = share_of(img, 0, h * 4 / 10, w, h);
    EXPECT_GT(land.grass, 0.3) << land;
    EXPECT_GT(land.rock, 0.03) << land;
    EXPECT_GT(land.sand, 0.005) << land;
    EXPECT_GT(land.water, 0.03) << land;
    EXPECT_GT(share_of(plain.screenshot, 0, h * 4 / 10, w, h).grass, 0.3);
    EXPECT_LT(mean_difference(img, plain.screenshot, 0, 0, w, h), 12.0);

    const Image& dbg = debug.screenshot;
    const int tile = w / 6;
    const int y0 = h - tile + 6, y1 = h - 30; // above the score line
    const char* names[6] = {"reflection", "refraction", "shadow map", "water grid", "rings", "ring normals"};
    for (int i = 0; i < 6; ++i) {
        int x0 = i * tile + 4, x1 = (i + 1) * tile - 6;
        EXPECT_GT(brightness(mean_colour(dbg, x0, y0, x1, y1)), 20.0) << names[i] << " is not black";
        EXPECT_GT(mean_difference(img, dbg, x0, y0, x1, y1), 8.0) << names[i] << " is drawn over the scene";
    }
    // The reflection shows sky and land, the refraction the ground under the shallows, the
    // water grid its stripes.
    EXPECT_GT(brightness_spread(dbg, 4, y0, tile - 6, y1), 10.0);
    EXPECT_GT(brightness_spread(dbg, tile + 4, y0, 2 * tile - 6, y1), 5.0);
    EXPECT_GT(brightness_spread(dbg, 3 * tile + 4, y0, 4 * tile - 6, y1), 10.0);
}

// Low over the sea: the shore's reflection is a greener band than the open water, which mirrors
// the sky; the waves move with the game clock, L freezes them and N takes the surface away.
TEST(Landscape, LowOverTheWaterFacingTheShoreWithMovingAndFrozenWaves)
{
    // A run's clock is its own ticks plus the offset: two runs also differ by how long each
    // took to reach its last frame, a second and more on a loaded machine, so "later" is
    // well beyond that. The runs compared above the water start 3 s on, past the option
    // message that the game's first 2 s show at the top (a quick start reaches its last
    // frame within them).
    const char* start = "3";
    const char* later_by = "6";
    GameRun run = shoot(kShorePose, {{"MOORHOLD_CLOCK_OFFSET", start}});
    GameRun later = shoot(kShorePose, {{"MOORHOLD_CLOCK_OFFSET", "9"}}); // start + later_by
    GameRun without = shoot(kShorePose, {{"MOORHOLD_CLOCK_OFFSET", start}, {"MOORHOLD_TOGGLE", "N"}});
    GameRun frozen = shoot(kShorePose, {{"MOORHOLD_CLOCK_OFFSET", "0"}, {"MOORHOLD_TOGGLE", "L"}});
    GameRun frozen_later = shoot(kShorePose, {{"MOORHOLD_CLOCK_OFFSET", later_by}, {"MOORHOLD_TOGGLE", "L"}});
    for (const GameRun* r : {&run, &later, &without, &frozen, &frozen_later}) ASSERT_TRUE(ran_cleanly(*r));
    const Image& img = run.screenshot;
    const int w = img.width, h = img.height;
    EXPECT_GT(share_of(img, 0, 0, w, h / 5).sky, 0.9);
    EXPECT_GT(share_of(img, 0, h * 7 / 10, w, h).water, 0.8);

    Rgb shore_band = mean_colour(img, w / 10, h * 50 / 100, w * 6 / 10, h * 56 / 100);
    Rgb open_water = mean_colour(img, w / 10, h * 62 / 100, w * 9 / 10, h * 75 / 100);
    EXPECT_GT(shore_band.g - shore_band.b, open_water.g - open_water.b + 10) << "the shore's green";
    EXPECT_GT(open_water.b, open_water.r + 20) << "open water is blue";
    EXPECT_LT(brightness(open_water), brightness(mean_colour(img, 0, 0, w, h / 5)));

    EXPECT_GT(mean_difference(img, later.screenshot, 0, h * 6 / 10, w, h * 95 / 100), 1.0) << "the waves move";
    EXPECT_LT(mean_difference(img, later.screenshot, 0, 0, w, h / 5), 0.2) << "the sky does not";
    EXPECT_LT(mean_difference(frozen.screenshot, frozen_later.screenshot, 0, h * 6 / 10, w, h * 95 / 100), 0.2);
    EXPECT_GT(mean_difference(img, without.screenshot, 0, h * 6 / 10, w, h), 10.0) << "the surface";
    EXPECT_LT(mean_difference(img, without.screenshot, 0, 0, w, h / 5), 0.2);
}

// The slope of the tor is rock below the sky; the scene drawn at half the window's size
// and stretched over it shows the same view as at full size.
TEST(Landscape, AlongASlopeAtHalfAndFullSize)
{
    auto at_scale = [](const char* scale) {
        return shoot(kSlopePose, {}, 20, [scale](const std::filesystem::path& dir) {
            set_key(dir / "config" / "gfx.p", "render_scale", scale);
        });
    };
    GameRun half = at_scale("0.5");
    GameRun full = at_scale("1.0");
    ASSERT_TRUE(ran_cleanly(half));
    ASSERT_TRUE(ran_cleanly(full));
    const Image& img = half.screenshot;
    const int w = img.width, h = img.height;
    EXPECT_GT(share_of(img, 0, 0, w, h / 12).sky, 0.6);
    EXPECT_GT(share_of(img, w / 4, h / 3, w * 3 / 4, h * 2 / 3).rock, 0.5);
    EXPECT_LT(mean_difference(full.screenshot, img, w / 5, 0, w, h), 6.0);
}

TEST(Scenery, FirsStandOnTheMoorAndABridgeSpansTheInlet)
{
    GameRun run = shoot(kMoorPose);
    ASSERT_TRUE(ran_cleanly(run));
    const Image& img = run.screenshot;
    EXPECT_GT(share(img, 16, 30, 55, 75, fir), 0.04) << "firs on the moor";
    EXPECT_LT(share(img, 76, 56, 86, 64, fir), 0.002) << "firs in the inlet";
    const int w = img.width, h = img.height; // the bridge's row is thinner than a hundredth
    EXPECT_GT(fraction_where(img, w * 62 / 100, h * 385 / 1000, w * 78 / 100, h * 415 / 1000, plank), 0.1);
    EXPECT_LT(share(img, 62, 30, 78, 33, plank), 0.01) << "planks on the sea";
}

// The player's hover parked at the west end of the bridge over the sea inlet, seen from the
// follow camera: the planks run from the hover across the water to the far bank.
TEST(Scenery, FromTheFollowCameraTheBridgeSpansTheInletAheadOfTheHover)
{
    GameRun run = run_game(40, {{"MOORHOLD_PLAYER_START", "151 70 0"}}, nullptr, true); // west of it, facing east
    ASSERT_TRUE(ran_cleanly(run));
    const Image& img = run.screenshot;
    // The deck's darker middle section lies in this box as far as the hover has drifted in
    // its first frames: planks fill 0.25 to 0.55 of it from run to run, the water none.
    EXPECT_GT(share(img, 46, 47, 54, 52, plank), 0.15) << "across the water band";
    EXPECT_GT(share(img, 46, 37, 54, 44, plank), 0.3) << "its far half, toward the other bank";
    EXPECT_LT(share(img, 10, 47, 35, 52, plank), 0.01) << "the water beside it";
}

} // namespace
