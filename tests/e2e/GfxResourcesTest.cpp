// The graphics resources as a player meets them: every texture and render target made at
// start-up, the title image over the first frames, and the heads-up display after them.
#include "e2e/GameRunner.h"
#include "e2e/LandscapeImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// The player's line, "you: 0" in (0.8, 0.6, 0).
bool is_score_colour(const unsigned char* p)
{
    return std::abs(p[0] - 204) <= 6 && std::abs(p[1] - 153) <= 6 && p[2] <= 6;
}

// Every texture and target is made in its order at start-up, and once the title is gone the
// player's score stands in the lower left corner and nowhere else.
TEST(GfxResources, EveryTextureAndRenderTargetIsMadeAndTheScoreShowsBottomLeft)
{
    GameRun run = run_game(20, {}, nullptr, true);
    ASSERT_TRUE(ran_cleanly(run));

    EXPECT_TRUE(appear_in_order(run.log, {
        "successfully loaded 2D texture .\\media\\font_test.png", "fontManager constructor end",
        "successfully loaded 2D texture .\\media\\title.jpg", "\n\tsuccessfully loaded 16bit 2D texture \n\n",
        "\n\tloading cubemap from .\\media\\cubemap\\cubemap_daytime_X4.jpg\n",
        "successfully loaded 3D texture with 8bpp samples", "float render targets use GL_RGBA32F_ARB",
        "\tDOF FBOs end\n\n", "creating Shadow Map FBO", "starting main loop", "fontManager destructor end",
        "SDLGL destructor finished!", "Menu destructor"}))
        << run.log;
    EXPECT_EQ(count_of(run.log, "successfully loaded 2D texture "), 20) << run.log; // 17 scene, title, font, menu
    for (const char* absent : {"failed to load", "FBO incomplete", "could not create the requested FBO"})
        EXPECT_EQ(count_of(run.log, absent), 0) << absent << "\n" << run.log;
    EXPECT_EQ(count_of(run.log, "aj karamba"), 2) << run.log; // '#' and '=' cannot be defined

    const Image& shot = run.screenshot;
    int inside = 0, outside = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (is_score_colour(shot.pixel(x, y)))
                ++(x < shot.width / 3 && y >= shot.height - shot.height / 6 ? inside : outside);
    EXPECT_GT(inside, 100) << run.dir;
    EXPECT_EQ(outside, 0);
}

// The first frames show the title image stretched over the window: the mean colours of a
// grid of blocks follow those of the image, the right way up and not mirrored.
TEST(GfxResources, TitleFramesShowTheTitleImage)
{
    GameRun run = run_game(5, {}, nullptr, true);
    ASSERT_TRUE(ran_cleanly(run));
    Image img = load_image_rgb((game_dir() / "media" / "title.jpg").string());
    ASSERT_FALSE(img.empty());
    const int bx = 16, by = 12;
    double diff = 0, upside_down = 0, mirrored = 0;
    for (int j = 0; j < by; ++j)
        for (int i = 0; i < bx; ++i) {
            auto block = [&](const Image& m, int i, int j) {
                return mean_colour(m, i * m.width / bx, j * m.height / by, (i + 1) * m.width / bx,
                                   (j + 1) * m.height / by);
            };
            const Rgb s = block(run.screenshot, i, j);
            auto apart = [&s](const Rgb& t) {
                return std::fabs(s.r - t.r) + std::fabs(s.g - t.g) + std::fabs(s.b - t.b);
            };
            diff += apart(block(img, i, j));
            upside_down += apart(block(img, i, by - 1 - j));
            mirrored += apart(block(img, bx - 1 - i, j));
        }
    EXPECT_LT(diff / (3 * bx * by), 12.0);
    EXPECT_GT(upside_down, 2 * diff);
    EXPECT_GT(mirrored, 2 * diff);
}

} // namespace
