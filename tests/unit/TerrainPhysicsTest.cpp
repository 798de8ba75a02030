// The terrain's tile meshes, the physics set-up that cooks the tiles beside the ground plane,
// the scattering of the scenery over it, and the game's own map: where the level puts things,
// and its scenery against the places the level must keep free.

#include "Console.h"
#include "GameplayTestKit.h"

#include "Common/ParameterFile.h"
#include "Common/Random.h"
#include "Objects/SceneryRules.h"
#include "Physics/TerrainPhysics.h"
#include "Terrain/TerrainTileMesh.h"

#include <algorithm>
#include <array>
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
uint16_t distinct(int x, int z) { return static_cast<uint16_t>(1000 + 100 * x + 7 * z); }

const float* vertex(const TerrainTileMesh& m, uint32_t i, uint32_t j)
{
    return m.vertices + (j * m.side + i) * 3;
}

} // namespace

TEST_F(TerrainPhysicsSetup, BuildsOneActorPerTileAndThePlane)
{
    auto physics = std::make_unique<TerrainPhysics>(".\\config\\objects\\terrain.p");
    bool made = false;
    printed([&] { made = physics->init_physics(map, scale); });
    ASSERT_TRUE(made);
    NxScene* scene = physics->scene;
    // One scratch file a tile, and its console lines, are judged where the game starts (GfxResourcesTest).
    EXPECT_EQ(physics->tile_mesh_count, 4u);
    EXPECT_EQ(scene->getNbActors(), 5u);
    // The three keys of terrain.p (a missing key is judged in ParameterFileTest).
    const NxMaterial* m = scene->getMaterialFromIndex(0);
    EXPECT_EQ((std::vector<float>{physics->vertical_extent, m->getStaticFriction(), m->getDynamicFriction(),
                                  m->getRestitution()}),
              (std::vector<float>{-20, 0.5f, 0.4f, 0}));

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

TEST(TerrainTileMesh, CountTriangleIndicesAndVerticesAtSampleCentresAndShareSeamsWithTheNeighbours)
{
    // A 64 x 64 map: an 8 x 8 physics map in 2 x 2 tiles of 4.
    HeightMap map;
    make_height_map(map, 64, 4, distinct);
    const TerrainScale scale = game_terrain_scale(map);
    TerrainTileMesh tiles[4];
    printed([&] { for (uint32_t t = 0; t < 4; ++t) tiles[t].build_tile_mesh(map, t, scale); });
    const TerrainTileMesh& m = tiles[2];
    EXPECT_EQ(m.side, 5u);
    EXPECT_EQ(m.vertex_count, 25u);
    EXPECT_EQ(m.triangle_count, 32u);
    for (uint32_t k = 0; k < 3 * m.triangle_count; ++k) EXPECT_LT(m.triangles[k], m.vertex_count);
    EXPECT_EQ(std::vector<uint32_t>(m.triangles, m.triangles + 6), (std::vector<uint32_t>{0, 5, 6, 0, 6, 1}));
    const float* v = vertex(m, 3, 2); // at the sample's centre; its height is judged through the cooked tiles
    EXPECT_EQ(std::vector<float>(v, v + 3), (std::vector<float>{3.5f, distinct(3, 6) * scale.danger[1], 6.5f}));

    // Seams are shared with the neighbours, and the far edges lie at height 0.
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

TEST(TerrainTileMesh, NormalsOfFlatGroundPointUpAndAMapNotAMultipleOfTheTileHasNoPhantomNeighbours)
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

    // A 12 x 12 physics map in tiles of 5: two per row, two rows, a strip left over.
    HeightMap strip;
    make_height_map(strip, 96, 5, [](int, int) { return uint16_t(321); });
    ASSERT_EQ(strip.tile_cnt, 4u);
    TerrainTileMesh last, right;
    const TerrainScale scale = game_terrain_scale(strip);
    printed([&] {
        last.build_tile_mesh(strip, 3, scale);  // its right and lower neighbours would lie in the strip
        right.build_tile_mesh(strip, 1, scale); // the next tile in the list starts the next row
    });
    EXPECT_EQ(vertex(last, 5, 5)[1], 0.0f);
    EXPECT_EQ(vertex(last, 5, 2)[1], 0.0f);
    EXPECT_EQ(vertex(right, 5, 2)[1], 0.0f);
    EXPECT_NE(vertex(right, 2, 5)[1], 0.0f) << "its lower neighbour exists";
}

namespace {

float flat(int, int) { return 30; }
float ramp_x(int x, int) { return 10 + 2.0f * float(x); }
float ramp_z(int, int z) { return 10 + 3.0f * float(z); }

class SceneryTerrain : public ::testing::Test {
protected:
    TempDir dir;
    TerrainPhysics terrain{dir.write("t.p", kTerrainFile).c_str()};
};

// The global height map's physics map is set per test; heights are samples / 2, exactly.
class Scatter : public SceneryTerrain {
protected:
    void SetUp() override
    {
        terrain.scale.danger[0] = terrain.scale.danger[2] = 1;
        terrain.scale.danger[1] = 0.5f;
        reset_game_rand();
    }
    void TearDown() override
    {
        set_map(0, 0, flat);
        reset_game_rand();
    }

    static void set_map(unsigned w, unsigned h, float (*height)(int, int))
    {
        delete[] hmap.phys_map;
        hmap.phys_map = w * h > 0 ? new uint16_t[w * h] : nullptr;
        hmap.phys_map_w = w;
        hmap.phys_map_h = h;
        for (unsigned i = 0; i < w * h; ++i) hmap.phys_map[i] = uint16_t(height(int(i % w), int(i / w)) * 2);
    }

    size_t found(int n, float min_h, float range, float min_distance, float reject_slope)
    {
        size_t k = 0;
        message = printed([&] { k = terrain.find_positions(n, min_h, range, min_distance, reject_slope).size(); }).err;
        return k;
    }

    std::string message;
};

// A place the level keeps free: a disc of radius r, or a box of half sizes r and rz.
struct Keep {
    std::string what;
    float x, z, r, rz = 0;
    bool holds(const NxVec3& p) const
    {
        return rz > 0 ? std::fabs(p.x - x) < r && std::fabs(p.z - z) < rz : std::hypot(p.x - x, p.z - z) < r;
    }
};

// The road onto and off a bridge: its end boxes and 12 units beyond, 6 to either side.
Keep bridge_approach(const std::string& file)
{
    ParameterFile b(game_path(file));
    const float step = b.getFloat("step_size"), half = 0.5f * b.getInt("bridge_elements") * step;
    return {file, b.getFloat("bridge_pos_X") + step + half, b.getFloat("bridge_pos_Z"), half + 12, 6};
}

// The game's own map, read once, scaled as the start-up scales it from the graphics file.
class GameLevel : public SceneryTerrain {
protected:
    static void SetUpTestSuite()
    {
        ParameterFile gfx(game_path(".\\config\\gfx.p"));
        map_name = ParameterFile(game_path(".\\config\\map\\map1.p")).getString("filename");
        printed([] {
            load_status = hmap.readfile(game_path(map_name).c_str());
            if (load_status == 0) hmap.create_tiles(hmap.map_w / 8, hmap.map_h / 8, hmap.map_w / 16);
        });
        scale = terrain_scale_for(hmap.map_w, hmap.phys_map_w, gfx.getFloat("phys_minfact"),
                                  gfx.getFloat("y_pgmland_scale"), waterlevel_frac);
        water = waterlevel_frac * 65535.0 * scale.danger[1];
    }
    void SetUp() override
    {
        ASSERT_EQ(load_status, 0) << "cannot load " << map_name;
        terrain.scale = scale;
    }
    void TearDown() override { reset_game_rand(); }

    // Ground height (physics units) at a physics position, the edge held beyond the map.
    double ground(double x, double z) const
    {
        return terrain.ground_height(std::clamp(long(x), 0L, long(hmap.phys_map_w) - 1),
                                     std::clamp(long(z), 0L, long(hmap.phys_map_h) - 1));
    }

    static inline std::string map_name;
    static inline int load_status = -1;
    static inline TerrainScale scale;
    static inline double water = 0;

    // The largest rise between a place and its eight neighbours.
    float roughness(const NxVec3& p) const
    {
        float worst = 0;
        for (long dz = -1; dz <= 1; ++dz)
            for (long dx = -1; dx <= 1; ++dx)
                if (hmap.phys_inside(long(p.x) + dx, long(p.z) + dz))
                    worst = std::max(worst, std::fabs(terrain.ground_height(long(p.x) + dx, long(p.z) + dz) - p.y));
        return worst;
    }
};

} // namespace

TEST_F(Scatter, TerrainNormalFollowsTheSlopeAndClampsAtTheEdges)
{
    // The tangents' rises: two samples apart inside, one at an edge.
    for (auto [height, x, z, rise_x, rise_z] :
         {std::tuple{&flat, 4L, 4L, 0.0f, 0.0f}, {ramp_x, 4L, 4L, 4.0f, 0.0f}, {ramp_x, 0L, 4L, 2.0f, 0.0f},
          {ramp_x, 7L, 4L, 2.0f, 0.0f}, {ramp_z, 4L, 4L, 0.0f, 6.0f}, {ramp_z, 4L, 0L, 0.0f, 3.0f},
          {ramp_z, 4L, 7L, 0.0f, 3.0f}}) {
        SCOPED_TRACE(testing::Message() << x << ", " << z);
        set_map(8, 8, height);
        TerrainSlope s = terrain.terrain_normal(x, z);
        EXPECT_EQ(s.tx, NxVec3(1, rise_x, 0));
        EXPECT_EQ(s.tz, NxVec3(0, rise_z, 1));
        NxVec3 n(-rise_x, 1, -rise_z);
        n.normalize();
        EXPECT_LT(s.normal.distance(n), 1e-6f);
    }
}

TEST_F(Scatter, PlacesAreGroundInsideTheBandFlatterThanTheLimitAndAtLeastTheDistanceApart)
{
    set_map(8, 8, flat);
    EXPECT_EQ(found(0, 0, 100, 0, 1), 0u);
    EXPECT_EQ(message, "tried 0 positions and found 0 valid tree positions\n");
    EXPECT_EQ(found(-3, 0, 100, 0, 1), 0u);
    const int next = game_rand();
    reset_game_rand();
    EXPECT_EQ(next, game_rand()) << "the generator moved";

    // Only ground strictly inside the band and flatter than the limit is taken.
    // Of 3 wanted, found in 3 tries when all pass, in 9 when none does.
    for (auto [height, min_h, range, reject_slope, expected] :
         {std::tuple{&flat, 29.0f, 2.0f, 0.5f, 3u}, {flat, 30.0f, 5.0f, 0.5f, 0u}, {flat, 25.0f, 5.0f, 0.5f, 0u},
          {flat, 29.0f, 2.0f, 0.0f, 0u}, {flat, 29.0f, 2.0f, 1e-7f, 3u}, {ramp_x, 0.0f, 100.0f, 0.5f, 0u},
          {ramp_x, 0.0f, 100.0f, 0.9f, 3u}}) {
        SCOPED_TRACE(testing::Message() << min_h << " + " << range << ", slope " << reject_slope);
        set_map(8, 8, height);
        EXPECT_EQ(found(3, min_h, range, 0, reject_slope), expected);
        EXPECT_EQ(message.rfind(expected ? "tried 3 " : "tried 9 ", 0), 0u) << message;
    }

    // Two places exactly the minimum distance apart both stand.
    set_map(4, 1, [](int x, int) { return x == 0 || x == 3 ? 30.0f : 10.0f; }); // only x = 0 and 3 in the band
    EXPECT_EQ(found(10, 20, 20, 3, 1), 2u);
    EXPECT_EQ(found(10, 20, 20, 3.01f, 1), 1u);
}

TEST_F(Scatter, ScaleNeverFallsToZeroOrBelowAndAVarianceModulusBelowOneIsABadValue)
{
    using K = SceneryKind;
    for (auto [kind, scale, v, div, expected] :
         {std::tuple{K::tree, 32.0f, -8.0f, 1.0f, 24.0f}, {K::tree, 5.0f, -5.0f, 1.0f, 0.0001f},
          {K::mushroom, 32.0f, -2.0f, 4.0f, 24.0f}, {K::lazyboy, 8.0f, -2.0f, 4.0f, 0.0001f},
          {K::mushroom, 8.0f, -1.0f, 0.0f, 0.0001f}})
        EXPECT_EQ(varied_scale(kind, scale, v, div), expected) << scale << " " << v << " " << div;

    // The size variance takes a remainder by the modulus: its range keeps it from zero.
    ParameterFile p(dir.write("m.p", "scale_variance_mod=0\nscale_variance_sub=0\n"), {scenery_model_key_ranges});
    EXPECT_THROW(read_model_keys(p, SceneryKind::tree), BadValueException);
    EXPECT_EQ(last_bad_value().key, "scale_variance_mod");
}

TEST_F(Scatter, ObjectsStandOnTheGroundsNormalInAProperRotation)
{
    set_map(8, 8, ramp_x);
    const SceneryPose pose = scenery_pose(terrain.terrain_normal(3, 3), NxVec3(3, 16, 3), 2);
    EXPECT_EQ(pose.position, NxVec3(3, 17, 3)) << "lifted by half of gfx_y_translate";
    const NxMat33 m(pose.rows[0], pose.rows[1], pose.rows[2]);
    EXPECT_LT(m.getColumn(1).distance(terrain.terrain_normal(3, 3).normal), 1e-6f);
    // Unit columns at right angles, right-handed.
    EXPECT_NEAR(m.getColumn(0).magnitude(), 1, 1e-6f);
    EXPECT_LT(m.getColumn(0).cross(m.getColumn(1)).distance(m.getColumn(2)), 1e-6f);
    EXPECT_LT(m.getColumn(1).cross(m.getColumn(2)).distance(m.getColumn(0)), 1e-6f);
}

TEST_F(GameLevel, TheMoorIsPlantedAndTheLevelsPlacesStayFree)
{
    std::vector<Keep> keep = {{"the player's start", 50, 50, 10}, {"the opponents' row", 40, 120, 45, 6}};
    for (int i = 0; i < 6; ++i)
        keep.push_back({"a start point of the restart circle", float(256 + 128 * std::cos(i * M_PI / 3)),
                        float(256 + 128 * std::sin(i * M_PI / 3)), 10});
    for (const char* n : {"", "3", "4", "5", "6"})
        keep.push_back(bridge_approach(std::string(".\\config\\objects\\bridge") + n + ".p"));

    // As the level runs it: the generator from its first value, each group's looks drawn before the next searches.
    reset_game_rand();
    testing::internal::CaptureStderr();
    for (SceneryKind kind : {SceneryKind::tree, SceneryKind::mushroom, SceneryKind::lazyboy}) {
        SCOPED_TRACE(int(kind));
        const SceneryGroup& g = scenery_group(kind);
        const ScatterGroupKeys k = read_group_keys(ParameterFile(game_path(g.group_file)));
        const std::vector<NxVec3> found = terrain.find_positions(k.obj_cnt, k.world_y_offset, k.world_y_height_range,
                                                                 k.world_min_distance, k.reject_slope);
        plan_scenery(terrain, kind, found, read_model_keys(ParameterFile(game_path(g.model_file)), kind),
                     k.gfx_y_translate);
        // A moor that looks alive, and a model pass that stays affordable.
        EXPECT_GE(found.size(), size_t(k.obj_cnt) / 2);
        EXPECT_LE(found.size(), 200u);
        for (const NxVec3& p : found) {
            SCOPED_TRACE(testing::Message() << "at " << p.x << ", " << p.z);
            EXPECT_GT(p.y, 20.5f) << "in the water";
            EXPECT_LT(roughness(p), 1.0f) << "on a cliff";
            for (const Keep& place : keep) EXPECT_FALSE(place.holds(p)) << "on " << place.what;
        }
    }
    testing::internal::GetCapturedStderr();
}

// Ground a vehicle may be dropped onto: at most this steep (about 24 degrees).
constexpr double kDrivable = 0.25;

TEST_F(GameLevel, MapIsAFullSizeHmFileTiledIntoFourPhysicsTilesAThirdUnderWater)
{
    EXPECT_EQ(map_name.substr(map_name.size() - 3), ".hm");
    EXPECT_EQ(hmap.map_w, 4096);
    EXPECT_EQ(hmap.map_h, 4096);
    EXPECT_EQ(std::filesystem::file_size(game_path(map_name)), 12u + 2u * 4096 * 4096)
        << "the samples must fill the map exactly";
    EXPECT_NEAR(water, 20.0, 0.01) << "y_pgmland_scale moved the water level";
    size_t wet = 0, n = size_t(hmap.phys_map_w) * hmap.phys_map_h;
    for (size_t i = 0; i < n; ++i) wet += hmap.phys_map[i] * scale.danger[1] < water;
    EXPECT_TRUE(wet > n / 4 && wet < n * 42 / 100) << double(wet) / double(n) << " of the map under water";
    // The demo flight's path is the other file the game opens by a fixed name.
    EXPECT_GT(std::filesystem::file_size(game_path(".\\media\\camera_path.txt")), 0u);
}

// The two ducks float on open water; the ship flies at 55 with room to spare.
TEST_F(GameLevel, DucksSwimTheShipFliesClearOfTheGroundAndVehiclesAreSetDownOnDrivableGround)
{
    for (const auto& [x, z, r, step, below] : {std::array{102.0, 294.5, 3.0, 1.0, water - 1},
                                               {136.0, 294.5, 3.0, 1.0, water - 1}, {100.0, 100.0, 10.0, 2.0, 50.0}})
        for (double dx = -r; dx <= r; dx += step)
            for (double dz = -r; dz <= r; dz += step)
                EXPECT_LT(ground(x + dx, z + dz), below) << "near " << x << ", " << z;

    // The start places (low, not deep in water) and the six on the restart circle (on land).
    std::vector<std::array<double, 4>> places = {{50, 50, water - 2, 33}}; // x, z, the lowest and highest ground
    for (int i = 0; i < 5; ++i) places.push_back({20.0 * i, 120, water - 2, 33});
    for (int i = 0; i < 6; ++i)
        places.push_back({256 + 128 * std::cos(i * M_PI / 3), 256 + 128 * std::sin(i * M_PI / 3), water, 1e9});
    for (const auto& [x, z, lowest, highest] : places) {
        SCOPED_TRACE(std::to_string(x) + ", " + std::to_string(z));
        EXPECT_GE(ground(x, z), lowest);
        EXPECT_LT(ground(x, z), highest);
        EXPECT_LT(1.0 - std::fabs(terrain.terrain_normal(long(x), long(z)).normal.y), kDrivable) << "too steep";
    }
}

TEST_F(GameLevel, EveryBridgeSpansAGapBetweenFirmBanks)
{
    int ravines = 0, waters = 0;
    for (const char* number : {"", "3", "4", "5", "6"}) {
        const std::string file = std::string("config/objects/bridge") + number + ".p";
        SCOPED_TRACE(file);
        ParameterFile p(game_file(file));
        const double step = p.getFloat("step_size"), plank_x = p.getFloat("dyn_boxSize_X");
        const double z = p.getFloat("bridge_pos_Z");
        ASSERT_GE(p.getInt("bridge_elements"), 3);
        EXPECT_GT(step, 2.0 * plank_x) << "planks would overlap";
        EXPECT_LT(step, 2.0 * plank_x + 0.6) << "gaps between planks";
        // Elements stand at pos_X + (i + 1) * step, i = 0..last; the two ends are fixed boxes.
        const double first = p.getFloat("bridge_pos_X") + step, last = first + p.getInt("bridge_elements") * step;
        EXPECT_GE(last - first, 18.0);
        EXPECT_LE(last - first, 45.0);
        const double deck = p.getFloat("bridge_pos_Y") - p.getFloat("sta_boxSize_Y"); // where the end boxes rest
        EXPECT_GT(deck, water + 2.0) << "a bridge must clear the water";
        for (double dz = -2.0; dz <= 2.0; dz += 1.0) {
            EXPECT_NEAR(ground(first, z + dz), deck, 1.5) << "west bank";
            EXPECT_NEAR(ground(last, z + dz), deck, 1.5) << "east bank";
        }
        // Between the banks: open water, or a ravine far below the deck.
        int open = 0, n = 0, wet = 0;
        for (double x = first + 4.0; x <= last - 4.0; x += 1.0) {
            double g = ground(x, z);
            wet += g < water;
            open += g < water || g < deck - 10.0;
            ++n;
        }
        EXPECT_GE(open, n * 8 / 10) << "the bridge crosses no gap";
        (wet > n / 2 ? waters : ravines) += 1;
    }
    EXPECT_GE(waters, 1);
    EXPECT_GE(ravines, 1);
}
