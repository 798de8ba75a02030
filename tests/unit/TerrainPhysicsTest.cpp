// The physics set-up: the cooked terrain tiles through their scratch files and the ground plane.

#include "PhysicsTestKit.h"
#include "TempDir.h"
#include "TerrainTestKit.h"

#include "Ai/AiManager.h"
#include "Physics/TerrainPhysics.h"
#include "Physics/UserAllocator.h"
#include "Terrain/TerrainTileMesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>

namespace {

const char* kTerrainFile = "vertical_extent=-20.0\nstatic_friction=0.5\ndynamic_friction=0.4\n";

// Hills over a 32 x 32 physics map (a 256 x 256 map), with the low corner below the water.
uint16_t hills(int x, int z)
{
    double h = 35000 + 9000 * std::sin(x * 0.3) + 7000 * std::cos(z * 0.25) + 300 * x;
    if (x < 6 && z < 6) h = 1000; // a hollow under the water surface
    return static_cast<uint16_t>(h);
}

// Runs in a fresh directory, since the scratch files land in the working directory.
class TerrainPhysicsSetup : public ::testing::Test {
protected:
    void SetUp() override
    {
        old_dir = std::filesystem::current_path();
        std::filesystem::current_path(dir.path);
        dir.write("config/objects/terrain.p", kTerrainFile);
        make_height_map(map, 256, 16, hills);
        scale = game_terrain_scale(map);
    }
    void TearDown() override { std::filesystem::current_path(old_dir); }

    // Set-up with its console output kept.
    bool init(TerrainPhysics& physics)
    {
        testing::internal::CaptureStdout();
        bool ok = physics.init_physics(map, scale);
        log = testing::internal::GetCapturedStdout();
        return ok;
    }

    float ground(float x, float z) const { return map.phys_at(long(x), long(z)) * scale.danger[1]; }

    TempDir dir;
    std::filesystem::path old_dir;
    HeightMap map;
    TerrainScale scale;
    std::string log;
};

} // namespace

TEST_F(TerrainPhysicsSetup, BuildsOneActorPerTileAndThePlane)
{
    auto physics = std::make_unique<TerrainPhysics>(".\\config\\objects\\terrain.p");
    ASSERT_TRUE(init(*physics));
    NxScene* scene = physics->scene;
    EXPECT_EQ(physics->tile_mesh_count, 4u);
    EXPECT_EQ(scene->getNbActors(), 5u);
    for (int t = 0; t < 4; ++t) EXPECT_TRUE(std::filesystem::exists("tmp_" + std::to_string(t) + ".bin")) << t;
    EXPECT_FALSE(std::filesystem::exists("tmp_4.bin"));
    EXPECT_EQ(physics->ai_manager->scene, scene);
    EXPECT_EQ(scene->getUserTriggerReport(), physics->ai_manager);
    // The three keys of terrain.p (a missing key is judged in ParameterFileTest).
    EXPECT_EQ(physics->vertical_extent, -20.0f);
    EXPECT_EQ(scene->getMaterialFromIndex(0)->getStaticFriction(), 0.5f);
    EXPECT_EQ(scene->getMaterialFromIndex(0)->getDynamicFriction(), 0.4f);
    EXPECT_EQ(scene->getMaterialFromIndex(0)->getRestitution(), 0.0f);
    EXPECT_EQ(physics->terrain_actor->userData, nullptr);
    EXPECT_EQ(physics->sdk->getParameter(NX_SKIN_WIDTH), 0.025f);
    // The start-up's console lines are judged where the game starts (PhysicsStartupTest).
    char line[64];
    std::snprintf(line, sizeof line, "plane.d in world = %f\n", scale.pgmland_offset);
    EXPECT_NE(log.find(line), std::string::npos);

    // At a vertex of each tile the surface height is exactly the sample's.
    for (int k = 0; k < 4; ++k) {
        float x = 7.5f + 16 * (k % 2), z = 9.5f + 16 * (k / 2);
        NxRaycastHit hit;
        ASSERT_NE(scene->raycastClosestShape(NxRay(NxVec3(x, 100, z), NxVec3(0, -1, 0)), NX_ALL_SHAPES, hit, 1, 200),
                  nullptr);
        EXPECT_NEAR(hit.distance, 100 - ground(x, z), 1e-3f) << k;
    }

    // A graphics height of 0 (the water) is the physics height -pgmland_offset / 32.
    EXPECT_FLOAT_EQ(physics->plane_d, -scale.pgmland_offset / 32.0f);
    float water = physics->plane_d;
    ASSERT_LT(ground(2, 2), water) << "the hollow lies under the water";
    NxActor* box = make_box(*scene, NxVec3(2.5f, water + 3, 2.5f), NxVec3(0.5f));
    step(*scene, 100);
    EXPECT_NEAR(box->getGlobalPosition().y, water + 0.5f, 0.03f) << "floats on the plane, not in the hollow";
    testing::internal::CaptureStdout(); // the allocator's report, judged leak-free where the game ends
    physics.reset();
    testing::internal::GetCapturedStdout();
}

TEST_F(TerrainPhysicsSetup, FailedCookingEndsTheProgram)
{
    TerrainPhysics physics(".\\config\\objects\\terrain.p");
    EXPECT_EXIT(
        {
            NxInitCooking(); // cooking already open: the set-up cannot initialise it
            physics.init_physics(map, scale);
        },
        ::testing::ExitedWithCode(1), "");
}
