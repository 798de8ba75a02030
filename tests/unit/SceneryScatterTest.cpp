// The scattering of the scenery: the slope of the physics map, the random search for
// places, and the looks and poses the objects get.

#include "TempDir.h"

#include "Common/ParameterFile.h"
#include "Common/Random.h"
#include "Objects/SceneryRules.h"
#include "Physics/TerrainPhysics.h"
#include "Terrain/HeightMap.h"
#include "Terrain/TerrainTileMesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace {

// Heights are samples / 2, exactly.
const float kDangerY = 0.5f;

class Scatter : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int k = 0; k < 3; ++k) saved_danger[k] = dangerScale[k];
        dangerScale[0] = dangerScale[2] = 1;
        dangerScale[1] = kDangerY;
        reset_game_rand();
    }
    void TearDown() override
    {
        delete[] hmap.phys_map;
        hmap.phys_map = nullptr;
        hmap.phys_map_w = hmap.phys_map_h = 0;
        for (int k = 0; k < 3; ++k) dangerScale[k] = saved_danger[k];
        reset_game_rand();
    }

    // The global height map's physics map, w x h samples with height(x, z).
    static void set_map(unsigned w, unsigned h, const std::function<float(int, int)>& height)
    {
        delete[] hmap.phys_map;
        hmap.phys_map = new uint16_t[w * h];
        hmap.phys_map_w = w;
        hmap.phys_map_h = h;
        for (unsigned z = 0; z < h; ++z)
            for (unsigned x = 0; x < w; ++x) hmap.phys_map[z * w + x] = uint16_t(height(int(x), int(z)) / kDangerY);
    }

    // find_positions with its message kept.
    std::vector<NxVec3> find(int n, float min_h, float range, float min_distance, float reject_slope)
    {
        testing::internal::CaptureStderr();
        std::vector<NxVec3> found = terrain.find_positions(n, min_h, range, min_distance, reject_slope);
        message = testing::internal::GetCapturedStderr();
        return found;
    }

    TempDir dir;
    TerrainPhysics terrain{
        dir.write("terrain.p", "vertical_extent=-20\nstatic_friction=0.5\ndynamic_friction=0.4\n").c_str()};
    std::string message;
    float saved_danger[3];
};

float flat(int, int) { return 30; }
float ramp_x(int x, int) { return 10 + 2.0f * float(x); }
float ramp_z(int, int z) { return 10 + 3.0f * float(z); }

} // namespace

TEST_F(Scatter, TerrainNormalFollowsTheSlopeAndClampsAtTheEdges)
{
    struct Case {
        const char* what;
        float (*height)(int, int);
        long x, z;
        float rise_x, rise_z; // the tangents' rises
    };
    const Case cases[] = {
        {"flat", flat, 4, 4, 0, 0},
        {"ramp along x, inside: two samples' rise", ramp_x, 4, 4, 4, 0},
        {"ramp along x, west edge: one sample", ramp_x, 0, 4, 2, 0},
        {"ramp along x, east edge: one sample", ramp_x, 7, 4, 2, 0},
        {"ramp along z, inside", ramp_z, 4, 4, 0, 6},
        {"ramp along z, north edge", ramp_z, 4, 0, 0, 3},
        {"ramp along z, south edge", ramp_z, 4, 7, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        set_map(8, 8, c.height);
        TerrainSlope s = terrain.terrain_normal(c.x, c.z);
        EXPECT_EQ(s.tx, NxVec3(1, c.rise_x, 0));
        EXPECT_EQ(s.tz, NxVec3(0, c.rise_z, 1));
        NxVec3 n(-c.rise_x, 1, -c.rise_z);
        n.normalize();
        EXPECT_NEAR(s.normal.x, n.x, 1e-6);
        EXPECT_NEAR(s.normal.y, n.y, 1e-6);
        EXPECT_NEAR(s.normal.z, n.z, 1e-6);
    }
}

TEST_F(Scatter, NoObjectsWantedDrawsNothing)
{
    set_map(8, 8, flat);
    EXPECT_TRUE(find(0, 0, 100, 0, 1).empty());
    EXPECT_EQ(message, "tried 0 positions and found 0 valid tree positions\n");
    EXPECT_TRUE(find(-3, 0, 100, 0, 1).empty());
    const int next = game_rand();
    reset_game_rand();
    EXPECT_EQ(next, game_rand()) << "the generator moved";
}

TEST_F(Scatter, AcceptsOnlyGroundStrictlyInsideTheBandAndFlatterThanTheLimit)
{
    struct Case {
        const char* what;
        float (*height)(int, int);
        float min_h, range, reject_slope;
        size_t found; // of 3 wanted
    };
    const Case cases[] = {
        {"inside the band", flat, 29, 2, 0.5f, 3},
        {"height equal to the lower bound", flat, 30, 5, 0.5f, 0},
        {"height equal to offset + range", flat, 25, 5, 0.5f, 0},
        {"reject_slope 0 on flat ground", flat, 29, 2, 0, 0},
        {"the smallest positive reject_slope on flat ground", flat, 29, 2, 1e-7f, 3},
        {"a steep ramp under a low limit", ramp_x, 0, 100, 0.5f, 0},
        {"a steep ramp under a high limit", ramp_x, 0, 100, 0.9f, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        set_map(8, 8, c.height);
        EXPECT_EQ(find(3, c.min_h, c.range, 0, c.reject_slope).size(), c.found);
        const std::string tries = c.found == 3 ? "tried 3 " : "tried 9 ";
        EXPECT_EQ(message.rfind(tries, 0), 0u) << message;
    }
}

TEST_F(Scatter, TwoPlacesExactlyTheMinimumDistanceApartBothStand)
{
    // Only (0, 0) and (3, 0) lie in the band, three units apart.
    set_map(4, 1, [](int x, int) { return x == 0 || x == 3 ? 30.0f : 10.0f; });
    EXPECT_EQ(find(10, 20, 20, 3, 1).size(), 2u);
    EXPECT_EQ(find(10, 20, 20, 3.01f, 1).size(), 1u);
}

TEST_F(Scatter, ScaleNeverFallsToZeroOrBelow)
{
    struct Case {
        SceneryKind kind;
        float scale, v, div, expected;
    };
    const Case cases[] = {
        {SceneryKind::tree, 32, -8, 1, 24},        {SceneryKind::tree, 5, -5, 1, 0.0001f},
        {SceneryKind::tree, 5, -9, 1, 0.0001f},    {SceneryKind::mushroom, 32, -2, 4, 24},
        {SceneryKind::lazyboy, 8, -2, 4, 0.0001f}, {SceneryKind::mushroom, 8, -1, 0, 0.0001f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(varied_scale(c.kind, c.scale, c.v, c.div), c.expected) << c.scale << " " << c.v << " " << c.div;
}

TEST_F(Scatter, AnimationSpeedStaysInTheGroupsBand)
{
    ScatterModelKeys keys;
    keys.anim_speed = 3.5f;
    struct Case {
        SceneryKind kind;
        int d;
        float x_scale, v, expected;
    };
    const Case cases[] = {
        {SceneryKind::tree, 0, 24, 0, 4.1f},      {SceneryKind::tree, 100, 24, -8, 5.0f},
        {SceneryKind::tree, 100, -30, 0, 2.5f},    {SceneryKind::mushroom, 1, 0, 0, 4.5f},
        {SceneryKind::mushroom, 9, 0, 0, 5.5f},   {SceneryKind::lazyboy, 0, 0, 0, 3.0f},
        {SceneryKind::lazyboy, 13, 0, 0, 3.0f},   {SceneryKind::lazyboy, 9, 0, 0, 5.0f},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(scenery_anim_speed(c.kind, c.d, keys, c.x_scale, c.v), c.expected)
            << int(c.kind) << " draw " << c.d;
}

TEST_F(Scatter, ObjectsStandUprightOnTheGroundsNormalLiftedByHalfTheTranslate)
{
    set_map(8, 8, ramp_x);
    const SceneryPose pose = scenery_pose(terrain.terrain_normal(3, 3), NxVec3(3, 16, 3), 2);
    EXPECT_EQ(pose.position, NxVec3(3, 17, 3));
    const NxMat33 m(pose.rows[0], pose.rows[1], pose.rows[2]);
    const NxMat33 should_be_identity = m.transposed() * m;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(should_be_identity.m[r][c], r == c ? 1 : 0, 1e-5) << r << c;
    const NxVec3 up = m.getColumn(1), normal = terrain.terrain_normal(3, 3).normal;
    EXPECT_NEAR(up.distance(normal), 0, 1e-6);
    EXPECT_NEAR(m.getColumn(0).cross(up).distance(m.getColumn(2)), 0, 1e-6) << "not right-handed";
}

TEST_F(Scatter, TwoRunsPlaceEveryObjectAlike)
{
    set_map(64, 64, [](int x, int z) { return 30 + 8 * std::sin(x * 0.2f) * std::cos(z * 0.15f); });
    ScatterModelKeys keys;
    keys.variance_mod = 17;
    keys.variance_sub = 8;
    keys.scale[0] = keys.scale[1] = keys.scale[2] = 32;
    auto run = [&] {
        reset_game_rand();
        return plan_scenery(terrain, SceneryKind::tree, find(40, 24, 12, 3, 0.3f), keys, 2);
    };
    const std::vector<SceneryItem> first = run(), second = run();
    ASSERT_GT(first.size(), 10u);
    ASSERT_EQ(first.size(), second.size());
    bool headings_vary = false;
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].pose.position, second[i].pose.position) << i;
        EXPECT_EQ(first[i].look.heading, second[i].look.heading) << i;
        EXPECT_EQ(first[i].look.fps, second[i].look.fps) << i;
        for (int k = 0; k < 3; ++k) EXPECT_EQ(first[i].look.scale[k], second[i].look.scale[k]) << i;
        headings_vary = headings_vary || first[i].look.heading != first[0].look.heading;
    }
    EXPECT_TRUE(headings_vary);
}

TEST_F(Scatter, AVarianceModulusBelowOneIsABadValue)
{
    const std::string path = dir.write("m.p", "scale_variance_mod=0\nscale_variance_sub=0\n");
    ParameterFile p(path);
    EXPECT_THROW(read_model_keys(p, SceneryKind::tree), BadValueException);
    EXPECT_EQ(last_bad_value().key, "scale_variance_mod");
}
