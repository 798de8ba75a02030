// Checking MD2 files: only well-formed version 8 files whose every count, offset and index
// fits the file are accepted, and nothing outside the file is ever read.
#include "Gfx/Md2File.h"
#include "Md2Writer.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <climits>

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

TEST(Md2FileTest, AcceptsBothFormsAndReportsTheirHeader)
{
    std::string bytes = command_form();
    Md2File file;
    ASSERT_TRUE(file.Assign(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    EXPECT_TRUE(file.CommandForm());
    EXPECT_EQ(file.Header().num_frames, 3);
    EXPECT_EQ(file.Header().num_vertices, 6);
    EXPECT_EQ(file.Skin(0), "spin.bmp");
    EXPECT_STREQ(file.Frame(2).name, "spin03");
    EXPECT_EQ(file.Triangle(1).vertex[0], 4);
    EXPECT_TRUE(accepts(triangle_form()));
}

TEST(Md2FileTest, RejectsWrongIdentificationAndVersion)
{
    std::string bytes = triangle_form();
    Md2Writer::set_header_field(bytes, kVersion, 7);
    EXPECT_FALSE(accepts(bytes));
    bytes = triangle_form();
    bytes[3] = '3';
    EXPECT_FALSE(accepts(bytes));
    EXPECT_FALSE(accepts(""));
    EXPECT_FALSE(accepts("IDP2"));
}

TEST(Md2FileTest, RejectsEveryTruncation)
{
    for (const std::string& full : {triangle_form(), command_form()}) {
        for (size_t n = 0; n < full.size(); ++n)
            ASSERT_FALSE(accepts(full.substr(0, n))) << "accepted the first " << n << " of " << full.size() << " bytes";
    }
}

TEST(Md2FileTest, RejectsBlocksOutsideTheFile)
{
    const std::string good = command_form();
    const int size = int(good.size());
    struct Case {
        int field;
        int32_t value;
    };
    const Case cases[] = {
        {kOfsFrames, size},          {kOfsFrames, -4},        {kNumFrames, 1000},     {kNumFrames, INT_MAX},
        {kNumFrames, -1},            {kOfsTris, size - 4},    {kNumTris, 100},        {kNumTris, -3},
        {kOfsSkins, size},           {kNumSkins, 50},         {kOfsGlcmds, size - 8}, {kNumGlcmds, 1000},
        {kOfsSkins, INT_MIN},        {kNumVertices, 2000},    {kFrameSize, 40},       {kFrameSize, -1},
        {kNumVertices, -1},
    };
    for (const Case& c : cases) {
        std::string bytes = good;
        Md2Writer::set_header_field(bytes, c.field, c.value);
        EXPECT_FALSE(accepts(bytes)) << "field " << c.field << " = " << c.value;
    }
    // An empty block may point anywhere: it is never read.
    std::string bytes = good;
    Md2Writer::set_header_field(bytes, kNumSkins, 0);
    Md2Writer::set_header_field(bytes, kOfsSkins, INT_MAX);
    EXPECT_TRUE(accepts(bytes));
}

TEST(Md2FileTest, TriangleFormChecksTexcoordsAndSkinSize)
{
    std::string good = triangle_form();
    std::string bytes = good;
    Md2Writer::set_header_field(bytes, kOfsTexcoords, int32_t(good.size()) - 2);
    EXPECT_FALSE(accepts(bytes));
    bytes = good;
    Md2Writer::set_header_field(bytes, kSkinWidth, 0);
    EXPECT_FALSE(accepts(bytes)) << "the texture coordinates would divide by zero";
    bytes = good;
    Md2Writer::set_header_field(bytes, kSkinHeight, -64);
    EXPECT_FALSE(accepts(bytes));
}

TEST(Md2FileTest, RejectsTriangleIndicesBeyondTheCounts)
{
    Md2Writer w = md2_octahedron("box", 1, false);
    w.triangles[3][2] = 6; // only vertices 0..5 exist
    EXPECT_FALSE(accepts(w.bytes()));
    w = md2_octahedron("box", 1, false);
    w.triangles[7][5] = 6; // only texture coordinates 0..5 exist
    EXPECT_FALSE(accepts(w.bytes()));
    // The command form never reads the triangles' texture coordinates.
    w = md2_octahedron("box", 1, true);
    w.triangles[7][5] = 60000;
    EXPECT_TRUE(accepts(w.bytes()));
    w.triangles[0][0] = 60000;
    EXPECT_FALSE(accepts(w.bytes()));
}

TEST(Md2FileTest, RejectsGlCommandsThatRunOutOrNameMissingVertices)
{
    Md2Writer w = md2_octahedron("box", 1, true);
    w.glcmds[0] = 1000; // far more records than the list holds
    EXPECT_FALSE(accepts(w.bytes()));
    w.glcmds[0] = uint32_t(INT_MIN);
    EXPECT_FALSE(accepts(w.bytes()));
    w = md2_octahedron("box", 1, true);
    w.glcmds[3] = 6; // vertex index of the first record
    EXPECT_FALSE(accepts(w.bytes()));
    w.glcmds[3] = uint32_t(-1);
    EXPECT_FALSE(accepts(w.bytes()));
}

TEST(Md2FileTest, GlCommandListMayEndWithoutClosingZero)
{
    Md2Writer w = md2_octahedron("box", 1, true);
    w.glcmds.pop_back();
    EXPECT_TRUE(accepts(w.bytes()));
}

TEST(Md2FileTest, FrameNameWithoutTerminatorIsCutToFifteenCharacters)
{
    Md2Writer w = md2_octahedron("box", 1, false);
    w.frames[0].name = "abcdefghijklmnop"; // 16 bytes, no NUL
    std::string bytes = w.bytes();
    Md2File file;
    ASSERT_TRUE(file.Assign(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    EXPECT_STREQ(file.Frame(0).name, "abcdefghijklmno");
}

TEST(Md2FileTest, ReadsFromDiskThroughBackslashPaths)
{
    TempDir dir;
    dir.write("objects/box.md2", triangle_form());
    Md2File file;
    std::string path = dir.path.string() + "\\objects\\box.md2";
    EXPECT_TRUE(file.Read(path.c_str()));
    EXPECT_EQ(file.Header().num_frames, 3);
    EXPECT_FALSE(file.Read(dir.file("missing.md2").c_str()));
    EXPECT_TRUE(file.Bytes().empty());
}

} // namespace
