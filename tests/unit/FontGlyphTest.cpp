#include "Console.h"
#include "Common/FontManager.h"
#include "Common/ParameterFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

std::vector<float> rect(const Glyph& g) { return {g.x, g.y, g.w, g.h}; }

class GlyphTableTest : public ::testing::Test {
protected:
    GlyphTable build(const std::string& description)
    {
        ParameterFile p(dir.write("out.fnt", description));
        GlyphTable t;
        err = printed([&] { t = build_glyph_table(p, 0); }).err;
        return t;
    }
    TempDir dir;
    std::string err;
};

TEST_F(GlyphTableTest, DefinedCharactersAreShiftedAndWidenedOthersFallBack)
{
    const std::tuple<const char*, std::vector<int>, Glyph> cases[] = { // the description, characters, their glyph
        {"A=10 20 8 12\n", {'A'}, {8.5f, 20, 8.25f, 12}},
        {"A=10 20 8 12\n", {'B', ' '}, {0, 0, 100, 0}}, // undefined printable: the wide empty fallback
        // '#' starts a comment and a line starting with '=' is ignored: neither can be defined
        {"#=1 2 3 4\n==1 2 3 4\n", {'#', '='}, {0, 0, 100, 0}},
        {"D=5 6\n", {'D'}, {3.5f, 6, 80.25f, 20}},       // missing numbers keep their defaults
        {"A=10 20 8 12\n", {0, 9, 10, 31, 127}, {0, 0, 80, 0}}, // control characters are flat
        {"A=10 20 8 12\n", {128, 200, 255}, {0, 0, 80, 20}},   // the upper half keeps the default
    };
    for (const auto& [description, chars, expected] : cases) {
        GlyphTable t = build(std::string("font_tex=font.png\n") + description);
        for (int ch : chars) {
            SCOPED_TRACE(testing::Message() << description << " character " << ch);
            EXPECT_EQ(rect(t.glyphs[ch]), rect(expected));
        }
    }
    // The maxima come from the adjusted glyphs; an undefined printable one is reported.
    GlyphTable t = build("font_tex=font.png\nA=10 20 8 12\n =0 0 6 30\nW=0 0 15.75 9\n");
    EXPECT_EQ((std::vector<float>{t.max_char_w, t.max_char_h}), (std::vector<float>{16, 30}));
    EXPECT_NE(err.find("aj karamba, bad value found\n"), std::string::npos);
}

TEST_F(GlyphTableTest, QuadsCoverTheGlyphsScaledFromThePositionBlanksAdvanceFurtherUndefinedOnesByEighty)
{
    GlyphTable t = build("font_tex=font.png\nA=10 20 8 12\n =1.5 0 6 12\n");
    std::vector<GlyphQuad> q(5); // what it held before is replaced
    layout_text(t.glyphs, "", 0, 0, 1, 1, 1, 1, q);
    EXPECT_TRUE(q.empty());
    layout_text(t.glyphs, "A A", 100, 50, 2, 3, 1.0f / 128, 1.0f / 64, q);
    ASSERT_EQ(q.size(), 3u);
    // Image rows run downward: the top edge has the smaller t.
    EXPECT_EQ((std::vector<float>{q[0].x1, q[0].y1, q[0].s0, q[0].s1, q[0].t_top, q[0].t_bottom}),
              (std::vector<float>{116.5f, 86, 8.5f / 128, 16.75f / 128, 20.0f / 64, 32.0f / 64}));
    EXPECT_FLOAT_EQ(q[1].x1, 116.5f + 12.5f);
    EXPECT_FLOAT_EQ(q[2].x0, 116.5f + 2.5f * 12.5f) << "a blank advances two and a half widths";
    // Upper half bytes and control characters advance by 80, and line feeds are counted.
    t = build("font_tex=font.png\n");
    const char text[] = {'\xC8', '\n', 'A', '\0'};
    layout_text(t.glyphs, text, 0, 0, 0.5f, 0.5f, 1, 1, q);
    ASSERT_EQ(q.size(), 3u);
    EXPECT_FLOAT_EQ(q[0].y1, 10);      // 80 x 20 region at the top-left of the texture
    EXPECT_FLOAT_EQ(q[1].x0, 40);
    EXPECT_FLOAT_EQ(q[1].y1, q[1].y0); // zero height: draws nothing
    EXPECT_FLOAT_EQ(q[2].x0, 80);
    const char lines[] = "a=1\nb=2\r\n\nc";
    EXPECT_EQ(count_line_feeds(lines, sizeof lines - 1), 3);
}

} // namespace
