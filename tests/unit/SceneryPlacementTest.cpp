// The game's own scenery on the generated map, judged against the places the level must keep free.

#include "GameDir.h"
#include "TempDir.h"
#include "TerrainTestKit.h"

#include "Common/ParameterFile.h"
#include "Common/Random.h"
#include "Objects/SceneryRules.h"
#include "Physics/TerrainPhysics.h"
#include "Terrain/HeightMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

// A game path such as ".\config\map\map1.p" inside the built game directory.
std::string in_game(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return game_file(path.substr(2));
}

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
    ParameterFile b(in_game(file));
    const float step = b.getFloat("step_size"), half = 0.5f * b.getInt("bridge_elements") * step;
    return {file, b.getFloat("bridge_pos_X") + step + half, b.getFloat("bridge_pos_Z"), half + 12, 6};
}

class SceneryPlacement : public ::testing::Test {
protected:
    void SetUp() override
    {
        ParameterFile map(in_game(".\\config\\map\\map1.p"));
        testing::internal::CaptureStdout();
        ASSERT_EQ(hmap.readfile(in_game(map.getString("filename")).c_str()), 0);
        hmap.create_tiles(hmap.map_w / 8, hmap.map_h / 8, hmap.map_w / 16);
        testing::internal::GetCapturedStdout();
        terrain.scale = game_terrain_scale(hmap);
    }
    void TearDown() override { reset_game_rand(); }

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

    TempDir dir;
    TerrainPhysics terrain{dir.write("t.p", "vertical_extent=-20\nstatic_friction=1\ndynamic_friction=1\n").c_str()};
};

} // namespace

TEST_F(SceneryPlacement, TheMoorIsPlantedAndTheLevelsPlacesStayFree)
{
    std::vector<Keep> keep = {{"the player's start", 50, 50, 10}, {"the opponents' row", 40, 120, 45, 6}};
    for (int i = 0; i < 6; ++i)
        keep.push_back({"a start point of the restart circle", float(256 + 128 * std::cos(i * M_PI / 3)),
                        float(256 + 128 * std::sin(i * M_PI / 3)), 10});
    for (const char* n : {"", "3", "4", "5", "6"})
        keep.push_back(bridge_approach(std::string(".\\config\\objects\\bridge") + n + ".p"));

    // The whole scattering as the level runs it: the generator from its first value, the
    // groups in their order, each drawing its objects' looks before the next group searches.
    reset_game_rand();
    testing::internal::CaptureStderr();
    for (SceneryKind kind : {SceneryKind::tree, SceneryKind::mushroom, SceneryKind::lazyboy}) {
        SCOPED_TRACE(int(kind));
        const SceneryGroup& g = scenery_group(kind);
        const ScatterGroupKeys k = read_group_keys(ParameterFile(in_game(g.group_file)));
        const std::vector<NxVec3> found = terrain.find_positions(k.obj_cnt, k.world_y_offset, k.world_y_height_range,
                                                                 k.world_min_distance, k.reject_slope);
        plan_scenery(terrain, kind, found, read_model_keys(ParameterFile(in_game(g.model_file)), kind),
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
