// The generated images as the game's loaders see them (SDL_image for textures and skins,
// SDL_LoadBMP for the water slices): present and of the sizes and depths the game expects.
#include "GameDir.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

Surface load(const std::string& rel) { return Surface(IMG_Load(game_file(rel).c_str())); }

bool power_of_two(int v) { return v > 0 && (v & (v - 1)) == 0; }

TEST(MediaImages, EveryImageLoadsAtItsSizeAndDepth)
{
    struct Expect {
        const char* file;
        int w, h, bpp;
    } images[] = {
        {"media/sand_base1.jpg", 1024, 1024, 24}, {"media/Grass6.jpg", 1024, 1024, 24},
        {"media/nature072b.jpg", 1024, 1024, 24}, {"media/noise.jpg", 512, 512, 24},
        {"media/noise_nm.png", 512, 512, 24},     {"media/title.jpg", 1024, 1024, 24},
        {"media/font_test.png", 512, 256, 24},    {"media/font/font.png", 512, 512, 32},
        {"media/objects/unit/unit.jpg", 64, 64, 24},
        {"media/cubemap/cubemap_daytime_X4.jpg", 3072, 512, 24}, // six square faces side by side
        {"media/contact_sheet.png", 1536, 1514, 24},             // the models at a glance, for the README
        // the model skins
        {"media/objects/trees/tree.jpg", 256, 256, 24},   {"media/objects/teddy/teddy.jpg", 256, 256, 24},
        {"media/objects/evil/evil.jpg", 256, 256, 24},    {"media/objects/ship/ship.jpg", 512, 512, 24},
        {"media/objects/crystal/crystal.jpg", 256, 256, 24}, {"media/objects/hover/hover.jpg", 512, 512, 24},
        {"media/objects/cam/cam.jpg", 256, 256, 24},      {"media/objects/duck/duck.jpg", 256, 256, 24},
        {"media/objects/pilz/pilz.jpg", 256, 256, 24},    {"media/objects/bridge/bridge.jpg", 256, 256, 24},
        {"media/objects/tree_lazy_boy/tree_lazy_boy.jpg", 256, 256, 24},
    };
    for (const Expect& e : images) {
        Surface s = load(e.file);
        ASSERT_TRUE(s) << e.file << ": " << IMG_GetError();
        EXPECT_EQ(s->w, e.w) << e.file;
        EXPECT_EQ(s->h, e.h) << e.file;
        EXPECT_EQ(s->format->BitsPerPixel, e.bpp) << e.file;
    }
}

TEST(MediaImages, WaterSlicesAreSixteenMovingGreyImagesOfOnePowerOfTwoSize)
{
    Surface prev;
    for (int n = 1; n <= 16; ++n) {
        const std::string name = "media/waveanim/hm_" + std::to_string(n) + "_von_16.bmp";
        Surface s(SDL_LoadBMP(game_file(name).c_str()));
        ASSERT_TRUE(s) << name << ": " << SDL_GetError();
        EXPECT_EQ(s->format->BitsPerPixel, 8) << name;
        if (prev) {
            ASSERT_EQ(s->w, prev->w) << name;
            ASSERT_EQ(s->h, prev->h) << name;
            double step = 0;
            for (int y = 0; y < s->h; ++y)
                for (int x = 0; x < s->w; ++x)
                    step += std::abs(static_cast<const uint8_t*>(s->pixels)[y * s->pitch + x] -
                                     static_cast<const uint8_t*>(prev->pixels)[y * prev->pitch + x]);
            EXPECT_GT(step / (s->w * s->h), 0.5) << name << " does not move on from the slice before";
        } else {
            EXPECT_GE(s->w, 64);
            EXPECT_TRUE(power_of_two(s->w) && power_of_two(s->h)) << s->w << " x " << s->h;
        }
        prev = std::move(s);
    }
}

} // namespace
