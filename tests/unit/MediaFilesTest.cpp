// The generated media as the game's loaders see them: the images (SDL_image for textures,
// SDL_LoadBMP for the water slices), the HUD font against its image, the music and effects as
// the sound layer loads them through SDL_mixer, and the models as the game's loader reads them,
// each placed as its game object.
#include "Common/FontManager.h"
#include "Common/ParameterFile.h"
#include "Console.h"
#include "GameDir.h"
#include "Md2Decoded.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct SurfaceDeleter { void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); } };
using Surface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

bool power_of_two(int v) { return v > 0 && (v & (v - 1)) == 0; }

TEST(MediaImages, WaterSlicesAreSixteenGreyImagesOfOnePowerOfTwoSize)
{
    int w = 0, h = 0;
    for (int n = 1; n <= 16; ++n) {
        const std::string name = "media/waveanim/hm_" + std::to_string(n) + "_von_16.bmp";
        Surface s(SDL_LoadBMP(game_file(name).c_str()));
        ASSERT_TRUE(s) << name << ": " << SDL_GetError();
        EXPECT_EQ(s->format->BitsPerPixel, 8) << name;
        if (n == 1) w = s->w, h = s->h;
        EXPECT_TRUE(s->w == w && s->h == h && w >= 64 && power_of_two(w) && power_of_two(h)) << name;
    }
}

// The description read with the parameter reader and built into glyphs as the font manager
// does; '#' and '=' cannot be keys of that file.
TEST(MediaFont, EveryPrintableCharacterHasARectangleInsideTheImage)
{
    ParameterFile desc(game_file("media/font/out.fnt"));
    const std::string tex = desc.getString("font_tex");
    Surface image(IMG_Load(game_path(tex).c_str()));
    ASSERT_TRUE(image) << tex << ": " << IMG_GetError();
    GlyphTable table;
    printed([&] { table = build_glyph_table(desc, 0); });
    const float h0 = table.glyphs[int(' ')].h;
    for (int c = 32; c < 127; ++c) {
        if (c == '#' || c == '=') continue;
        SCOPED_TRACE(std::string("glyph '") + char(c) + "'");
        const Glyph& r = table.glyphs[c];
        if (r.h == 0) { // the fallback has no height
            ADD_FAILURE() << "undefined";
            continue;
        }
        EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.w <= float(image->w) && r.y + r.h <= float(image->h));
        EXPECT_GT(r.w, 1.0f);
        EXPECT_EQ(r.h, h0) << "one line height for all glyphs keeps the baseline";
        // The drawn area should fall on whole pixels, so glyphs are not smeared.
        EXPECT_FLOAT_EQ(r.x, std::round(r.x));
        EXPECT_FLOAT_EQ(r.w, std::round(r.w));
    }
    EXPECT_TRUE(h0 >= 32.0f && h0 <= 64.0f) << h0 << ": glyphs must stay legible when the HUD halves them";
}

} // namespace

// Two tracks of one to two minutes that stream, three short effects; each decodes whole and is audible.
TEST(MediaSounds, TracksStreamAndDecodeAtTheirLengthsAndEffectsAreShort)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
    int freq = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&freq, &format, &channels);
    // Each file with the shortest and longest it may last, in seconds.
    for (auto [rel, min_s, max_s] :
         {std::tuple<const char*, double, double>{"media/sound/tijuana.ogg", 60, 120},
          {"media/sound/Peanuts.ogg", 60, 120}, {"media/sound/bling.wav", 0.3, 1.5},
          {"media/sound/walum.wav", 0.6, 2.5}, {"media/sound/yipiee.wav", 0.8, 2.5}}) {
        const std::string path = game_file(rel);
        if (path.find(".ogg") != std::string::npos) {
            Mix_Music* music = Mix_LoadMUS(path.c_str());
            EXPECT_NE(music, nullptr) << rel << ": " << Mix_GetError();
            Mix_FreeMusic(music);
        }
        Mix_Chunk* c = Mix_LoadWAV_RW(SDL_RWFromFile(path.c_str(), "rb"), 1);
        ASSERT_NE(c, nullptr) << rel << ": " << Mix_GetError();
        std::vector<int16_t> s(c->alen / 2);
        std::memcpy(s.data(), c->abuf, s.size() * 2);
        Mix_FreeChunk(c);
        const double length = double(s.size()) / channels / freq;
        EXPECT_TRUE(length >= min_s && length <= max_s) << rel << ": " << length << " s";
        double sum = 0;
        for (int16_t v : s) sum += double(v) * v;
        EXPECT_GT(std::sqrt(sum / s.size()) / 32768.0, 0.05) << rel << " is too quiet";
    }
    Mix_CloseAudio();
    SDL_Quit();
}

namespace {

struct Expected {
    const char* md2;
    std::vector<const char*> skins; // textures the game binds to the model
    std::vector<std::string> cycles;
    bool animated = true;
};

void PrintTo(const Expected& e, std::ostream* os) { *os << e.md2; }

const std::vector<Expected> kModels = {
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

// The smallest vertex index first, the winding kept.
std::array<int, 3> canonical(int a, int b, int c)
{
    std::array<int, 3> t{a, b, c};
    std::rotate(t.begin(), std::min_element(t.begin(), t.end()), t.end());
    return t;
}

} // namespace

// The skins decode at the size the texture coordinates are measured in.
TEST_P(MediaModels, SkinsMatchTheTextureCoordinatesAndFrameNamesFormTheCycles)
{
    for (const char* rel : GetParam().skins) {
        Surface s(IMG_Load(game_file(rel).c_str()));
        ASSERT_TRUE(s) << rel << ": " << IMG_GetError();
        EXPECT_EQ(std::pair(md2.skin_w, md2.skin_h), std::pair(s->w, s->h)) << rel;
    }
    for (const auto& st : md2.texcoords)
        ASSERT_TRUE(st.first >= 0 && st.first <= md2.skin_w && st.second >= 0 && st.second <= md2.skin_h);
    EXPECT_EQ(md2.file.Header().num_skins, 1);

    // The frame names form the expected cycles.
    std::vector<std::pair<std::string, int>> cycles = md2.cycles();
    ASSERT_EQ(cycles.size(), GetParam().cycles.size());
    for (size_t i = 0; i < cycles.size(); ++i) EXPECT_EQ(cycles[i].first, GetParam().cycles[i]);
    for (const std::string& n : md2.frame_names) EXPECT_LE(n.size(), 15u);
    EXPECT_TRUE(GetParam().animated ? cycles[0].second >= 2 : md2.frames.size() == 1u)
        << cycles[0].second << " frames in the first cycle, " << md2.frames.size() << " in all";
}

TEST_P(MediaModels, TrianglesHaveNormalsInEveryKeyFrameAndTheCommandListDrawsExactlyThem)
{
    // The game takes normals from the stored bytes: a triangle collapsed there has none.
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

    if (md2.runs.empty()) { // the triangle form: the loader picks it by a word count below 2
        EXPECT_LT(md2.file.Header().num_glcmds, 2);
        return;
    }
    // The skin under the runs is checked where the models are drawn (the GL tests).
    std::multiset<std::array<int, 3>> from_file, from_runs;
    for (const Md2Decoded::Tri& t : md2.tris) from_file.insert(canonical(t.v[0], t.v[1], t.v[2]));
    for (const Md2Decoded::Run& r : md2.runs) {
        const auto& v = r.records;
        for (size_t i = 0; i + 2 < v.size(); ++i) {
            // a fan turns about its first vertex; a strip flips its winding every other triangle
            const int a = r.fan ? v[0].vertex : v[i + i % 2].vertex;
            const int b = r.fan ? v[i + 1].vertex : v[i + 1 - i % 2].vertex;
            from_runs.insert(canonical(a, b, v[i + 2].vertex));
        }
    }
    EXPECT_TRUE(from_runs == from_file);
}

INSTANTIATE_TEST_SUITE_P(All, MediaModels, ::testing::ValuesIn(kModels), name_of);

namespace {

struct Box {
    float lo[3] = {1e30f, 1e30f, 1e30f};
    float hi[3] = {-1e30f, -1e30f, -1e30f};
    float size(int k) const { return hi[k] - lo[k]; }
    float mid(int k) const { return 0.5f * (hi[k] + lo[k]); }
};

const char* const kAxes[3] = {"x", "y", "z"};

// The box of a model's first key frame placed as the game draws it: p' = T * Rx * Ry * Rz * S * p.
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

float gfx_per_phys() { return 8.0f * ParameterFile(game_file("config/gfx.p")).getFloat("phys_minfact"); }

} // namespace

// The placed boxes against the bodies the game gives them: a range, in physics units.
TEST(MediaInstanceFiles, ModelsArePlacedAtTheirBodiesSizesAndHoversFaceForward)
{
    const float u = gfx_per_phys();
    ParameterFile bridge(game_file("config/objects/bridge.p"));
    const float board_z = 2.0f * bridge.getFloat("dyn_boxSize_Z"), board_y = bridge.getFloat("dyn_boxSize_Y");
    const float step = bridge.getFloat("step_size");
    enum What { Size, Low };
    // The model and its placing file, the size or the lowest point along an axis, and the range it must lie in.
    const std::tuple<const char*, const char*, What, int, float, float> cases[] = {
        // the player's hull: 3 x 1 x 2, x forward, the skirt on the body's floor
        {"hover/hover", "hover/hover_player", Size, 0, 2.9f, 3.1f},
        {"hover/hover", "hover/hover_player", Size, 2, 1.9f, 2.1f},
        {"hover/hover", "hover/hover_player", Low, 1, -0.55f, -0.45f},
        // the opponents' hull is long along z
        {"hover/hover", "hover/hover", Size, 2, 2.9f, 3.1f},
        // the ship is long along its course, -z (with the bowsprit)
        {"ship/ship_anim", "ship/ship", Size, 2, 5.4f, 6.6f},
        // the plank fills its body's box; the hand ropes reach one step, so a row shows them unbroken
        {"bridge/bridge", "bridge/bridge", Size, 2, board_z - 0.05f, board_z + 0.05f},
        {"bridge/bridge", "bridge/bridge", Low, 1, -board_y - 0.02f, -board_y + 0.02f},
        {"bridge/bridge", "bridge/bridge", Size, 0, step - 0.02f, step + 0.02f},
        // scenery at its middle size, and the crystal that is collected
        {"trees/tree", "trees/tree", Size, 1, 4.0f, 8.0f},
        {"pilz/pilz", "pilz/pilz", Size, 1, 1.0f, 3.0f},
        {"crystal/crystal", "crystal/crystal", Size, 1, 0.3f, 0.7f},
    };
    for (auto [md2, params, what, axis, lo, hi] : cases) {
        Box b = placed_box(std::string("media/objects/") + md2 + ".md2", std::string("media/objects/") + params + ".p");
        const float v = (what == Size ? b.size(axis) : b.lo[axis]) / u;
        EXPECT_TRUE(v >= lo && v <= hi) << md2 << " placed by " << params << ", axis " << axis << ": " << v;
    }
    // The hovers face forward: the fans sit at the stern, the player's nose is +x, the opponents' -z.
    Box hull = placed_box("media/objects/hover/hover.md2", "media/objects/hover/hover_player.p");
    Box rotor = placed_box("media/objects/hover/rotor1.md2", "media/objects/hover/rotor_player.p");
    EXPECT_LT(rotor.mid(0), hull.mid(0) - 0.25f * hull.size(0));
    Box evil_hull = placed_box("media/objects/hover/hover.md2", "media/objects/hover/hover.p");
    Box evil_rotor = placed_box("media/objects/hover/rotor2.md2", "media/objects/hover/rotor.p");
    EXPECT_GT(evil_rotor.mid(2), evil_hull.mid(2) + 0.25f * evil_hull.size(2));
}
