// The terrain's tile meshes, and the physics set-up that cooks the tiles beside the ground plane.

#include "GameplayTestKit.h"

#include "Physics/TerrainPhysics.h"
#include "Terrain/TerrainTileMesh.h"

#include <algorithm>
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
        dir.write("config/objects/terrain.p", kTerrainFile);
        make_height_map(map, 256, 16, hills);
        scale = game_terrain_scale(map);
    }
    float ground(float x, float z) const { return map.phys_at(long(x), long(z)) * scale.danger[1]; }

    TempDir dir;
    InDirectory in{dir.path};
    HeightMap map;
    TerrainScale scale;
};

// Physics sample at (x, z): distinct everywhere, never 0.
uint16_t distinct(int x, int z)
{
    return static_cast<uint16_t>(1000 + 100 * x + 7 * z);
}

// A 64 x 64 map: an 8 x 8 physics map in 2 x 2 tiles of 4.
class TileMeshes : public ::testing::Test {
protected:
    void SetUp() override
    {
        make_height_map(map, 64, 4, distinct);
        scale = game_terrain_scale(map);
        printed([&] {
            for (uint32_t t = 0; t < 4; ++t) tiles[t].build_tile_mesh(map, t, scale);
        });
    }
    HeightMap map;
    TerrainScale scale;
    TerrainTileMesh tiles[4];
};

const float* vertex(const TerrainTileMesh& m, uint32_t i, uint32_t j)
{
    return m.vertices + (j * m.side + i) * 3;
}

} // namespace

TEST_F(TerrainPhysicsSetup, BuildsOneActorPerTileAndThePlane)
{
    auto physics = std::make_unique<TerrainPhysics>(".\\config\\objects\\terrain.p");
    bool made = false;
    const std::string log = printed([&] { made = physics->init_physics(map, scale); }).out;
    ASSERT_TRUE(made);
    NxScene* scene = physics->scene;
    EXPECT_EQ(physics->tile_mesh_count, 4u);
    EXPECT_EQ(scene->getNbActors(), 5u);
    for (int t = 0; t < 4; ++t) EXPECT_TRUE(std::filesystem::exists("tmp_" + std::to_string(t) + ".bin")) << t;
    EXPECT_FALSE(std::filesystem::exists("tmp_4.bin"));
    EXPECT_EQ(physics->ai_manager->scene, scene);
    EXPECT_EQ(scene->getUserTriggerReport(), physics->ai_manager);
    // The three keys of terrain.p (a missing key is judged in ParameterFileTest).
    const NxMaterial* m = scene->getMaterialFromIndex(0);
    EXPECT_EQ((std::vector<float>{physics->vertical_extent, m->getStaticFriction(), m->getDynamicFriction(),
                                  m->getRestitution()}),
              (std::vector<float>{-20, 0.5f, 0.4f, 0}));
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
    printed([&] { physics.reset(); }); // the allocator's report, judged leak-free where the game ends
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

TEST_F(TileMeshes, CountsTriangleIndicesAndVerticesAtSampleCentresAndScaledHeights)
{
    const TerrainTileMesh& m = tiles[2];
    EXPECT_EQ(m.side, 5u);
    EXPECT_EQ(m.vertex_count, 25u);
    EXPECT_EQ(m.triangle_count, 32u);
    for (uint32_t k = 0; k < 3 * m.triangle_count; ++k) EXPECT_LT(m.triangles[k], m.vertex_count);
    EXPECT_EQ(std::vector<uint32_t>(m.triangles, m.triangles + 6), (std::vector<uint32_t>{0, 5, 6, 0, 6, 1}));
    for (uint32_t k = 0; k < m.vertex_count; ++k)
        EXPECT_EQ(std::vector<float>(m.colours + 3 * k, m.colours + 3 * k + 3), (std::vector<float>{0.5f, 0.4f, 0.2f}));
    const float* v = vertex(m, 3, 2); // at the sample's centre; its height is judged through the cooked tiles
    EXPECT_EQ(std::vector<float>(v, v + 3), (std::vector<float>{3.5f, distinct(3, 6) * scale.danger[1], 6.5f}));
}

TEST_F(TileMeshes, SeamsAreSharedWithTheNeighboursAndFarEdgesLieAtHeightZero)
{
    auto same = [](const float* a, const float* b) { return std::equal(a, a + 3, b); };
    // Tile 0's right seam is tile 1's first column, its bottom seam tile 2's first row, its corner tile 3's.
    for (uint32_t k = 0; k <= 4; ++k) {
        EXPECT_TRUE(same(vertex(tiles[0], 4, k), vertex(k < 4 ? tiles[1] : tiles[3], 0, k % 4))) << k;
        EXPECT_TRUE(same(vertex(tiles[0], k, 4), vertex(k < 4 ? tiles[2] : tiles[3], k % 4, 0))) << k;
        for (const float* far : {vertex(tiles[3], 4, k), vertex(tiles[3], k, 4), vertex(tiles[1], 4, k),
                                 vertex(tiles[2], k, 4)})
            EXPECT_EQ(far[1], 0.0f) << k;
    }
    EXPECT_EQ(vertex(tiles[3], 4, 4)[0], 8.5f);
    EXPECT_NE(vertex(tiles[1], 3, 4)[1], 0.0f) << "tile 1's bottom seam comes from tile 3";
}

TEST(TerrainTileMesh, NormalsOfFlatGroundPointUp)
{
    HeightMap map;
    make_height_map(map, 64, 8, [](int, int) { return uint16_t(500); });
    TerrainTileMesh m;
    printed([&] {
        m.build_tile_mesh(map, 0, game_terrain_scale(map));
        smooth_tile_normals(m, 0);
    });
    // One tile: its far edges drop to 0, the inside is flat.
    const float* n = m.normals + (3 * m.side + 3) * 3;
    EXPECT_LT(NxVec3(n[0], n[1], n[2]).distance(NxVec3(0, 1, 0)), 1e-6f);
}

TEST(TerrainTileMesh, MapNotAMultipleOfTheTileHasNoPhantomNeighbours)
{
    HeightMap map;
    // A 12 x 12 physics map in tiles of 5: two per row, two rows, a strip left over.
    make_height_map(map, 96, 5, [](int, int) { return uint16_t(321); });
    ASSERT_EQ(map.tile_cnt, 4u);
    TerrainTileMesh m, right;
    const TerrainScale scale = game_terrain_scale(map);
    printed([&] {
        m.build_tile_mesh(map, 3, scale);     // its right and lower neighbours would lie in the strip
        right.build_tile_mesh(map, 1, scale); // the next tile in the list starts the next row
    });
    EXPECT_EQ(m.vertices[(5 * m.side + 5) * 3 + 1], 0.0f);
    EXPECT_EQ(m.vertices[(2 * m.side + 5) * 3 + 1], 0.0f);
    EXPECT_EQ(right.vertices[(2 * right.side + 5) * 3 + 1], 0.0f);
    EXPECT_NE(right.vertices[(5 * right.side + 2) * 3 + 1], 0.0f) << "its lower neighbour exists";
}
