// The graphics resources as a player meets them: every texture and render target made at
// start-up, the title image over the first frames, and the heads-up display after them.
#include "e2e/GameRunner.h"
#include "e2e/LandscapeImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

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
        "\tLoading font_test.png", "successfully loaded 2D texture .\\media\\font_test.png",
        "fontManager constructor", "as font texture", "fontManager constructor end",
        "successfully loaded 2D texture .\\media\\title.jpg", "\t title_tex w,h on screen !!!!!! ",
        "\n\tGFX - hmap exists\n\n", "\n\tsuccessfully loaded 16bit 2D texture \n\n", "\n\t outside: 16 bit tex id = ",
        "\n\tloading cubemap from .\\media\\cubemap\\cubemap_daytime_X4.jpg\n", "_texW=",
        "successfully loaded 2D texture .\\media\\Grass6.jpg\n", // the last of the scene's textures
        "is_BMP = 1", "successfully loaded 3D texture with 8bpp samples", "float render targets use GL_RGBA32F_ARB",
        "building index for tris, w=", "\n\tDOF FBOs\n", "\n\tDOF FBO (small)\n", "\tDOF FBOs end\n\n",
        "building index for tris, w=", "FBO already exists", "creating Shadow Map FBO", "creating new Depth FBO",
        "starting main loop", "fontManager destructor end", "SDLGL destructor finished!", "Menu destructor"}))
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

    const Image& shot = run.screenshot;
    const int bx = 16, by = 12;
    std::vector<double> a, b;
    double diff = 0;
    for (int j = 0; j < by; ++j)
        for (int i = 0; i < bx; ++i) {
            auto block = [&](const Image& m) {
                return mean_colour(m, i * m.width / bx, j * m.height / by, (i + 1) * m.width / bx,
                                   (j + 1) * m.height / by);
            };
            Rgb s = block(shot), t = block(img);
            for (auto [x, y] : {std::pair{s.r, t.r}, {s.g, t.g}, {s.b, t.b}}) {
                a.push_back(x);
                b.push_back(y);
                diff += std::fabs(x - y);
            }
        }
    const double n = double(a.size());
    double ma = 0, mb = 0, sab = 0, saa = 0, sbb = 0;
    for (size_t k = 0; k < a.size(); ++k) {
        ma += a[k] / n;
        mb += b[k] / n;
    }
    for (size_t k = 0; k < a.size(); ++k) {
        sab += (a[k] - ma) * (b[k] - mb);
        saa += (a[k] - ma) * (a[k] - ma);
        sbb += (b[k] - mb) * (b[k] - mb);
    }
    EXPECT_GT(sab / std::sqrt(saa * sbb), 0.95) << "correlation of the blocks";
    EXPECT_LT(diff / n, 12.0);
}

} // namespace
