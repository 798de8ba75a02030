// The HUD font: the description file (media/font/out.fnt, read with the parameter reader as
// the font manager reads it) and the font image must describe the same glyphs.
#include "Common/FontManager.h"
#include "Common/ParameterFile.h"
#include "GameDir.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

std::string in_game_dir(std::string path)
{
    for (char& c : path)
        if (c == '\\') c = '/';
    if (path.rfind("./", 0) == 0) path.erase(0, 2);
    return game_file(path);
}

struct Rect {
    int c;
    float x, y, w, h;
};

class MediaFont : public ::testing::Test {
protected:
    void SetUp() override
    {
        ParameterFile desc(in_game_dir(".\\media\\font\\out.fnt"));
        image.reset(IMG_Load(in_game_dir(desc.getString("font_tex")).c_str()));
        ASSERT_TRUE(image) << IMG_GetError();
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const GlyphTable table = build_glyph_table(desc, 0); // as the font manager builds it
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        for (int c = 32; c < 127; ++c) {
            const Glyph& g = table.glyphs[c];
            if (c == '#' || c == '=') continue;
            if (g.h == 0) missing.push_back(c); // the fallback of an undefined character
            else rects.push_back({c, g.x, g.y, g.w, g.h});
        }
    }
    int alpha(int x, int y) const
    {
        const auto* row = static_cast<const uint8_t*>(image->pixels) + y * image->pitch;
        return row[x * 4 + 3];
    }

    std::unique_ptr<SDL_Surface, SurfaceDeleter> image;
    std::vector<Rect> rects;
    std::vector<int> missing;
};

TEST_F(MediaFont, EveryPrintableCharacterHasARectangleInsideTheImage)
{
    EXPECT_EQ(image->format->BitsPerPixel, 32);
    EXPECT_EQ(image->w & (image->w - 1), 0);
    EXPECT_EQ(image->h & (image->h - 1), 0);
    EXPECT_TRUE(missing.empty()) << missing.size() << " characters undefined, first '" << char(missing.empty() ? ' ' : missing[0]) << "'";
    ASSERT_EQ(rects.size(), 93u); // 95 printable minus '#' and '='
    float h0 = rects[0].h;
    for (const Rect& r : rects) {
        SCOPED_TRACE(std::string("glyph '") + char(r.c) + "'");
        EXPECT_GE(r.x, 0.0f);
        EXPECT_GE(r.y, 0.0f);
        EXPECT_LE(r.x + r.w, float(image->w));
        EXPECT_LE(r.y + r.h, float(image->h));
        EXPECT_GT(r.w, 1.0f);
        EXPECT_EQ(r.h, h0) << "one line height for all glyphs keeps the baseline";
        // The drawn area should fall on whole pixels, so glyphs are not smeared.
        EXPECT_FLOAT_EQ(r.x, std::round(r.x));
        EXPECT_FLOAT_EQ(r.w, std::round(r.w));
    }
    EXPECT_GE(h0, 32.0f) << "glyphs must stay legible when the HUD halves them";
    EXPECT_LE(h0, 64.0f);
}

// Each glyph draws its own ink and nobody else's; bytes 128 to 255 draw the image's
// top-left 80 x 20 pixels, which must stay empty.
TEST_F(MediaFont, EachGlyphOwnsItsInkAlone)
{
    std::vector<int> owner(size_t(image->w) * image->h, -1);
    int overlapping = 0, stray = 0, in_corner = 0;
    for (size_t i = 0; i < rects.size(); ++i) {
        const Rect& r = rects[i];
        for (int y = int(r.y); y < int(r.y + r.h); ++y)
            for (int x = int(r.x); x < int(r.x + r.w); ++x) {
                int& o = owner[size_t(y) * image->w + x];
                overlapping += o >= 0;
                o = int(i);
            }
    }
    std::vector<int> ink(rects.size(), 0);
    for (int y = 0; y < image->h; ++y)
        for (int x = 0; x < image->w; ++x) {
            if (alpha(x, y) == 0) continue;
            in_corner += x < 80 && y < 20;
            int o = owner[size_t(y) * image->w + x];
            if (o < 0) ++stray;
            else if (alpha(x, y) > 128) ++ink[size_t(o)];
        }
    EXPECT_EQ(overlapping, 0) << "pixels where rectangles overlap";
    EXPECT_EQ(stray, 0) << "pixels of some glyph fall outside every rectangle";
    EXPECT_EQ(in_corner, 0) << "pixels of the corner the upper half bytes draw";
    for (size_t i = 0; i < rects.size(); ++i) {
        if (rects[i].c == ' ') EXPECT_EQ(ink[i], 0) << "the blank must be empty";
        else EXPECT_GT(ink[i], 10) << "glyph '" << char(rects[i].c) << "' has no ink";
    }
}

} // namespace
