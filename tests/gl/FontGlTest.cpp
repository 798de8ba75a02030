#include "Common/FontManager.h"
#include "GlFixture.h"

#include <GL/glu.h>

namespace {

using Px = std::vector<unsigned char>;
const Px kBlack = {0, 0, 0};

// A 32 x 16 font image: 'A' is an opaque white 8 x 8 block at (0, 0), 'B' a faint one
// (alpha 40) at (16, 0); everything else is transparent.
class FontTest : public ResourceGlTest {
protected:
    void SetUp() override
    {
        ResourceGlTest::SetUp();
        if (HasFatalFailure()) return;
        std::vector<unsigned char> px(32 * 16 * 4, 0);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                for (int k = 0; k < 4; ++k) {
                    px[(y * 32 + x) * 4 + k] = 255;
                    px[(y * 32 + 16 + x) * 4 + k] = k < 3 ? 255 : 40;
                }
        image = write_image("font/font.png", 32, 16, 4, px);
        glMatrixMode(GL_PROJECTION);
        gluOrtho2D(0, 256, 0, 256); // the window's pixels; the rest is the fresh context's default
        glMatrixMode(GL_MODELVIEW);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_CULL_FACE);
    }

    // A font of glyphs 'A' and 'B' from `tex`; x is stored 1.5 to the right and w 0.25 narrow,
    // as the loader adjusts them.
    fontManager* make_font(const std::string& tex)
    {
        const std::string description =
            dir.write("font/out.fnt", "font_tex=" + tex + "\nA=1.5 0 7.75 8\nB=17.5 0 7.75 8\n");
        fontManager* f = nullptr;
        printed([&] { f = new fontManager(description.c_str()); });
        return f;
    }

    static Px pixel(int x, int y)
    {
        Px p(3);
        glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p.data());
        return p;
    }

    std::string image;
};

// The glyph's texels are drawn in the text colour at its place; faint ones are dropped only
// while the font is transparent.
TEST_F(FontTest, GlyphIsDrawnInTheTextColourAtItsPlaceAndTheStateIsRestored)
{
    fontManager* font = make_font(image);
    ASSERT_NE(font->texture, nullptr);
    ASSERT_NE(font->texture->id, 0u);
    const float pos[2] = {40, 20}, colour[3] = {0.8f, 0.6f, 0.0f}, scale[2] = {2, 2};
    font->draw_text("A", pos, colour, scale);
    // 8 texels at scale 2: 16 x 16 pixels from (40, 20).
    EXPECT_EQ(pixel(48, 28), (Px{204, 153, 0}));
    EXPECT_EQ(pixel(41, 21), (Px{204, 153, 0}));
    EXPECT_EQ(pixel(38, 28), kBlack);
    EXPECT_EQ(pixel(48, 37), kBlack);

    const float at[2] = {10, 10}, white[3] = {1, 1, 1}, one[2] = {1, 1};
    font->draw_text("B", at, white, one);
    EXPECT_EQ(pixel(14, 14), kBlack); // alpha 40 fails the test
    font->set_transparent(false);
    font->draw_text("B", at, white, one);
    EXPECT_EQ(pixel(14, 14), (Px{255, 255, 255}));

    // Whatever the text, even none, the state is left for the scene.
    for (const char* text : {"", "AB A"}) {
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        font->draw_text(text, at, white, one);
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_LIGHTING)) << text;
        EXPECT_FALSE(glIsEnabled(GL_BLEND) || glIsEnabled(GL_ALPHA_TEST) || glIsEnabled(GL_TEXTURE_2D)) << text;
        EXPECT_EQ(gl_integer(GL_TEXTURE_BINDING_2D), 0) << text;
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << text;
    }
    printed([&] { delete font; });

    // Without its image the font draws nothing, and its empty sizes divide nothing by zero.
    font = make_font(dir.file("none.png"));
    EXPECT_EQ(font->texture->id, 0u);
    glClear(GL_COLOR_BUFFER_BIT);
    font->draw_text("AAAA", at, white, one);
    EXPECT_EQ(pixel(12, 12), kBlack);
    printed([&] { delete font; });
}

} // namespace
