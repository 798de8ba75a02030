// The scattering of the scenery: the ground's slope, the random search for places, looks and poses.

#include "TempDir.h"

#include "Common/ParameterFile.h"
#include "Common/Random.h"
#include "Objects/SceneryRules.h"
#include "Physics/TerrainPhysics.h"
#include "Terrain/HeightMap.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

float flat(int, int) { return 30; }
float ramp_x(int x, int) { return 10 + 2.0f * float(x); }
float ramp_z(int, int z) { return 10 + 3.0f * float(z); }

// The global height map's physics map is set per test; heights are samples / 2, exactly.
class Scatter : public ::testing::Test {
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
        testing::internal::CaptureStderr();
        size_t k = terrain.find_positions(n, min_h, range, min_distance, reject_slope).size();
        message = testing::internal::GetCapturedStderr();
        return k;
    }

    TempDir dir;
    TerrainPhysics terrain{dir.write("t.p", "vertical_extent=-20\nstatic_friction=1\ndynamic_friction=1\n").c_str()};
    std::string message;
};

} // namespace

TEST_F(Scatter, TerrainNormalFollowsTheSlopeAndClampsAtTheEdges)
{
    struct Case {
        float (*height)(int, int);
        long x, z;
        float rise_x, rise_z; // the tangents' rises: two samples apart inside, one at an edge
    };
    for (const Case& c : {Case{flat, 4, 4, 0, 0}, Case{ramp_x, 4, 4, 4, 0}, Case{ramp_x, 0, 4, 2, 0},
                          Case{ramp_x, 7, 4, 2, 0}, Case{ramp_z, 4, 4, 0, 6}, Case{ramp_z, 4, 0, 0, 3},
                          Case{ramp_z, 4, 7, 0, 3}}) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.z);
        set_map(8, 8, c.height);
        TerrainSlope s = terrain.terrain_normal(c.x, c.z);
        EXPECT_EQ(s.tx, NxVec3(1, c.rise_x, 0));
        EXPECT_EQ(s.tz, NxVec3(0, c.rise_z, 1));
        NxVec3 n(-c.rise_x, 1, -c.rise_z);
        n.normalize();
        EXPECT_LT(s.normal.distance(n), 1e-6f);
    }
}

TEST_F(Scatter, NoObjectsWantedDrawsNothing)
{
    set_map(8, 8, flat);
    EXPECT_EQ(found(0, 0, 100, 0, 1), 0u);
    EXPECT_EQ(message, "tried 0 positions and found 0 valid tree positions\n");
    EXPECT_EQ(found(-3, 0, 100, 0, 1), 0u);
    const int next = game_rand();
    reset_game_rand();
    EXPECT_EQ(next, game_rand()) << "the generator moved";
}

TEST_F(Scatter, AcceptsOnlyGroundStrictlyInsideTheBandAndFlatterThanTheLimit)
{
    struct Case {
        float (*height)(int, int);
        float min_h, range, reject_slope;
        size_t found; // of 3 wanted, in 3 tries when all pass, 9 when none does
    };
    for (const Case& c : {Case{flat, 29, 2, 0.5f, 3}, Case{flat, 30, 5, 0.5f, 0}, Case{flat, 25, 5, 0.5f, 0},
                          Case{flat, 29, 2, 0, 0}, Case{flat, 29, 2, 1e-7f, 3}, Case{ramp_x, 0, 100, 0.5f, 0},
                          Case{ramp_x, 0, 100, 0.9f, 3}}) {
        SCOPED_TRACE(testing::Message() << c.min_h << " + " << c.range << ", slope " << c.reject_slope);
        set_map(8, 8, c.height);
        EXPECT_EQ(found(3, c.min_h, c.range, 0, c.reject_slope), c.found);
        EXPECT_EQ(message.rfind(c.found ? "tried 3 " : "tried 9 ", 0), 0u) << message;
    }
}

TEST_F(Scatter, TwoPlacesExactlyTheMinimumDistanceApartBothStand)
{
    set_map(4, 1, [](int x, int) { return x == 0 || x == 3 ? 30.0f : 10.0f; }); // only x = 0 and 3 in the band
    EXPECT_EQ(found(10, 20, 20, 3, 1), 2u);
    EXPECT_EQ(found(10, 20, 20, 3.01f, 1), 1u);
}

TEST_F(Scatter, ScaleNeverFallsToZeroOrBelow)
{
    using K = SceneryKind;
    struct Case {
        K kind;
        float scale, v, div, expected;
    };
    for (const Case& c : {Case{K::tree, 32, -8, 1, 24}, Case{K::tree, 5, -5, 1, 0.0001f},
                          Case{K::mushroom, 32, -2, 4, 24}, Case{K::lazyboy, 8, -2, 4, 0.0001f},
                          Case{K::mushroom, 8, -1, 0, 0.0001f}})
        EXPECT_EQ(varied_scale(c.kind, c.scale, c.v, c.div), c.expected) << c.scale << " " << c.v << " " << c.div;
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

TEST_F(Scatter, AVarianceModulusBelowOneIsABadValue)
{
    ParameterFile p(dir.write("m.p", "scale_variance_mod=0\nscale_variance_sub=0\n"));
    EXPECT_THROW(read_model_keys(p, SceneryKind::tree), BadValueException);
    EXPECT_EQ(last_bad_value().key, "scale_variance_mod");
}
