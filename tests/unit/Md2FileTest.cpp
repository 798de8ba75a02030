// MD2 files: only well-formed version 8 files whose every count, offset and index fits the
// file are accepted, nothing outside it is read, and the model data is converted from them.
#include "Gfx/Md2File.h"
#include "Gfx/Md2ModelData.h"
#include "Md2Writer.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <tuple>

namespace {

bool accepts(const std::string& bytes)
{
    // An exactly sized heap copy, so that AddressSanitizer sees any read past the end.
    std::vector<uint8_t> copy(bytes.begin(), bytes.end());
    Md2File file;
    return file.Assign(copy.data(), copy.size());
}

std::string triangle_form() { return md2_octahedron("spin", 3, false).bytes(); }
std::string command_form() { return md2_octahedron("spin", 3, true).bytes(); }

TEST(Md2FileTest, RejectsEveryTruncationAndAnotherIdentification)
{
    for (const std::string& full : {triangle_form(), command_form()})
        for (size_t n = 0; n < full.size(); ++n)
            ASSERT_FALSE(accepts(full.substr(0, n))) << "accepted the first " << n << " of " << full.size() << " bytes";
    std::string bytes = triangle_form();
    bytes[3] = '3';
    EXPECT_FALSE(accepts(bytes));
}

TEST(Md2FileTest, RejectsHeadersThatLieAboutTheFile)
{
    const int size = int(command_form().size());
    const std::tuple<bool, int, int32_t> cases[] = { // the command form?, the field, its value
        {true, kVersion, 7},        {true, kOfsFrames, size},    {true, kOfsFrames, -4},    {true, kNumFrames, 1000},
        {true, kNumFrames, INT_MAX}, {true, kNumFrames, -1},     {true, kOfsTris, size - 4}, {true, kNumTris, 100},
        {true, kNumTris, -3},       {true, kOfsSkins, size},     {true, kNumSkins, 50},     {true, kOfsGlcmds, size - 8},
        {true, kNumGlcmds, 1000},   {true, kOfsSkins, INT_MIN},  {true, kNumVertices, 2000}, {true, kFrameSize, 40},
        {true, kFrameSize, -1},     {true, kNumVertices, -1},
        // the triangle form also reads the texture coordinates, divided by the skin size
        {false, kOfsTexcoords, int32_t(triangle_form().size()) - 2}, {false, kSkinWidth, 0}, {false, kSkinHeight, -64},
    };
    for (auto [commands, field, value] : cases) {
        std::string bytes = commands ? command_form() : triangle_form();
        Md2Writer::set_header_field(bytes, field, value);
        EXPECT_FALSE(accepts(bytes)) << "field " << field << " = " << value;
    }
    // An empty block may point anywhere: it is never read.
    std::string bytes = command_form();
    Md2Writer::set_header_field(bytes, kNumSkins, 0);
    Md2Writer::set_header_field(bytes, kOfsSkins, INT_MAX);
    EXPECT_TRUE(accepts(bytes));
}

TEST(Md2FileTest, ChecksEveryIndexTheDrawingReads)
{
    const std::tuple<const char*, bool, std::function<void(Md2Writer&)>, bool> cases[] = {
        {"a triangle names vertex 6 of 0..5", false, [](Md2Writer& w) { w.triangles[3][2] = 6; }, false},
        {"a triangle names texture coordinate 6 of 0..5", false, [](Md2Writer& w) { w.triangles[7][5] = 6; }, false},
        {"the command form never reads the triangles' texture coordinates", true,
         [](Md2Writer& w) { w.triangles[7][5] = 60000; }, true},
        {"but it does read their vertices", true, [](Md2Writer& w) { w.triangles[0][0] = 60000; }, false},
        {"a strip of more records than the list holds", true, [](Md2Writer& w) { w.glcmds[0] = 1000; }, false},
        {"a fan of INT_MIN records", true, [](Md2Writer& w) { w.glcmds[0] = uint32_t(INT_MIN); }, false},
        {"a record names vertex 6", true, [](Md2Writer& w) { w.glcmds[3] = 6; }, false},
        {"a record names vertex -1", true, [](Md2Writer& w) { w.glcmds[3] = uint32_t(-1); }, false},
        {"the list may end without its closing zero", true, [](Md2Writer& w) { w.glcmds.pop_back(); }, true},
    };
    for (const auto& [what, commands, change, accepted] : cases) {
        Md2Writer w = md2_octahedron("box", 1, commands);
        change(w);
        EXPECT_EQ(accepts(w.bytes()), accepted) << what;
    }
}

bool convert(const Md2Writer& w, Md2ModelData& model)
{
    std::string bytes = w.bytes();
    Md2File file;
    if (!file.Assign(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())) {
        ADD_FAILURE() << "the file itself was refused";
        return false;
    }
    return model.Convert(file);
}

// A one-triangle model with the given frame names.
Md2Writer named_frames(const std::vector<std::string>& names)
{
    Md2Writer w;
    w.texcoords = {{0, 0}, {64, 0}, {0, 64}};
    w.add_triangle(0, 1, 2, 0, 1, 2);
    for (const std::string& n : names) w.add_frame(n, {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}});
    return w;
}

std::vector<std::pair<std::string, int>> cycles_of(const Md2ModelData& m)
{
    std::vector<std::pair<std::string, int>> out;
    for (int c = 0; c < m.m_NumAnimCycles; ++c) out.emplace_back(m.m_AnimCycles[c].name, m.m_AnimCycles[c].frame_count);
    return out;
}

std::vector<std::string> numbered(const std::string& base, int count)
{
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) names.push_back(base + (i < 10 ? "0" : "") + std::to_string(i));
    return names;
}

TEST(Md2CycleTest, FramesJoinTheCycleWhoseNameTheyBeginWithAndSwapTheVerticalAxis)
{
    using C = std::vector<std::pair<std::string, int>>;
    std::vector<std::string> stand_run = numbered("stand", 40);
    for (const std::string& n : numbered("run", 6)) stand_run.push_back(n);
    const std::pair<std::vector<std::string>, C> cases[] = {
        {stand_run, {{"stand", 40}, {"run", 6}}},
        // a name loses two characters after a zero, else one: "stand" is cut to "stan", so
        // "stance" joins it; "walk" starts a new cycle
        {{"stand", "stance", "stan", "walk", "walk2"}, {{"stan", 3}, {"wal", 2}}},
        // a name that cuts to nothing leaves no current name: the next frame starts afresh
        {{"a", "b", "", "x1", "x2"}, {{"", 1}, {"", 1}, {"", 1}, {"x", 2}}},
        // sixteen bytes without a terminator: read as fifteen characters, cut to at most 14
        {{"abcdefghijklmn01", "abcdefghijklmn02", "abcdefghijklmnop"}, {{"abcdefghijklmn", 3}}},
    };
    for (const auto& [frames, cycles] : cases) {
        Md2ModelData m;
        ASSERT_TRUE(convert(named_frames(frames), m));
        EXPECT_EQ(cycles_of(m), cycles) << frames[0];
    }
    // Key frames swap the vertical axis.
    Md2Writer w = named_frames({"wave01", "wave02"});
    w.frames[1].vertices = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    const float scale[3] = {0.5f, 0.25f, 2.0f};
    for (int i = 0; i < 3; ++i) {
        w.frames[1].scale[i] = scale[i];
        w.frames[1].translate[i] = 10.0f * (i + 1);
    }
    Md2ModelData m;
    ASSERT_TRUE(convert(w, m));
    const uint8_t* v = m.FrameVertices(0, 1);
    EXPECT_EQ(std::vector<int>(v, v + 9), (std::vector<int>{1, 3, 2, 4, 6, 5, 7, 9, 8}));
    const Md2AnimCycle& c = m.m_AnimCycles[0];
    EXPECT_EQ(std::vector<float>(c.scale.begin() + 3, c.scale.end()), (std::vector<float>{0.5f, 2.0f, 0.25f}));
    EXPECT_EQ(std::vector<float>(c.translate.begin() + 3, c.translate.end()), (std::vector<float>{10, 30, 20}));
}

TEST(Md2RenderVertexTest, TriangleFormSharesRepeatedPairs)
{
    // A quad of two triangles: the diagonal's two corners are shared.
    Md2Writer w;
    w.skin_width = 4;
    w.skin_height = 8;
    w.texcoords = {{0, 0}, {4, 0}, {4, 8}, {0, 8}, {2, 4}};
    w.add_frame("q", {{0, 0, 0}, {255, 0, 0}, {255, 255, 0}, {0, 255, 0}});
    w.add_triangle(0, 1, 2, 0, 1, 2);
    w.add_triangle(0, 2, 3, 0, 2, 3);
    w.add_triangle(0, 2, 3, 4, 2, 3); // same positions, one new texture coordinate
    Md2ModelData m;
    ASSERT_TRUE(convert(w, m));
    EXPECT_FALSE(m.m_CommandForm);
    EXPECT_EQ(m.m_IndexArray, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3, 4, 2, 3}));
    EXPECT_EQ(m.m_RenderToVertex, (std::vector<uint16_t>{0, 1, 2, 3, 0}));
    EXPECT_EQ(m.m_TexCoordArray, (std::vector<float>{0, 0, 1, 0, 1, 1, 0, 1, 0.5f, 0.5f}));
    EXPECT_EQ(m.m_TriVertices, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3, 0, 2, 3}));
    EXPECT_TRUE(m.m_Strips.empty());
}

TEST(Md2RenderVertexTest, CommandFormSharesTexcoordsWithinToleranceListsStripsAndFansInOrderAndCollectsSkins)
{
    auto render_vertices = [](float ds) {
        Md2Writer w = named_frames({"x"});
        w.add_gl_strip({{0.5f, 0.5f, 0}, {1, 0, 1}, {0, 1, 2}}, false);
        w.add_gl_strip({{0.5f + ds, 0.5f, 0}, {0, 1, 2}, {1, 0, 1}}, true);
        w.end_gl_commands();
        Md2ModelData m;
        EXPECT_TRUE(convert(w, m));
        return m.m_NumRenderVertices;
    };
    EXPECT_EQ(render_vertices(-0.00005f), 3);
    EXPECT_EQ(render_vertices(0.0002f), 4);
    // Strips and fans are listed in order, and the skins collected.
    Md2Writer w = named_frames({"x"});
    w.num_vertices = 5;
    std::vector<Md2GlCommandVertex> five;
    for (int i = 0; i < 5; ++i) five.push_back({float(i) / 4, 0, i});
    w.add_gl_strip(five, false);
    w.add_gl_strip(five, true);
    w.add_gl_strip({{0, 1, 0}, {0, 1, 1}, {0, 1, 2}}, false);
    w.end_gl_commands();
    w.add_gl_strip(five, false); // after the closing zero: never read
    w.skins = {"models/duck.pcx", std::string(70, 'k')};
    Md2ModelData m;
    ASSERT_TRUE(convert(w, m));
    EXPECT_EQ(m.m_Skins, (std::vector<std::string>{"models/duck.pcx", std::string(63, 'k')})) << "skins cut to 63";
    EXPECT_TRUE(m.m_CommandForm);
    EXPECT_EQ(m.m_Strips, (std::vector<Md2StripInfo>{10, 11, 6}));
    EXPECT_EQ(m.IndexCount(), 13);
    EXPECT_EQ(m.m_IndexArray, (std::vector<uint16_t>{0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(m.m_RenderToVertex, (std::vector<uint16_t>{0, 1, 2, 3, 4, 0, 1, 2}));
    EXPECT_EQ(m.m_TriVertices, (std::vector<uint16_t>{0, 1, 2})) << "the file's triangles still give the normals";
}

// GL draws the one list exactly as it drew the strips and fans, reading no index past the end.
TEST(Md2RenderVertexTest, StripsAndFansBecomeTrianglesOfTheSameWinding)
{
    const Md2StripInfo strip5 = md2_strip_info(5, false), fan5 = md2_strip_info(5, true);
    using Indices = std::vector<uint16_t>;
    const std::tuple<const char*, Indices, std::vector<Md2StripInfo>, Indices> cases[] = {
        {"a strip turns every second triangle", {0, 1, 2, 3, 4}, {strip5}, {0, 1, 2, 2, 1, 3, 2, 3, 4}},
        {"a fan keeps its first corner", {0, 1, 2, 3, 4}, {fan5}, {0, 1, 2, 0, 2, 3, 0, 3, 4}},
        {"strips follow one another", {7, 8, 9, 0, 1, 2, 3, 4}, {md2_strip_info(3, true), strip5},
         {7, 8, 9, 0, 1, 2, 2, 1, 3, 2, 3, 4}},
        {"a repeated corner draws nothing", {0, 1, 1, 2, 3}, {strip5}, {1, 2, 3}},
        {"fewer than three corners draw nothing", {0, 1, 5, 6, 7}, {md2_strip_info(2, false), md2_strip_info(3, false)},
         {5, 6, 7}},
        {"a strip longer than the indices left is dropped", {0, 1, 2, 3}, {md2_strip_info(3, false), strip5}, {0, 1, 2}},
        {"no strips, no triangles", {0, 1, 2}, {}, {}},
    };
    for (const auto& [what, indices, strips, triangles] : cases)
        EXPECT_EQ(md2_triangle_list(indices, strips), triangles) << what;
}

TEST(Md2LimitTest, FrameOrRenderVerticesBeyondTheScratchArraysOrNoFramesAreRefused)
{
    Md2Writer w = named_frames({"x"});
    w.num_vertices = 2048;
    Md2ModelData m;
    EXPECT_TRUE(convert(w, m));
    w.num_vertices = 2049;
    EXPECT_FALSE(convert(w, m));
    EXPECT_TRUE(m.m_AnimCycles.empty());
    Md2Writer none;
    none.num_vertices = 0;
    EXPECT_FALSE(convert(none, m)) << "a model without frames";
    // Every corner its own texture coordinate: three render vertices per triangle.
    auto model = [](int tris) {
        Md2Writer w = named_frames({"x"});
        w.triangles.clear();
        w.texcoords.clear();
        w.skin_width = w.skin_height = 4096;
        for (int i = 0; i < 3 * tris; ++i) w.texcoords.push_back({int16_t(i), 0});
        for (int i = 0; i < tris; ++i)
            w.add_triangle(0, 1, 2, uint16_t(3 * i), uint16_t(3 * i + 1), uint16_t(3 * i + 2));
        return w;
    };
    EXPECT_TRUE(convert(model(1024), m));
    EXPECT_EQ(m.m_NumRenderVertices, 3072);
    EXPECT_FALSE(convert(model(1025), m));
}

TEST(Md2LimitTest, CycleCountsMustFitEightBits)
{
    Md2ModelData m;
    std::vector<std::string> names;
    for (int i = 1; i <= 255; ++i) names.push_back("walk" + std::to_string(i)); // all join "walk"
    EXPECT_TRUE(convert(named_frames(names), m)) << "255 frames in one cycle";
    names.push_back("walk256");
    EXPECT_FALSE(convert(named_frames(names), m)) << "256 frames in one cycle";

    names.clear();
    for (int i = 0; i < 256; ++i) names.push_back("c" + std::to_string(i) + "x1");
    EXPECT_FALSE(convert(named_frames(names), m)) << "256 cycles";
    names.pop_back();
    EXPECT_TRUE(convert(named_frames(names), m));
    EXPECT_EQ(m.m_NumAnimCycles, 255);
}

} // namespace
