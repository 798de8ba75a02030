// The generated models as the game's model loader reads them, without GL: within its limits,
// cycles named by the frame-name rule, front faces outwards, command lists that draw the file.
#include "GameDir.h"
#include "Md2Decoded.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

struct Expected {
    const char* md2;
    std::vector<const char*> skins; // textures the game binds to the model
    std::vector<std::string> cycles;
    bool animated = true;
};

void PrintTo(const Expected& e, std::ostream* os) { *os << e.md2; }

const std::vector<Expected>& expected_models()
{
    static const std::vector<Expected> list = {
        {"media/objects/duck/duck.md2", {"media/objects/duck/duck.jpg"}, {"paddle", "preen"}},
        {"media/objects/ship/ship_anim.md2", {"media/objects/ship/ship.jpg"}, {"fly"}},
        {"media/objects/hover/hover.md2", {"media/objects/hover/hover.jpg"}, {"hover"}},
        {"media/objects/hover/rotor1.md2", {"media/objects/hover/hover.jpg"}, {"spin"}},
        {"media/objects/hover/rotor2.md2", {"media/objects/hover/hover.jpg"}, {"spin"}},
        {"media/objects/teddy/teddy.md2", {"media/objects/teddy/teddy.jpg", "media/objects/evil/evil.jpg"}, {"ride", "cheer"}},
        {"media/objects/cam/cam.md2", {"media/objects/cam/cam.jpg"}, {"film"}},
        {"media/objects/trees/tree.md2", {"media/objects/trees/tree.jpg"}, {"sway"}},
        {"media/objects/pilz/pilz.md2", {"media/objects/pilz/pilz.jpg"}, {"wobble"}},
        {"media/objects/tree_lazy_boy/tree_lazy_boy.md2", {"media/objects/tree_lazy_boy/tree_lazy_boy.jpg"}, {"lazy"}},
        {"media/objects/crystal/crystal.md2", {"media/objects/crystal/crystal.jpg"},
         {"idle", "glow", "turn", "pulse", "spin", "bounce", "frenzy"}},
        {"media/objects/bridge/bridge.md2", {"media/objects/bridge/bridge.jpg"}, {"plank"}, false},
    };
    return list;
}

class MediaModels : public ::testing::TestWithParam<Expected> {
protected:
    void SetUp() override
    {
        std::string err = md2.load(game_file(GetParam().md2));
        ASSERT_EQ(err, "") << GetParam().md2;
    }
    Md2Decoded md2;
};

std::string name_of(const ::testing::TestParamInfo<Expected>& info)
{
    const std::string s = info.param.md2;
    return s.substr(s.rfind('/') + 1, s.rfind('.') - s.rfind('/') - 1);
}

// A triangle's vertex indices rotated so that the smallest comes first (winding kept).
std::array<int, 3> canonical(int a, int b, int c)
{
    std::array<int, 3> t{a, b, c};
    std::rotate(t.begin(), std::min_element(t.begin(), t.end()), t.end());
    return t;
}

} // namespace

// The skins decode at the size the texture coordinates are measured in.
TEST_P(MediaModels, SkinsMatchTheTextureCoordinates)
{
    for (const char* rel : GetParam().skins) {
        std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> s(IMG_Load(game_file(rel).c_str()), SDL_FreeSurface);
        ASSERT_TRUE(s) << rel << ": " << IMG_GetError();
        EXPECT_EQ(md2.skin_w, s->w) << rel;
        EXPECT_EQ(md2.skin_h, s->h) << rel;
    }
    for (const auto& st : md2.texcoords)
        ASSERT_TRUE(st.first >= 0 && st.first <= md2.skin_w && st.second >= 0 && st.second <= md2.skin_h);
    EXPECT_EQ(md2.file.Header().num_skins, 1);
}

TEST_P(MediaModels, FrameNamesFormTheExpectedCycles)
{
    std::vector<std::pair<std::string, int>> cycles = md2.cycles();
    ASSERT_EQ(cycles.size(), GetParam().cycles.size());
    for (size_t i = 0; i < cycles.size(); ++i) EXPECT_EQ(cycles[i].first, GetParam().cycles[i]);
    for (const std::string& n : md2.frame_names) EXPECT_LE(n.size(), 15u);
    EXPECT_TRUE(GetParam().animated ? cycles[0].second >= 2 : md2.frames.size() == 1u)
        << cycles[0].second << " frames in the first cycle, " << md2.frames.size() << " in all";
}

TEST_P(MediaModels, TrianglesHaveNormalsInEveryKeyFrame)
{
    // The game takes normals from the triangles in the compressed byte space: a triangle whose
    // bytes collapse in any key frame has none.
    for (size_t f = 0; f < md2.frame_bytes.size(); ++f) {
        const std::vector<uint8_t>& q = md2.frame_bytes[f];
        int collapsed = 0;
        for (const Md2Decoded::Tri& t : md2.tris) {
            long d[2][3];
            for (int e = 0; e < 2; ++e)
                for (int k = 0; k < 3; ++k) d[e][k] = long(q[3 * t.v[e + 1] + k]) - long(q[3 * t.v[0] + k]);
            collapsed += d[0][1] * d[1][2] == d[0][2] * d[1][1] && d[0][2] * d[1][0] == d[0][0] * d[1][2] &&
                         d[0][0] * d[1][1] == d[0][1] * d[1][0];
        }
        EXPECT_EQ(collapsed, 0) << "frame " << md2.frame_names[f];
    }
}

TEST_P(MediaModels, CommandListDrawsExactlyTheTrianglesOfTheFile)
{
    if (md2.runs.empty()) { // the triangle form: the loader picks it by a word count below 2
        EXPECT_LT(md2.file.Header().num_glcmds, 2);
        return;
    }
    std::multiset<std::array<int, 3>> from_file, from_runs;
    std::map<int, std::set<std::pair<float, float>>> coords_of_vertex;
    for (const Md2Decoded::Tri& t : md2.tris) {
        from_file.insert(canonical(t.v[0], t.v[1], t.v[2]));
        for (int k = 0; k < 3; ++k)
            coords_of_vertex[t.v[k]].insert({float(md2.texcoords[t.st[k]].first) / md2.skin_w,
                                             float(md2.texcoords[t.st[k]].second) / md2.skin_h});
    }
    for (const Md2Decoded::Run& r : md2.runs) {
        const auto& v = r.records;
        for (size_t i = 0; i + 2 < v.size(); ++i) {
            // a fan turns about its first vertex; a strip flips its winding every other triangle
            const int a = r.fan ? v[0].vertex : v[i + i % 2].vertex, b = r.fan ? v[i + 1].vertex : v[i + 1 - i % 2].vertex;
            from_runs.insert(canonical(a, b, v[i + 2].vertex));
        }
        for (const Md2GlVertex& c : v) { // the normalised coordinates are those of the triangle records
            const auto& coords = coords_of_vertex[c.vertex];
            EXPECT_TRUE(std::any_of(coords.begin(), coords.end(), [&](const std::pair<float, float>& st) {
                return std::fabs(st.first - c.s) < 1e-4f && std::fabs(st.second - c.t) < 1e-4f;
            })) << "vertex " << c.vertex;
        }
    }
    EXPECT_TRUE(from_runs == from_file);
}

INSTANTIATE_TEST_SUITE_P(All, MediaModels, ::testing::ValuesIn(expected_models()), name_of);
