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
