// The physics world at start-up and at the very end: every terrain tile cooked through its
// scratch file, the ground plane, the scale handed to the game objects, and the allocator's
// clean report once the scene and the SDK are gone.
#include "e2e/GameRunner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// The number after `key` on its first line in the log.
bool number_after(const std::string& log, const std::string& key, double& out)
{
    size_t at = log.find(key);
    if (at == std::string::npos) return false;
    return std::sscanf(log.c_str() + at + key.size(), "%lf", &out) == 1;
}

TEST(PhysicsStartup, CooksEveryTileAndEndsWithoutLeaks)
{
    // Stale scratch files of an earlier run are overwritten, not trusted.
    GameRun run = run_game(20, {}, [](const fs::path& dir) { std::ofstream(dir / "tmp_0.bin") << "stale"; });
    ASSERT_TRUE(ran_cleanly(run, false));

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
    // plane lies at the water surface: the graphics height of the water turned into physics
    // units.
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
    for (const char* bad : {"Memory leak detected", "Remaining allocs", "ICE Message Memory leaks detected",
                            "failed to init Ageia lib", "createTriangleMesh"})
        EXPECT_EQ(run.log.find(bad), std::string::npos) << bad << "\n" << run.log;
    double allocs = 0;
    ASSERT_TRUE(number_after(run.log, "Nb alloc: ", allocs));
    EXPECT_GT(allocs, 10) << "the engine's memory goes through the allocator";

    for (int t = 0; t < int(tiles); ++t)
        EXPECT_GT(fs::file_size(run.dir / ("tmp_" + std::to_string(t) + ".bin")), 12.0 * ((ts + 1) * (ts + 1) + 2 * ts * ts)) << t;
    EXPECT_FALSE(fs::exists(run.dir / ("tmp_" + std::to_string(int(tiles)) + ".bin")));
}

} // namespace
