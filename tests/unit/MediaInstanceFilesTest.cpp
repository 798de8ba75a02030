// The instance files beside the models: every key the game reads is there with a usable
// value, and placing each model the way the game does (translate, rotate about x, y, z,
// scale) gives the sizes and directions the game objects expect: 32 graphics units per
// physics unit, the player's hull nose along +x, the opponents' and the ship's along -z.
#include "GameDir.h"
#include "Md2Decoded.h"

#include "Common/ParameterFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const char* const kInstanceKeys[] = {"scale_x",           "scale_y",           "scale_z",          "standard_rot_x",
                                     "standard_rot_y",    "standard_rot_z",    "standard_transl_x", "standard_transl_y",
                                     "standard_transl_z", "anim_speed"};

const char* const kInstanceFiles[] = {
    "media/objects/duck/duck.p",         "media/objects/ship/ship.p",
    "media/objects/hover/hover.p",       "media/objects/hover/rotor.p",
    "media/objects/evil/evil.p",         "media/objects/cam/cam.p",
    "media/objects/hover/hover_player.p", "media/objects/hover/rotor_player.p",
    "media/objects/teddy/teddy_player.p", "media/objects/trees/tree.p",
    "media/objects/pilz/pilz.p",         "media/objects/tree_lazy_boy/tree_lazy_boy.p",
    "media/objects/crystal/crystal.p",   "media/objects/bridge/bridge.p"};

struct Box {
    float lo[3] = {1e30f, 1e30f, 1e30f};
    float hi[3] = {-1e30f, -1e30f, -1e30f};
    float size(int k) const { return hi[k] - lo[k]; }
    float mid(int k) const { return 0.5f * (hi[k] + lo[k]); }
};

struct Placement {
    float scale[3], rot[3], transl[3];
};

Placement read_placement(const std::string& rel)
{
    ParameterFile p(game_file(rel));
    Placement pl;
    const char* axes[3] = {"x", "y", "z"};
    for (int k = 0; k < 3; ++k) {
        pl.scale[k] = p.getFloat(std::string("scale_") + axes[k]);
        pl.rot[k] = p.getFloat(std::string("standard_rot_") + axes[k]);
        pl.transl[k] = p.getFloat(std::string("standard_transl_") + axes[k]);
    }
    return pl;
}

// p' = T * Rx * Ry * Rz * S * p, the order in which the game draws an instance.
void place(const Placement& pl, float p[3])
{
    const float d = 3.14159265f / 180.0f;
    float v[3] = {p[0] * pl.scale[0], p[1] * pl.scale[1], p[2] * pl.scale[2]};
    float c = std::cos(pl.rot[2] * d), s = std::sin(pl.rot[2] * d);
    float x = c * v[0] - s * v[1], y = s * v[0] + c * v[1];
    v[0] = x, v[1] = y;
    c = std::cos(pl.rot[1] * d), s = std::sin(pl.rot[1] * d);
    x = c * v[0] + s * v[2];
    float z = -s * v[0] + c * v[2];
    v[0] = x, v[2] = z;
    c = std::cos(pl.rot[0] * d), s = std::sin(pl.rot[0] * d);
    y = c * v[1] - s * v[2], z = s * v[1] + c * v[2];
    v[1] = y, v[2] = z;
    for (int k = 0; k < 3; ++k)
        p[k] = v[k] + pl.transl[k];
}

// The placed bounding box of a model's first key frame, in graphics units.
Box placed_box(const std::string& md2, const std::string& params)
{
    Md2Decoded m;
    std::string err = m.load(game_file(md2));
    EXPECT_EQ(err, "") << md2;
    Box b;
    if (!err.empty())
        return b;
    Placement pl = read_placement(params);
    for (const Md2Decoded::V3& v : m.frames[0]) {
        float p[3] = {v.x, v.y, v.z};
        place(pl, p);
        for (int k = 0; k < 3; ++k) {
            b.lo[k] = std::min(b.lo[k], p[k]);
            b.hi[k] = std::max(b.hi[k], p[k]);
        }
    }
    return b;
}

// Graphics units per physics unit: 8 x phys_minfact.
float gfx_per_phys()
{
    ParameterFile gfx(game_file("config/gfx.p"));
    return 8.0f * gfx.getFloat("phys_minfact");
}

} // namespace

TEST(MediaInstanceFiles, HoldEveryKeyTheInstanceReaderReads)
{
    for (const char* rel : kInstanceFiles) {
        ASSERT_TRUE(std::filesystem::exists(game_file(rel))) << rel;
        ParameterFile p(game_file(rel));
        for (const char* key : kInstanceKeys) {
            EXPECT_NO_THROW(p.getFloat(key)) << rel << ": " << key;
        }
        EXPECT_GT(p.getFloat("scale_x"), 0.0f) << rel;
        EXPECT_GT(p.getFloat("scale_y"), 0.0f) << rel;
        EXPECT_GT(p.getFloat("scale_z"), 0.0f) << rel;
        EXPECT_GT(p.getFloat("anim_speed"), 0.0f) << rel;
    }
}

TEST(MediaInstanceFiles, ScatteredSceneryVariesItsSizeWithoutVanishing)
{
    struct Group {
        const char* rel;
        bool renormalised; // mushrooms and lazy boys: (scale / r + v) * r; trees: scale + v
    } groups[] = {{"media/objects/trees/tree.p", false},
                  {"media/objects/pilz/pilz.p", true},
                  {"media/objects/tree_lazy_boy/tree_lazy_boy.p", true}};
    for (const Group& g : groups) {
        ParameterFile p(game_file(g.rel));
        const int mod = p.getInt("scale_variance_mod"), sub = p.getInt("scale_variance_sub");
        ASSERT_GT(mod, 0) << g.rel << ": the game divides by it";
        const float r = g.renormalised ? p.getFloat("scale_variance_renormalize_div") : 1.0f;
        ASSERT_GT(r, 0.0f) << g.rel;
        for (const char* key : {"scale_x", "scale_y", "scale_z"}) {
            const float s = p.getFloat(key);
            for (int v : {-sub, mod - 1 - sub}) { // the smallest and largest variance drawn
                float scaled = g.renormalised ? (s / r + float(v)) * r : s + float(v);
                EXPECT_GT(scaled, 0.25f * s) << g.rel << " " << key << " with variance " << v;
                EXPECT_LT(scaled, 2.0f * s) << g.rel << " " << key << " with variance " << v;
            }
        }
    }
}

TEST(MediaInstanceFiles, PlayerHullFillsItsBodyWithTheNoseForward)
{
    const float u = gfx_per_phys();
    Box hull = placed_box("media/objects/hover/hover.md2", "media/objects/hover/hover_player.p");
    EXPECT_NEAR(hull.size(0), 3.0f * u, 0.1f * u); // 3 x 1 x 2 physics units, x forward
    EXPECT_NEAR(hull.size(2), 2.0f * u, 0.1f * u);
    EXPECT_NEAR(hull.lo[1], -0.5f * u, 0.05f * u); // the skirt stands on the body's floor
    EXPECT_NEAR(hull.mid(0), 0.0f, 0.1f * u);
    EXPECT_NEAR(hull.mid(2), 0.0f, 0.05f * u);
    // the fans sit at the stern, so the nose is +x
    Box rotor = placed_box("media/objects/hover/rotor1.md2", "media/objects/hover/rotor_player.p");
    EXPECT_LT(rotor.mid(0), hull.mid(0) - 0.25f * hull.size(0));
    // the rider sits on the deck, inside the hull's outline
    Box teddy = placed_box("media/objects/teddy/teddy.md2", "media/objects/teddy/teddy_player.p");
    EXPECT_GT(teddy.lo[1], hull.lo[1] + 0.5f * hull.size(1) - 0.1f * u);
    EXPECT_GT(teddy.hi[1], hull.hi[1] - 0.4f * u);
    EXPECT_GT(teddy.lo[0], hull.lo[0]);
    EXPECT_LT(teddy.hi[0], hull.hi[0]);
    EXPECT_NEAR(teddy.mid(2), 0.0f, 0.05f * u);
}

TEST(MediaInstanceFiles, OpponentHoverFacesMinusZWithItsRiderAndCamera)
{
    const float u = gfx_per_phys();
    Box hull = placed_box("media/objects/hover/hover.md2", "media/objects/hover/hover.p");
    EXPECT_NEAR(hull.size(2), 3.0f * u, 0.1f * u); // long along z
    EXPECT_NEAR(hull.size(0), 2.0f * u, 0.1f * u);
    Box rotor = placed_box("media/objects/hover/rotor2.md2", "media/objects/hover/rotor.p");
    EXPECT_GT(rotor.mid(2), hull.mid(2) + 0.25f * hull.size(2)); // fans aft: the nose is -z
    Box rider = placed_box("media/objects/teddy/teddy.md2", "media/objects/evil/evil.p");
    Box player_rider = placed_box("media/objects/teddy/teddy.md2", "media/objects/teddy/teddy_player.p");
    // the same seat, turned with the hull: the player's x becomes the opponent's -z
    EXPECT_NEAR(rider.lo[1], player_rider.lo[1], 0.01f * u);
    EXPECT_NEAR(rider.mid(2), -player_rider.mid(0), 0.02f * u);
    EXPECT_NEAR(rider.mid(0), player_rider.mid(2), 0.02f * u);
    Box cam = placed_box("media/objects/cam/cam.md2", "media/objects/cam/cam.p");
    EXPECT_LT(cam.mid(2), hull.mid(2)); // on the fore deck
    EXPECT_GT(cam.lo[1], hull.lo[1] + 0.4f * hull.size(1));
    EXPECT_GT(cam.lo[0], hull.lo[0]);
    EXPECT_LT(cam.hi[0], hull.hi[0]);
}

TEST(MediaInstanceFiles, ShipAndCrystalHaveTheirBodiesSizes)
{
    const float u = gfx_per_phys();
    Box ship = placed_box("media/objects/ship/ship_anim.md2", "media/objects/ship/ship.p");
    EXPECT_NEAR(ship.size(2), 6.0f * u, 0.6f * u); // long along its course, -z (with bowsprit)
    EXPECT_NEAR(ship.size(0), 4.0f * u, 0.6f * u);
    EXPECT_LT(std::fabs(ship.mid(1)), 0.5f * u);
    Box crystal = placed_box("media/objects/crystal/crystal.md2", "media/objects/crystal/crystal.p");
    for (int k = 0; k < 3; ++k) {
        EXPECT_GT(crystal.size(k), 0.3f * u);
        EXPECT_LT(crystal.size(k), 0.7f * u);
        EXPECT_NEAR(crystal.mid(k), 0.0f, 0.1f * u);
    }
}

TEST(MediaInstanceFiles, PlanksMatchTheBridgesPlankBodies)
{
    const float u = gfx_per_phys();
    ParameterFile bridge(game_file("config/objects/bridge.p"));
    Box plank = placed_box("media/objects/bridge/bridge.md2", "media/objects/bridge/bridge.p");
    // the board fills the body's box (half extents) across and below; the hand ropes stand
    // a little proud and reach exactly one step, so a row of planks shows unbroken ropes
    EXPECT_NEAR(plank.size(2), 2.0f * bridge.getFloat("dyn_boxSize_Z") * u, 0.05f * u);
    EXPECT_NEAR(plank.lo[1], -bridge.getFloat("dyn_boxSize_Y") * u, 0.02f * u);
    EXPECT_NEAR(plank.size(0), bridge.getFloat("step_size") * u, 0.02f * u);
}

TEST(MediaInstanceFiles, SceneryStandsUprightAtItsSize)
{
    const float u = gfx_per_phys();
    Box tree = placed_box("media/objects/trees/tree.md2", "media/objects/trees/tree.p");
    Box pilz = placed_box("media/objects/pilz/pilz.md2", "media/objects/pilz/pilz.p");
    Box lazy = placed_box("media/objects/tree_lazy_boy/tree_lazy_boy.md2", "media/objects/tree_lazy_boy/tree_lazy_boy.p");
    // upright: taller than wide; trees 4 to 8 physics units at their middle size
    EXPECT_GT(tree.size(1), tree.size(0));
    EXPECT_GT(tree.size(1), 4.0f * u);
    EXPECT_LT(tree.size(1), 8.0f * u);
    EXPECT_GT(lazy.size(1), 4.0f * u);
    EXPECT_LT(lazy.size(1), 8.0f * u);
    EXPECT_GT(pilz.size(1), 1.0f * u);
    EXPECT_LT(pilz.size(1), 3.0f * u);
}
