// The scenery and the bridges as a player sees them: from a held eye over the upper moor
// north of the centre, firs stand on the grass and none in the inlet below, and the bridge
// over the inlet spans it with its planks.
#include "e2e/GameRunner.h"
#include "e2e/LandscapeImage.h"

#include <gtest/gtest.h>

namespace {

// Over the upper moor, looking north along the inlet with its bridge.
const char* kMoorAndInletPose = "4430 900 5900 0 -18";

// The last frame of a run with one test seam set, or an empty image when the run was not clean.
Image last_frame(long frames, const char* seam, const char* value)
{
    GameRun run = run_game(frames, {{seam, value}}, nullptr, true);
    const ::testing::AssertionResult clean = ran_cleanly(run);
    EXPECT_TRUE(clean);
    return clean ? run.screenshot : Image();
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

} // namespace

TEST(Scenery, FirsStandOnTheMoorAndABridgeSpansTheInlet)
{
    const Image img = last_frame(20, "MOORHOLD_EYE", kMoorAndInletPose);
    ASSERT_FALSE(img.empty());
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
    const Image img = last_frame(40, "MOORHOLD_PLAYER_START", "151 70 0"); // west of the bridge, facing east
    ASSERT_FALSE(img.empty());
    EXPECT_GT(share(img, 46, 47, 54, 52, plank), 0.3) << "across the water band";
    EXPECT_GT(share(img, 46, 37, 54, 44, plank), 0.3) << "its far half, toward the other bank";
    EXPECT_LT(share(img, 10, 47, 35, 52, plank), 0.01) << "the water beside it";
}
