// The instance files beside the models: every key the game reads is usable, and each model
// placed as the game places it has the size and direction of its game object.
#include "GameDir.h"
#include "Md2Decoded.h"

#include "Common/ParameterFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct Box {
    float lo[3] = {1e30f, 1e30f, 1e30f};
    float hi[3] = {-1e30f, -1e30f, -1e30f};
    float size(int k) const { return hi[k] - lo[k]; }
    float mid(int k) const { return 0.5f * (hi[k] + lo[k]); }
};

const char* const kAxes[3] = {"x", "y", "z"};

// The bounding box of a model's first key frame in graphics units, placed as the game draws
// an instance: p' = T * Rx * Ry * Rz * S * p.
Box placed_box(const std::string& md2, const std::string& params)
{
    Md2Decoded m;
    Box b;
    if (m.load(game_file(md2)) != "") return b; // the model tests name the fault
    ParameterFile pf(game_file(params));
    float scale[3], rot[3], transl[3];
    for (int k = 0; k < 3; ++k) {
        scale[k] = pf.getFloat(std::string("scale_") + kAxes[k]);
        rot[k] = pf.getFloat(std::string("standard_rot_") + kAxes[k]) * 3.14159265f / 180.0f;
        transl[k] = pf.getFloat(std::string("standard_transl_") + kAxes[k]);
    }
    for (const Md2Decoded::V3& v : m.frames[0]) {
        float p[3] = {v.x * scale[0], v.y * scale[1], v.z * scale[2]};
        for (int a : {2, 1, 0}) { // about z, then y, then x
            const int i = (a + 1) % 3, j = (a + 2) % 3;
            const float c = std::cos(rot[a]), s = std::sin(rot[a]), pi = c * p[i] - s * p[j];
            p[j] = s * p[i] + c * p[j];
            p[i] = pi;
        }
        for (int k = 0; k < 3; ++k) {
            b.lo[k] = std::min(b.lo[k], p[k] + transl[k]);
            b.hi[k] = std::max(b.hi[k], p[k] + transl[k]);
        }
    }
    return b;
}

// Graphics units per physics unit: 8 x phys_minfact.
float gfx_per_phys() { return 8.0f * ParameterFile(game_file("config/gfx.p")).getFloat("phys_minfact"); }

} // namespace

TEST(MediaInstanceFiles, HoldEveryKeyTheInstanceReaderReads)
{
    for (const char* name : {"duck/duck", "ship/ship", "hover/hover", "hover/rotor", "evil/evil", "cam/cam",
                             "hover/hover_player", "hover/rotor_player", "teddy/teddy_player", "trees/tree", "pilz/pilz",
                             "tree_lazy_boy/tree_lazy_boy", "crystal/crystal", "bridge/bridge"}) {
        const std::string rel = std::string("media/objects/") + name + ".p";
        ParameterFile p(game_file(rel)); // a missing file ends the program, naming it
        for (const char* prefix : {"standard_rot_", "standard_transl_"})
            for (const char* axis : kAxes) EXPECT_NO_THROW(p.getFloat(std::string(prefix) + axis)) << rel;
        for (const char* key : {"scale_x", "scale_y", "scale_z", "anim_speed"}) EXPECT_GT(p.getFloat(key), 0.0f) << rel << ": " << key;
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
                const float scaled = g.renormalised ? (s / r + float(v)) * r : s + float(v);
                EXPECT_TRUE(scaled > 0.25f * s && scaled < 2.0f * s) << g.rel << " " << key << " with variance " << v;
            }
        }
    }
}

// The placed boxes against the bodies the game gives them, in physics units: a range for the
// box's size along an axis, or its lowest point.
TEST(MediaInstanceFiles, ModelsArePlacedAtTheirBodiesSizes)
{
    const float u = gfx_per_phys();
    ParameterFile bridge(game_file("config/objects/bridge.p"));
    const float board_z = 2.0f * bridge.getFloat("dyn_boxSize_Z"), board_y = bridge.getFloat("dyn_boxSize_Y");
    const float step = bridge.getFloat("step_size");
    enum What { Size, Low };
    struct Case {
        const char *md2, *params;
        What what;
        int axis;
        float lo, hi;
    } cases[] = {
        // the player's hull: 3 x 1 x 2, x forward, the skirt on the body's floor
        {"hover/hover", "hover/hover_player", Size, 0, 2.9f, 3.1f},
        {"hover/hover", "hover/hover_player", Size, 2, 1.9f, 2.1f},
        {"hover/hover", "hover/hover_player", Low, 1, -0.55f, -0.45f},
        // the opponents' hull is long along z
        {"hover/hover", "hover/hover", Size, 2, 2.9f, 3.1f},
        // the ship is long along its course, -z (with the bowsprit)
        {"ship/ship_anim", "ship/ship", Size, 2, 5.4f, 6.6f},
        // the plank fills its body's box across and below; the hand ropes reach exactly one
        // step, so a row of planks shows unbroken ropes
        {"bridge/bridge", "bridge/bridge", Size, 2, board_z - 0.05f, board_z + 0.05f},
        {"bridge/bridge", "bridge/bridge", Low, 1, -board_y - 0.02f, -board_y + 0.02f},
        {"bridge/bridge", "bridge/bridge", Size, 0, step - 0.02f, step + 0.02f},
        // scenery at its middle size, and the crystal that is collected
        {"trees/tree", "trees/tree", Size, 1, 4.0f, 8.0f},
        {"pilz/pilz", "pilz/pilz", Size, 1, 1.0f, 3.0f},
        {"crystal/crystal", "crystal/crystal", Size, 1, 0.3f, 0.7f},
    };
    for (const Case& c : cases) {
        Box b = placed_box(std::string("media/objects/") + c.md2 + ".md2", std::string("media/objects/") + c.params + ".p");
        const float v = (c.what == Size ? b.size(c.axis) : b.lo[c.axis]) / u;
        EXPECT_TRUE(v >= c.lo && v <= c.hi) << c.md2 << " placed by " << c.params << ", axis " << c.axis << ": " << v;
    }
}

// The fans sit at the stern: the player's nose is +x, the opponents' -z.
TEST(MediaInstanceFiles, HoversFaceForward)
{
    Box hull = placed_box("media/objects/hover/hover.md2", "media/objects/hover/hover_player.p");
    Box rotor = placed_box("media/objects/hover/rotor1.md2", "media/objects/hover/rotor_player.p");
    EXPECT_LT(rotor.mid(0), hull.mid(0) - 0.25f * hull.size(0));
    Box evil_hull = placed_box("media/objects/hover/hover.md2", "media/objects/hover/hover.p");
    Box evil_rotor = placed_box("media/objects/hover/rotor2.md2", "media/objects/hover/rotor.p");
    EXPECT_GT(evil_rotor.mid(2), evil_hull.mid(2) + 0.25f * evil_hull.size(2));
}
