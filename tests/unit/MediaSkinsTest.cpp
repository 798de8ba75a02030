// The model skins as the texture loader reads them (SDL_image): JPEGs of 256 or 512 texels
// square, painted where the models' texture coordinates point, the opponents' rider darker
// than the player's.
#include "GameDir.h"
#include "Md2Decoded.h"

#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

Surface load(const std::string& rel) { return Surface(IMG_Load(game_file(rel).c_str())); }

// R, G, B of texel (x, y) of a 24-bit surface.
const uint8_t* texel(const SDL_Surface* s, int x, int y)
{
    return static_cast<const uint8_t*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
}

double mean_brightness(const SDL_Surface* s)
{
    double sum = 0;
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            const uint8_t* p = texel(s, x, y);
            sum += (p[0] + p[1] + p[2]) / 3.0;
        }
    return sum / (double(s->w) * s->h);
}

const char* const kSkins[] = {
    "media/objects/trees/tree.jpg", "media/objects/teddy/teddy.jpg",     "media/objects/evil/evil.jpg",
    "media/objects/ship/ship.jpg",  "media/objects/crystal/crystal.jpg", "media/objects/hover/hover.jpg",
    "media/objects/cam/cam.jpg",    "media/objects/duck/duck.jpg",       "media/objects/pilz/pilz.jpg",
    "media/objects/tree_lazy_boy/tree_lazy_boy.jpg", "media/objects/bridge/bridge.jpg"};

} // namespace

TEST(MediaSkins, DecodeAsSquareJpegsOfTheUsualSizes)
{
    for (const char* rel : kSkins) {
        Surface s = load(rel);
        ASSERT_TRUE(s) << rel << ": " << IMG_GetError();
        EXPECT_TRUE(s->w == 256 || s->w == 512) << rel << " is " << s->w << " wide";
        EXPECT_EQ(s->w, s->h) << rel;
        EXPECT_EQ(s->format->BytesPerPixel, 3) << rel;
    }
}

TEST(MediaSkins, TextureCoordinatesLandOnPaintedTexels)
{
    // Atlas space that no part uses stays black; a texture coordinate there would show a
    // black patch on the model.
    struct Use {
        const char* md2;
        const char* skin;
    } uses[] = {{"media/objects/duck/duck.md2", "media/objects/duck/duck.jpg"},
                {"media/objects/ship/ship_anim.md2", "media/objects/ship/ship.jpg"},
                {"media/objects/hover/hover.md2", "media/objects/hover/hover.jpg"},
                {"media/objects/hover/rotor1.md2", "media/objects/hover/hover.jpg"},
                {"media/objects/teddy/teddy.md2", "media/objects/teddy/teddy.jpg"},
                {"media/objects/teddy/teddy.md2", "media/objects/evil/evil.jpg"},
                {"media/objects/cam/cam.md2", "media/objects/cam/cam.jpg"},
                {"media/objects/trees/tree.md2", "media/objects/trees/tree.jpg"},
                {"media/objects/pilz/pilz.md2", "media/objects/pilz/pilz.jpg"},
                {"media/objects/tree_lazy_boy/tree_lazy_boy.md2", "media/objects/tree_lazy_boy/tree_lazy_boy.jpg"},
                {"media/objects/crystal/crystal.md2", "media/objects/crystal/crystal.jpg"},
                {"media/objects/bridge/bridge.md2", "media/objects/bridge/bridge.jpg"}};
    for (const Use& u : uses) {
        Md2Decoded m;
        ASSERT_EQ(m.load(game_file(u.md2)), "") << u.md2;
        Surface s = load(u.skin);
        ASSERT_TRUE(s) << u.skin;
        int unpainted = 0;
        for (const auto& st : m.texcoords) {
            int x = std::min(st.first * s->w / m.skin_w, s->w - 1), y = std::min(st.second * s->h / m.skin_h, s->h - 1);
            const uint8_t* p = texel(s.get(), x, y);
            if (p[0] + p[1] + p[2] < 6)
                ++unpainted;
        }
        EXPECT_EQ(unpainted, 0) << u.md2 << " on " << u.skin;
    }
}

TEST(MediaSkins, TheOpponentsTeddyIsTheSinisterOne)
{
    Surface teddy = load("media/objects/teddy/teddy.jpg"), evil = load("media/objects/evil/evil.jpg");
    ASSERT_TRUE(teddy && evil);
    EXPECT_EQ(teddy->w, evil->w);
    EXPECT_EQ(teddy->h, evil->h);
    EXPECT_LT(mean_brightness(evil.get()), 0.7 * mean_brightness(teddy.get()));
}
