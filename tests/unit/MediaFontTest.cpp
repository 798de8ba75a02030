// The HUD font: the description file (media/font/out.fnt, read with the parameter reader as
// the font manager reads it) and the font image must describe the same glyphs.
#include "Common/ParameterFile.h"
#include "GameDir.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cctype>
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
    float x, y, w, h; // as the font manager keeps it: x - 1.5, w + 0.25
};

class MediaFont : public ::testing::Test {
protected:
    void SetUp() override
    {
        desc.reset(new ParameterFile(in_game_dir(".\\media\\font\\out.fnt")));
        image.reset(IMG_Load(in_game_dir(desc->getString("font_tex")).c_str()));
        ASSERT_TRUE(image) << IMG_GetError();
        for (int c = 32; c < 127; ++c) {
            if (c == '#' || c == '=') continue;
            float v[4] = {-1, -1, -1, -1};
            try {
                desc->get4f(std::string(1, char(c)), v);
            } catch (const BadValueException&) {
                missing.push_back(c);
                continue;
            }
            rects.push_back({c, v[0] - 1.5f, v[1], v[2] + 0.25f, v[3]});
        }
    }
    int alpha(int x, int y) const
    {
        const auto* row = static_cast<const uint8_t*>(image->pixels) + y * image->pitch;
        return row[x * 4 + 3];
    }

    std::unique_ptr<ParameterFile> desc;
    std::unique_ptr<SDL_Surface, SurfaceDeleter> image;
    std::vector<Rect> rects;
    std::vector<int> missing;
};

TEST_F(MediaFont, ImageIsRgbaOfPowerOfTwoSize)
{
    EXPECT_EQ(image->format->BitsPerPixel, 32);
    EXPECT_EQ(image->w & (image->w - 1), 0);
    EXPECT_EQ(image->h & (image->h - 1), 0);
}

TEST_F(MediaFont, EveryPrintableCharacterHasARectangleInsideTheImage)
{
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

TEST_F(MediaFont, RectanglesDoNotOverlap)
{
    for (size_t i = 0; i < rects.size(); ++i)
        for (size_t j = i + 1; j < rects.size(); ++j) {
            const Rect &a = rects[i], &b = rects[j];
            bool apart = a.x + a.w <= b.x || b.x + b.w <= a.x || a.y + a.h <= b.y || b.y + b.h <= a.y;
            EXPECT_TRUE(apart) << "'" << char(a.c) << "' and '" << char(b.c) << "'";
        }
}

TEST_F(MediaFont, InkLiesOnlyInsideTheGlyphsRectangles)
{
    std::vector<int> owner(size_t(image->w) * image->h, -1);
    for (size_t i = 0; i < rects.size(); ++i) {
        const Rect& r = rects[i];
        for (int y = int(r.y); y < int(r.y + r.h); ++y)
            for (int x = int(r.x); x < int(r.x + r.w); ++x) owner[size_t(y) * image->w + x] = int(i);
    }
    std::vector<int> ink(rects.size(), 0);
    int stray = 0;
    for (int y = 0; y < image->h; ++y)
        for (int x = 0; x < image->w; ++x) {
            if (alpha(x, y) == 0) continue;
            int o = owner[size_t(y) * image->w + x];
            if (o < 0) ++stray;
            else if (alpha(x, y) > 128) ++ink[size_t(o)];
        }
    EXPECT_EQ(stray, 0) << "pixels of some glyph fall outside every rectangle";
    for (size_t i = 0; i < rects.size(); ++i) {
        if (rects[i].c == ' ') EXPECT_EQ(ink[i], 0) << "the blank must be empty";
        else EXPECT_GT(ink[i], 10) << "glyph '" << char(rects[i].c) << "' has no ink";
    }
}

TEST_F(MediaFont, UndefinedCharactersShowAnEmptyCorner)
{
    // Bytes 128 to 255 draw the image's top-left 80 x 20 pixels.
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 80; ++x) ASSERT_EQ(alpha(x, y), 0) << "at " << x << ", " << y;
}

TEST_F(MediaFont, BlankAdvancesAboutAsFarAsALetter)
{
    // The font manager advances a blank by 2.5 times its width.
    float blank = 0.0f, letters = 0.0f;
    int n = 0;
    for (const Rect& r : rects) {
        if (r.c == ' ') blank = 2.5f * r.w;
        if (std::islower(r.c)) {
            letters += r.w;
            ++n;
        }
    }
    ASSERT_GT(n, 0);
    letters /= float(n);
    EXPECT_GT(blank, 0.4f * letters);
    EXPECT_LT(blank, 1.2f * letters);
}

} // namespace
