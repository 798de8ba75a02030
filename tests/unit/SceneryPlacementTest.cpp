// Where the game's own scenery files put the trees, mushrooms and lazy boys on the generated
// map: the whole scattering as the level runs it (the generator from its first value, the
// groups in their order), judged against the places the level must keep free.

#include "GameDir.h"
#include "TempDir.h"
#include "TerrainTestKit.h"

#include "Common/ParameterFile.h"
#include "Common/Random.h"
#include "Objects/SceneryRules.h"
#include "Physics/TerrainPhysics.h"
#include "Terrain/HeightMap.h"
#include "Terrain/TerrainTileMesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

// A game path such as ".\media\map\map1.hm" inside the built game directory.
std::string in_game(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.rfind("./", 0) == 0) path.erase(0, 2);
    return game_file(path);
}

struct Planted {
    SceneryKind kind;
    NxVec3 ground; // the found place, before the lift
};

// A region the level keeps free: a disc (radius > 0) or an axis-aligned box in x and z.
struct Keep {
    const char* what;
    float x0, z0, x1, z1, radius;

    bool holds(const NxVec3& p) const
    {
        if (radius > 0) return std::hypot(p.x - x0, p.z - z0) < radius;
        return p.x > x0 && p.x < x1 && p.z > z0 && p.z < z1;
    }
};

// The road onto and off a bridge: its end boxes and 12 units beyond, 6 to either side.
Keep bridge_approach(const char* file)
{
    ParameterFile b(in_game(file));
    const float step = b.getFloat("step_size"), x = b.getFloat("bridge_pos_X"), z = b.getFloat("bridge_pos_Z");
    const float first = x + step, last = x + (b.getInt("bridge_elements") + 1) * step;
    return {file, first - 12, z - 6, last + 12, z + 6, 0};
}

class SceneryPlacement : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int k = 0; k < 3; ++k) saved_danger[k] = dangerScale[k];
        ParameterFile map(in_game(".\\config\\map\\map1.p"));
        testing::internal::CaptureStdout();
        ASSERT_EQ(hmap.readfile(in_game(map.getString("filename")).c_str()), 0);
        hmap.create_tiles(hmap.map_w / 8, hmap.map_h / 8, hmap.map_w / 16);
        testing::internal::GetCapturedStdout();
        set_game_terrain_scale(hmap.map_w);
        float gfx[3];
        compute_terrain_scales(pgmland_scale, hmap.map_w, hmap.phys_map_w, gfx, dangerScale);
    }
    void TearDown() override
    {
        for (int k = 0; k < 3; ++k) dangerScale[k] = saved_danger[k];
        reset_game_rand();
    }

    // Every object of the three groups, in the order the level plants them.
    std::vector<Planted> plant_all()
    {
        reset_game_rand();
        std::vector<Planted> all;
        testing::internal::CaptureStderr();
        for (SceneryKind kind : {SceneryKind::tree, SceneryKind::mushroom, SceneryKind::lazyboy}) {
            const SceneryGroup& g = scenery_group(kind);
            const ScatterGroupKeys where = read_group_keys(ParameterFile(in_game(g.group_file)));
            const std::vector<NxVec3> found =
                terrain.find_positions(where.obj_cnt, where.world_y_offset, where.world_y_height_range,
                                       where.world_min_distance, where.reject_slope);
            plan_scenery(terrain, kind, found, read_model_keys(ParameterFile(in_game(g.model_file)), kind),
                         where.gfx_y_translate);
            for (const NxVec3& p : found) all.push_back({kind, p});
        }
        testing::internal::GetCapturedStderr();
        return all;
    }

    float ground(long x, long z) const { return hmap.phys_at(x, z) * dangerScale[1]; }

    // The largest rise between a place and its eight neighbours.
    float roughness(const NxVec3& p) const
    {
        float worst = 0;
        for (long dz = -1; dz <= 1; ++dz)
            for (long dx = -1; dx <= 1; ++dx)
                if (hmap.phys_inside(long(p.x) + dx, long(p.z) + dz))
                    worst = std::max(worst, std::fabs(ground(long(p.x) + dx, long(p.z) + dz) - p.y));
        return worst;
    }

    TempDir dir;
    TerrainPhysics terrain{
        dir.write("terrain.p", "vertical_extent=-20\nstatic_friction=0.5\ndynamic_friction=0.4\n").c_str()};
    float saved_danger[3];
};

} // namespace

TEST_F(SceneryPlacement, TheMoorIsPlantedAndTheLevelsPlacesStayFree)
{
    std::vector<Keep> keep = {
        {"the player's start", 50, 50, 0, 0, 10},
        {"the opponents' row", -5, 114, 85, 126, 0},
    };
    for (int i = 0; i < 6; ++i) {
        const double a = i * 2.0 * M_PI / 6.0;
        keep.push_back({"a start point of the restart circle", float(256 + 128 * std::cos(a)),
                        float(256 + 128 * std::sin(a)), 0, 0, 10});
    }
    for (const char* f : {".\\config\\objects\\bridge.p", ".\\config\\objects\\bridge3.p",
                          ".\\config\\objects\\bridge4.p", ".\\config\\objects\\bridge5.p",
                          ".\\config\\objects\\bridge6.p"})
        keep.push_back(bridge_approach(f));

    const std::vector<Planted> all = plant_all();
    size_t count[3] = {0, 0, 0};
    for (const Planted& p : all) {
        ++count[int(p.kind)];
        SCOPED_TRACE(testing::Message() << "kind " << int(p.kind) << " at " << p.ground.x << ", " << p.ground.z);
        EXPECT_GT(p.ground.y, 20.5f) << "in the water";
        EXPECT_LT(roughness(p.ground), 1.0f) << "on a cliff";
        for (const Keep& k : keep) EXPECT_FALSE(k.holds(p.ground)) << "on " << k.what;
    }
    // A moor that looks alive, and a model pass that stays affordable.
    EXPECT_GE(count[0], 60u);
    EXPECT_LE(count[0], 200u);
    EXPECT_GE(count[1], 20u);
    EXPECT_LE(count[1], 100u);
    EXPECT_GE(count[2], 3u);
    EXPECT_LE(count[2], 20u);
}
