// The generated images as the game's loaders see them (SDL_image for textures, SDL_LoadBMP
// for the water slices; the skins are the model tests'), and the HUD font against its image.
#include "Common/FontManager.h"
#include "Common/ParameterFile.h"
#include "Console.h"
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
        if (n == 1) {
            w = s->w;
            h = s->h;
        }
        EXPECT_TRUE(s->w == w && s->h == h && w >= 64 && power_of_two(w) && power_of_two(h)) << name;
    }
}

struct Rect {
    int c;
    float x, y, w, h;
};

// The description read with the parameter reader and built into glyphs as the font manager
// does; '#' and '=' cannot be keys of that file.
class MediaFont : public ::testing::Test {
protected:
    void SetUp() override
    {
        ParameterFile desc(game_file("media/font/out.fnt"));
        const std::string tex = desc.getString("font_tex");
        image.reset(IMG_Load(game_path(tex).c_str()));
        ASSERT_TRUE(image) << tex << ": " << IMG_GetError();
        GlyphTable table;
        printed([&] { table = build_glyph_table(desc, 0); });
        for (int c = 32; c < 127; ++c) {
            const Glyph& g = table.glyphs[c];
            if (c == '#' || c == '=') continue;
            if (g.h == 0) ADD_FAILURE() << "'" << char(c) << "' is undefined"; // the fallback has no height
            else rects.push_back({c, g.x, g.y, g.w, g.h});
        }
    }

    Surface image;
    std::vector<Rect> rects;
};

TEST_F(MediaFont, EveryPrintableCharacterHasARectangleInsideTheImage)
{
    ASSERT_EQ(rects.size(), 93u);
    const float h0 = rects[0].h;
    for (const Rect& r : rects) {
        SCOPED_TRACE(std::string("glyph '") + char(r.c) + "'");
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
