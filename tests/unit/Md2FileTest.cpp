// Checking MD2 files: only well-formed version 8 files whose every count, offset and index
// fits the file are accepted, and nothing outside the file is ever read.
#include "Gfx/Md2File.h"
#include "Md2Writer.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

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
    EXPECT_STREQ(file.Frame(2).name, "spin03");
    EXPECT_TRUE(accepts(triangle_form()));
}

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
    struct Case {
        bool commands;
        int field;
        int32_t value;
    } cases[] = {
        {true, kVersion, 7},        {true, kOfsFrames, size},    {true, kOfsFrames, -4},    {true, kNumFrames, 1000},
        {true, kNumFrames, INT_MAX}, {true, kNumFrames, -1},     {true, kOfsTris, size - 4}, {true, kNumTris, 100},
        {true, kNumTris, -3},       {true, kOfsSkins, size},     {true, kNumSkins, 50},     {true, kOfsGlcmds, size - 8},
        {true, kNumGlcmds, 1000},   {true, kOfsSkins, INT_MIN},  {true, kNumVertices, 2000}, {true, kFrameSize, 40},
        {true, kFrameSize, -1},     {true, kNumVertices, -1},
        // the triangle form also reads the texture coordinates, divided by the skin size
        {false, kOfsTexcoords, int32_t(triangle_form().size()) - 2}, {false, kSkinWidth, 0}, {false, kSkinHeight, -64},
    };
    for (const Case& c : cases) {
        std::string bytes = c.commands ? command_form() : triangle_form();
        Md2Writer::set_header_field(bytes, c.field, c.value);
        EXPECT_FALSE(accepts(bytes)) << "field " << c.field << " = " << c.value;
    }
    // An empty block may point anywhere: it is never read.
    std::string bytes = command_form();
    Md2Writer::set_header_field(bytes, kNumSkins, 0);
    Md2Writer::set_header_field(bytes, kOfsSkins, INT_MAX);
    EXPECT_TRUE(accepts(bytes));
}

TEST(Md2FileTest, ChecksEveryIndexTheDrawingReads)
{
    struct Case {
        const char* what;
        bool commands;
        std::function<void(Md2Writer&)> change;
        bool accepted;
    } cases[] = {
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
    for (const Case& c : cases) {
        Md2Writer w = md2_octahedron("box", 1, c.commands);
        c.change(w);
        EXPECT_EQ(accepts(w.bytes()), c.accepted) << c.what;
    }
}

TEST(Md2FileTest, ReadsFromDiskThroughBackslashPaths)
{
    TempDir dir;
    dir.write("objects/box.md2", triangle_form());
    Md2File file;
    std::string path = dir.path.string() + "\\objects\\box.md2";
    EXPECT_TRUE(file.Read(path.c_str()));
    EXPECT_FALSE(file.Read(dir.file("missing.md2").c_str()));
    EXPECT_TRUE(file.Bytes().empty());
}

} // namespace
