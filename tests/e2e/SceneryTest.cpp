// The scenery and the bridges as a player sees them: from a held eye over the upper moor
// north of the centre, firs stand on the grass and none in the inlet below, and the bridge
// over the inlet spans it with its planks.
#include "e2e/GameRunner.h"

#include <gtest/gtest.h>

#include <iostream>

namespace {

// Over the upper moor, looking north along the inlet with its bridge.
const char* kMoorAndInletPose = "4430 900 5900 0 -18";

// Fraction of a region whose pixels pass `is`.
template <class F>
double share(const Image& img, int x0, int y0, int x1, int y1, F is)
{
    double hit = 0, n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++n) hit += is(img.pixel(x, y)) ? 1 : 0;
    return n > 0 ? hit / n : 0;
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

} // namespace

TEST(Scenery, FirsStandOnTheMoorAndABridgeSpansTheInlet)
{
    RunOptions opt;
    opt.frames = 20;
    opt.env = {{"MOORHOLD_EYE", kMoorAndInletPose}};
    GameRun run = run_game(opt);
    ASSERT_EQ(run.exit_code, 0) << run.log;
    ASSERT_FALSE(run.screenshot.empty()) << run.log;
    const Image& img = run.screenshot;
    const int w = img.width, h = img.height;
    double moor = share(img, w / 6, h * 3 / 10, w * 55 / 100, h * 3 / 4, fir);
    double inlet = share(img, w * 76 / 100, h * 56 / 100, w * 86 / 100, h * 64 / 100, fir);
    double bridge = share(img, w * 62 / 100, h * 385 / 1000, w * 78 / 100, h * 415 / 1000, plank);
    double sea = share(img, w * 62 / 100, h * 30 / 100, w * 78 / 100, h * 33 / 100, plank);
    std::cout << "firs: moor " << moor << ", inlet " << inlet << "; planks: bridge " << bridge << ", sea " << sea
              << "\n";
    EXPECT_GT(moor, 0.04);
    EXPECT_LT(inlet, 0.002);
    EXPECT_GT(bridge, 0.1);
    EXPECT_LT(sea, 0.01);
}

// The player's hover parked at the west end of the bridge over the sea inlet, seen from the
// follow camera: the planks run from the hover across the water to the far bank.
TEST(Scenery, FromTheFollowCameraTheBridgeSpansTheInletAheadOfTheHover)
{
    RunOptions opt;
    opt.frames = 40;
    opt.env = {{"MOORHOLD_PLAYER_START", "151 70 0"}}; // west of the bridge, facing east
    GameRun run = run_game(opt);
    ASSERT_EQ(run.exit_code, 0) << run.log;
    ASSERT_FALSE(run.screenshot.empty()) << run.log;
    const Image& img = run.screenshot;
    const int w = img.width, h = img.height;
    // The water band the bridge crosses, beside it and under it.
    double beside = share(img, w / 10, h * 47 / 100, w * 35 / 100, h * 52 / 100, plank);
    double across = share(img, w * 46 / 100, h * 47 / 100, w * 54 / 100, h * 52 / 100, plank);
    // Its far half, above the water, toward the other bank.
    double far = share(img, w * 46 / 100, h * 37 / 100, w * 54 / 100, h * 44 / 100, plank);
    std::cout << "planks: across the water " << across << ", beside the bridge " << beside << ", far half " << far
              << "\n";
    EXPECT_GT(across, 0.3);
    EXPECT_GT(far, 0.3);
    EXPECT_LT(beside, 0.01);
}
