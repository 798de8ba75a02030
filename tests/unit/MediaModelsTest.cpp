// The generated models as the game's model loader sees them (read and converted by its own
// classes, without GL): valid MD2 files within the loader's limits, animation cycles named by the frame-name rule, front faces outwards after
// the swap to y up, GL command lists that draw exactly the file's triangles, and skins that
// match the size the texture coordinates are measured in.
#include "GameDir.h"
#include "Md2Decoded.h"

#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct Expected {
    const char* md2;
    const char* skin; // texture the game binds to the model
    std::vector<std::string> cycles;
    bool animated = true;
};

void PrintTo(const Expected& e, std::ostream* os) { *os << e.md2; }

const std::vector<Expected>& expected_models()
{
    static const std::vector<Expected> list = {
        {"media/objects/duck/duck.md2", "media/objects/duck/duck.jpg", {"paddle", "preen"}},
        {"media/objects/ship/ship_anim.md2", "media/objects/ship/ship.jpg", {"fly"}},
        {"media/objects/hover/hover.md2", "media/objects/hover/hover.jpg", {"hover"}},
        {"media/objects/hover/rotor1.md2", "media/objects/hover/hover.jpg", {"spin"}},
        {"media/objects/hover/rotor2.md2", "media/objects/hover/hover.jpg", {"spin"}},
        {"media/objects/teddy/teddy.md2", "media/objects/teddy/teddy.jpg", {"ride", "cheer"}},
        {"media/objects/cam/cam.md2", "media/objects/cam/cam.jpg", {"film"}},
        {"media/objects/trees/tree.md2", "media/objects/trees/tree.jpg", {"sway"}},
        {"media/objects/pilz/pilz.md2", "media/objects/pilz/pilz.jpg", {"wobble"}},
        {"media/objects/tree_lazy_boy/tree_lazy_boy.md2", "media/objects/tree_lazy_boy/tree_lazy_boy.jpg", {"lazy"}},
        {"media/objects/crystal/crystal.md2", "media/objects/crystal/crystal.jpg",
         {"idle", "glow", "turn", "pulse", "spin", "bounce", "frenzy"}},
        {"media/objects/bridge/bridge.md2", "media/objects/bridge/bridge.jpg", {"plank"}, false},
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
    std::string s = info.param.md2;
    s = s.substr(s.rfind('/') + 1);
    s = s.substr(0, s.find('.'));
    return s;
}

// A triangle's vertex indices rotated so that the smallest comes first (winding kept).
std::array<int, 3> canonical(int a, int b, int c)
{
    if (b < a && b < c)
        return {b, c, a};
    if (c < a && c < b)
        return {c, a, b};
    return {a, b, c};
}

} // namespace

TEST_P(MediaModels, HeaderAndSectionsAreConsistentWithTheFile)
{
    // The game's reader has checked identification, version, every section against the file
    // size and every index; what remains is the skin size the texture coordinates are
    // measured in.
    SDL_Surface* skin = IMG_Load(game_file(GetParam().skin).c_str());
    ASSERT_NE(skin, nullptr) << GetParam().skin << ": " << IMG_GetError();
    EXPECT_EQ(md2.skin_w, skin->w);
    EXPECT_EQ(md2.skin_h, skin->h);
    SDL_FreeSurface(skin);
    ASSERT_EQ(md2.skins.size(), 1u);
    for (const auto& st : md2.texcoords) {
        EXPECT_GE(st.first, 0);
        EXPECT_LE(st.first, md2.skin_w);
        EXPECT_GE(st.second, 0);
        EXPECT_LE(st.second, md2.skin_h);
    }
}

TEST_P(MediaModels, StaysWithinTheLoaderLimits)
{
    // the loader has refused anything beyond its limits; these are its own counts
    EXPECT_LE(md2.data.m_NumVertices, 2048);
    EXPECT_LE(md2.data.m_NumRenderVertices, 3072);
    EXPECT_LT(md2.tris.size(), 65536u);
}

TEST_P(MediaModels, FrameNamesFormTheExpectedCycles)
{
    std::vector<std::pair<std::string, int>> cycles = md2.cycles();
    ASSERT_EQ(cycles.size(), GetParam().cycles.size());
    for (size_t i = 0; i < cycles.size(); ++i) {
        EXPECT_EQ(cycles[i].first, GetParam().cycles[i]);
        EXPECT_GE(cycles[i].second, 1);
        EXPECT_LE(cycles[i].second, 255);
    }
    for (const std::string& n : md2.frame_names)
        EXPECT_LE(n.size(), 15u);
}

TEST_P(MediaModels, NoTriangleCollapsesInAnyKeyFrame)
{
    // The game takes normals from the triangles in the compressed byte space; a triangle
    // whose bytes collapse has no normal.
    for (size_t f = 0; f < md2.frame_bytes.size(); ++f) {
        const std::vector<uint8_t>& q = md2.frame_bytes[f];
        int collapsed = 0;
        for (const Md2Decoded::Tri& t : md2.tris) {
            long d[2][3];
            for (int e = 0; e < 2; ++e)
                for (int k = 0; k < 3; ++k)
                    d[e][k] = long(q[3 * t.v[e + 1] + k]) - long(q[3 * t.v[0] + k]);
            long cx = d[0][1] * d[1][2] - d[0][2] * d[1][1], cy = d[0][2] * d[1][0] - d[0][0] * d[1][2],
                 cz = d[0][0] * d[1][1] - d[0][1] * d[1][0];
            if (cx == 0 && cy == 0 && cz == 0)
                ++collapsed;
        }
        EXPECT_EQ(collapsed, 0) << "frame " << md2.frame_names[f];
    }
}

TEST_P(MediaModels, FrontFacesPointOutwardsInTheGameAxes)
{
    // Every model is closed; with counter-clockwise front faces (as the game culls) seen from
    // outside, the signed volume in y-up coordinates is positive.
    const std::vector<Md2Decoded::V3>& p = md2.frames[0];
    double volume = 0;
    for (const Md2Decoded::Tri& t : md2.tris) {
        const Md2Decoded::V3 &a = p[t.v[0]], &b = p[t.v[1]], &c = p[t.v[2]];
        volume += (a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) + a.z * (b.x * c.y - b.y * c.x)) / 6.0;
    }
    EXPECT_GT(volume, 0.0);
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
            if (r.fan)
                from_runs.insert(canonical(v[0].vertex, v[i + 1].vertex, v[i + 2].vertex));
            else if (i % 2 == 0)
                from_runs.insert(canonical(v[i].vertex, v[i + 1].vertex, v[i + 2].vertex));
            else
                from_runs.insert(canonical(v[i + 1].vertex, v[i].vertex, v[i + 2].vertex));
        }
        for (const Md2GlVertex& c : v) {
            // the normalised coordinates are those of the triangle records
            const auto& coords = coords_of_vertex[c.vertex];
            bool match = std::any_of(coords.begin(), coords.end(), [&](const std::pair<float, float>& st) {
                return std::fabs(st.first - c.s) < 1e-4f && std::fabs(st.second - c.t) < 1e-4f;
            });
            EXPECT_TRUE(match) << "vertex " << c.vertex;
        }
    }
    EXPECT_TRUE(from_runs == from_file);
    size_t drawn = 0;
    for (const Md2Decoded::Run& r : md2.runs)
        drawn += r.records.size() - 2;
    EXPECT_EQ(drawn, md2.tris.size());
}

TEST_P(MediaModels, TheDefaultCycleMovesAndLoopsSmoothly)
{
    std::vector<std::pair<std::string, int>> cycles = md2.cycles();
    const int n = cycles[0].second;
    if (!GetParam().animated) {
        EXPECT_EQ(md2.frames.size(), 1u);
        return;
    }
    ASSERT_GE(n, 2);
    // The largest step of any vertex between neighbouring key frames, including the step
    // from the last frame back to the first: the loop must not jump.
    auto step = [&](int a, int b) {
        float best = 0;
        for (size_t i = 0; i < md2.frames[a].size(); ++i) {
            const Md2Decoded::V3 &p = md2.frames[a][i], &q = md2.frames[b][i];
            best = std::max(best, std::hypot(p.x - q.x, p.y - q.y, p.z - q.z));
        }
        return best;
    };
    float largest = 0;
    for (int f = 0; f < n; ++f)
        largest = std::max(largest, step(f, (f + 1) % n));
    EXPECT_GT(step(0, 1), 0.0f) << "frame 1 equals frame 0";
    EXPECT_LE(step(n - 1, 0), largest * 1.01f + 1e-6f);
    // nothing moves by more than a quarter of the model's size from one key frame to the next
    float lo = 1e30f, hi = -1e30f;
    for (const Md2Decoded::V3& p : md2.frames[0]) {
        lo = std::min({lo, p.x, p.y, p.z});
        hi = std::max({hi, p.x, p.y, p.z});
    }
    EXPECT_LT(largest, 0.25f * (hi - lo));
}

INSTANTIATE_TEST_SUITE_P(All, MediaModels, ::testing::ValuesIn(expected_models()), name_of);

TEST(MediaModelsSet, BothStorageFormsAreUsed)
{
    int with_commands = 0, with_triangles = 0;
    for (const Expected& e : expected_models()) {
        Md2Decoded m;
        ASSERT_EQ(m.load(game_file(e.md2)), "") << e.md2;
        (m.runs.empty() ? with_triangles : with_commands) += 1;
        if (!m.runs.empty()) {
            bool strips = false, fans = false;
            for (const Md2Decoded::Run& r : m.runs)
                (r.fan ? fans : strips) = true;
            EXPECT_TRUE(strips) << e.md2;
        }
    }
    EXPECT_GE(with_commands, 1);
    EXPECT_GE(with_triangles, 1);
}

TEST(MediaModelsSet, CrystalCyclesGrowLivelier)
{
    // The game raises a chased crystal's cycle (2, 4, 6): each cycle moves the stone further
    // per key frame (every key frame lasts the same time) than the one before.
    Md2Decoded m;
    ASSERT_EQ(m.load(game_file("media/objects/crystal/crystal.md2")), "");
    std::vector<std::pair<std::string, int>> cycles = m.cycles();
    ASSERT_EQ(cycles.size(), 7u);
    std::vector<double> speed;
    int first = 0;
    for (const auto& c : cycles) {
        double travel = 0;
        for (int f = 0; f < c.second; ++f) {
            const auto& a = m.frames[first + f];
            const auto& b = m.frames[first + (f + 1) % c.second];
            for (size_t i = 0; i < a.size(); ++i)
                travel += std::hypot(a[i].x - b[i].x, a[i].y - b[i].y, a[i].z - b[i].z);
        }
        speed.push_back(travel / c.second / double(m.num_vertices));
        first += c.second;
    }
    for (size_t i = 1; i < speed.size(); ++i)
        EXPECT_GT(speed[i], speed[i - 1]) << "cycle " << i << " is not livelier than cycle " << i - 1;
}

TEST(MediaModelsSet, RotorsSpinAboutTheirOwnAxisAtTheStern)
{
    // The rotors are drawn at the hull's pose: they must sit behind the hull's middle (the
    // nose is +x) and keep their distance from their own hub while they turn.
    Md2Decoded hull, r1, r2;
    ASSERT_EQ(hull.load(game_file("media/objects/hover/hover.md2")), "");
    ASSERT_EQ(r1.load(game_file("media/objects/hover/rotor1.md2")), "");
    ASSERT_EQ(r2.load(game_file("media/objects/hover/rotor2.md2")), "");
    float hull_lo = 1e30f, hull_hi = -1e30f;
    for (const auto& p : hull.frames[0]) {
        hull_lo = std::min(hull_lo, p.x);
        hull_hi = std::max(hull_hi, p.x);
    }
    for (const Md2Decoded* r : {&r1, &r2}) {
        Md2Decoded::V3 c{0, 0, 0};
        for (const auto& p : r->frames[0])
            c = {c.x + p.x / r->num_vertices, c.y + p.y / r->num_vertices, c.z + p.z / r->num_vertices};
        EXPECT_LT(c.x, (hull_lo + hull_hi) * 0.5f - 0.25f * (hull_hi - hull_lo));
        for (size_t f = 1; f < r->frames.size(); ++f)
            for (size_t i = 0; i < r->frames[f].size(); ++i) {
                auto d0 = std::hypot(r->frames[0][i].y - c.y, r->frames[0][i].z - c.z);
                auto df = std::hypot(r->frames[f][i].y - c.y, r->frames[f][i].z - c.z);
                EXPECT_NEAR(df, d0, 0.03f * (hull_hi - hull_lo)) << "frame " << f << " vertex " << i;
            }
    }
}
