// The game's start-up as a player meets it: textures, targets and cooked tiles, the title, the
// heads-up display, and at the very end the allocator's clean report.
#include "e2e/GameRunner.h"
#include "e2e/LandscapeImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// The number after `key` on its first line in the log.
bool number_after(const std::string& log, const std::string& key, double& out)
{
    size_t at = log.find(key);
    if (at == std::string::npos) return false;
    return std::sscanf(log.c_str() + at + key.size(), "%lf", &out) == 1;
}

// The player's line, "you: 0" in (0.8, 0.6, 0).
bool is_score_colour(const unsigned char* p)
{
    return std::abs(p[0] - 204) <= 6 && std::abs(p[1] - 153) <= 6 && p[2] <= 6;
}

// Once the title is gone the player's score stands in the lower left corner and nowhere else.
TEST(GfxResources, EveryResourceIsMadeTheTerrainCookedAndTheScoreShowsBottomLeft)
{
    // Stale scratch files of an earlier run are overwritten, not trusted.
    GameRun run = run_game(20, {}, [](const fs::path& dir) { std::ofstream(dir / "tmp_0.bin") << "stale"; }, true);
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
    for (const char* absent : {"failed to load", "FBO incomplete", "could not create the requested FBO",
                               "Memory leak detected", "Remaining allocs", "ICE Message Memory leaks detected",
                               "failed to init Ageia lib", "createTriangleMesh"})
        EXPECT_EQ(count_of(run.log, absent), 0) << absent << "\n" << run.log;
    EXPECT_EQ(count_of(run.log, "aj karamba"), 2) << run.log; // '#' and '=' cannot be defined

    double tiles = 0, ts = 0;
    ASSERT_TRUE(number_after(run.log, "here, tile cnt = ", tiles)) << run.log;
    ASSERT_TRUE(number_after(run.log, " ts=", ts));
    ASSERT_GE(tiles, 1);
    std::vector<std::string> order = {"create tiles for PHYSX baking!", "Creating Terrainphysics ... \n"};
    for (int t = 0; t < int(tiles); ++t) {
        order.push_back("hmap.phys_ts = " + std::to_string(int(ts)) + " idx = " + std::to_string(t) + "\n");
        order.push_back("Try to start cooking from file ...\n\n");
    }
    for (const char* s : {"planeDesc.d = ", "ausserhalb: GenericObject::physx2gfx_translate.y=", "starting main loop",
                          "SDLGL destructor finished!", "Nb alloc: ", "High water mark: "})
        order.push_back(s);
    EXPECT_TRUE(appear_in_order(run.log, order)) << run.log;
    EXPECT_EQ(count_of(run.log, "Try to start cooking from file"), int(tiles));

    // One physics unit is the same number of graphics units on every axis, and the ground
    // plane lies at the water surface.
    double sx = 0, sy = 0, sz = 0, water = 0, d = 0;
    size_t at = run.log.find("iface scale = ");
    ASSERT_NE(at, std::string::npos);
    ASSERT_EQ(std::sscanf(run.log.c_str() + at, "iface scale = %lf %lf %lf", &sx, &sy, &sz), 3);
    EXPECT_TRUE(std::isfinite(sx) && sx > 1) << run.log;
    EXPECT_NEAR(sy, sx, 1e-3 * sx);
    EXPECT_EQ(sz, sx);
    ASSERT_TRUE(number_after(run.log, "plane.d in world = ", water));
    ASSERT_TRUE(number_after(run.log, "planeDesc.d = ", d));
    EXPECT_LT(water, 0) << "the water lies above the terrain's lowest point";
    EXPECT_NEAR(d, -water / sx, 1e-3 * std::fabs(d) + 1e-6);
    double translate_y = 0;
    ASSERT_TRUE(number_after(run.log, "ausserhalb: GenericObject::physx2gfx_translate.y=", translate_y));
    EXPECT_EQ(translate_y, water) << "graphics height = physics height x scale + the terrain's offset";

    // The allocator's report comes last, after everything else has been released.
    size_t stats = run.log.rfind("Nb alloc: ");
    EXPECT_EQ(run.log.find("SDLGL destructor", stats), std::string::npos);
    double allocs = 0;
    ASSERT_TRUE(number_after(run.log, "Nb alloc: ", allocs));
    EXPECT_GT(allocs, 10) << "the engine's memory goes through the allocator";

    for (int t = 0; t < int(tiles); ++t)
        EXPECT_GT(fs::file_size(run.dir / ("tmp_" + std::to_string(t) + ".bin")),
                  12.0 * ((ts + 1) * (ts + 1) + 2 * ts * ts)) << t;
    EXPECT_FALSE(fs::exists(run.dir / ("tmp_" + std::to_string(int(tiles)) + ".bin")));

    const Image& shot = run.screenshot;
    int inside = 0, outside = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (is_score_colour(shot.pixel(x, y)))
                ++(x < shot.width / 3 && y >= shot.height - shot.height / 6 ? inside : outside);
    EXPECT_GT(inside, 100) << run.dir;
    EXPECT_EQ(outside, 0) << "none elsewhere";
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
    auto block = [&](const Image& m, int i, int j) {
        return mean_colour(m, i * m.width / bx, j * m.height / by, (i + 1) * m.width / bx, (j + 1) * m.height / by);
    };
    double diff = 0, upside_down = 0, mirrored = 0;
    for (int j = 0; j < by; ++j)
        for (int i = 0; i < bx; ++i) {
            const Rgb s = block(run.screenshot, i, j);
            auto apart = [&s](const Rgb& t) { return std::fabs(s.r - t.r) + std::fabs(s.g - t.g) + std::fabs(s.b - t.b); };
            diff += apart(block(img, i, j));
            upside_down += apart(block(img, i, by - 1 - j));
            mirrored += apart(block(img, bx - 1 - i, j));
        }
    EXPECT_LT(diff / (3 * bx * by), 12.0);
    EXPECT_GT(upside_down, 2 * diff);
    EXPECT_GT(mirrored, 2 * diff);
}

} // namespace
