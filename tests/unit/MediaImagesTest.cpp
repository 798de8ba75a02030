// The generated images as the game's texture loader sees them (SDL_image): present, of the
// sizes and depths the game expects, seamless where they tile, and looking like what they are.
#include "GameDir.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

Surface load(const std::string& rel) { return Surface(IMG_Load(game_file(rel).c_str())); }

bool power_of_two(int v) { return v > 0 && (v & (v - 1)) == 0; }

// Channel value of a 24- or 32-bit surface (R, G, B, A order in memory as SDL_image gives
// for JPEG and PNG).
int channel(const SDL_Surface* s, int x, int y, int c)
{
    const auto* row = static_cast<const uint8_t*>(s->pixels) + y * s->pitch;
    return row[x * s->format->BytesPerPixel + c];
}

struct Expect {
    const char* file;
    int w, h, bpp;
};

TEST(MediaImages, EveryImageLoadsAtItsSizeAndDepth)
{
    const Expect images[] = {
        {"media/sand_base1.jpg", 1024, 1024, 24},
        {"media/Grass6.jpg", 1024, 1024, 24},
        {"media/nature072b.jpg", 1024, 1024, 24},
        {"media/noise.jpg", 512, 512, 24},
        {"media/noise_nm.png", 512, 512, 24},
        {"media/objects/unit/unit.jpg", 64, 64, 24},
        {"media/cubemap/cubemap_daytime_X4.jpg", 3072, 512, 24},
        {"media/title.jpg", 1024, 1024, 24},
        {"media/font_test.png", 512, 256, 24},
        {"media/font/font.png", 512, 512, 32},
    };
    for (const Expect& e : images) {
        Surface s = load(e.file);
        ASSERT_TRUE(s) << e.file << ": " << IMG_GetError();
        EXPECT_EQ(s->w, e.w) << e.file;
        EXPECT_EQ(s->h, e.h) << e.file;
        EXPECT_EQ(s->format->BitsPerPixel, e.bpp) << e.file;
        if (std::string(e.file).find("cubemap") == std::string::npos) {
            EXPECT_TRUE(power_of_two(s->w) && power_of_two(s->h)) << e.file;
        }
    }
}

// Mean absolute difference across the wrap (last column to first, last row to first)
// against the mean difference between neighbours inside the image.
struct Seams {
    double inside, across_x, across_y;
};

Seams seams(const SDL_Surface* s)
{
    double inside = 0.0, ax = 0.0, ay = 0.0;
    long n_inside = 0;
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x)
            for (int c = 0; c < 3; ++c) {
                int v = channel(s, x, y, c);
                if (x + 1 < s->w) {
                    inside += std::abs(channel(s, x + 1, y, c) - v);
                    ++n_inside;
                }
                if (x == s->w - 1) ax += std::abs(channel(s, 0, y, c) - v);
                if (y == s->h - 1) ay += std::abs(channel(s, x, 0, c) - v);
            }
    return {inside / double(n_inside), ax / (3.0 * s->h), ay / (3.0 * s->w)};
}

TEST(MediaImages, TerrainTexturesTileSeamlessly)
{
    for (const char* file : {"media/sand_base1.jpg", "media/Grass6.jpg", "media/nature072b.jpg", "media/noise.jpg",
                             "media/noise_nm.png"}) {
        Surface s = load(file);
        ASSERT_TRUE(s) << file;
        Seams m = seams(s.get());
        EXPECT_LT(m.across_x, 1.3 * m.inside + 1.5) << file << " shows a seam between its left and right edges";
        EXPECT_LT(m.across_y, 1.3 * m.inside + 1.5) << file << " shows a seam between its top and bottom edges";
    }
}

struct Stats {
    double r, g, b, spread; // mean channels (0..1) and the standard deviation of brightness
};

Stats stats(const SDL_Surface* s)
{
    double r = 0, g = 0, b = 0, l2 = 0;
    long n = long(s->w) * s->h;
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            double R = channel(s, x, y, 0) / 255.0, G = channel(s, x, y, 1) / 255.0, B = channel(s, x, y, 2) / 255.0;
            r += R;
            g += G;
            b += B;
            double l = (R + G + B) / 3.0;
            l2 += l * l;
        }
    r /= n;
    g /= n;
    b /= n;
    double mean = (r + g + b) / 3.0;
    return {r, g, b, std::sqrt(std::max(0.0, l2 / n - mean * mean))};
}

TEST(MediaImages, SurfacesHaveTheColoursOfTheirMaterials)
{
    Stats sand = stats(load("media/sand_base1.jpg").get());
    EXPECT_GT(sand.r, sand.g);
    EXPECT_GT(sand.g, sand.b + 0.08) << "sand should be warm";
    EXPECT_GT(sand.r, 0.6) << "sand should be light";

    Stats grass = stats(load("media/Grass6.jpg").get());
    EXPECT_GT(grass.g, grass.r + 0.08);
    EXPECT_GT(grass.g, grass.b + 0.15) << "grass should be green";

    Stats rock = stats(load("media/nature072b.jpg").get());
    EXPECT_LT(std::fabs(rock.r - rock.b), 0.15) << "rock should be grey-brown, not coloured";
    EXPECT_GE(rock.r, rock.b);
    EXPECT_GT(rock.spread, 0.05) << "rock should show structure";

    for (const Stats& s : {sand, grass, rock}) EXPECT_GT(s.spread, 0.02) << "a flat colour is not a texture";

    Stats nm = stats(load("media/noise_nm.png").get());
    EXPECT_NEAR(nm.r, 0.5, 0.05) << "normals should lean evenly both ways";
    EXPECT_NEAR(nm.g, 0.5, 0.05);
    EXPECT_GT(nm.b, 0.8) << "normals should point mostly out of the surface";
}

// Cube strip: faces +X, -X, +Y, -Y, +Z, -Z from the left, each F x F.
struct Strip {
    Surface s;
    int F;
    double lum(int face, int x, int y) const
    {
        return (channel(s.get(), face * F + x, y, 0) + channel(s.get(), face * F + x, y, 1) +
                channel(s.get(), face * F + x, y, 2)) / 3.0;
    }
};

TEST(MediaImages, SkyFacesMeetWithoutSeams)
{
    Strip st{load("media/cubemap/cubemap_daytime_X4.jpg"), 0};
    ASSERT_TRUE(st.s);
    ASSERT_EQ(st.s->w, 6 * st.s->h) << "the strip holds six square faces";
    st.F = st.s->h;
    const int F = st.F, L = F - 1;
    enum { PX, NX, PY, NY, PZ, NZ };
    // Pairs of edges that are the same line on the cube, sampled along their length.
    double worst = 0.0;
    for (int i = 2; i < F - 2; i += 4) {
        double d[] = {
            std::fabs(st.lum(PX, 0, i) - st.lum(PZ, L, i)),     // +X left  = +Z right
            std::fabs(st.lum(NX, L, i) - st.lum(PZ, 0, i)),     // -X right = +Z left
            std::fabs(st.lum(PX, L, i) - st.lum(NZ, 0, i)),     // +X right = -Z left
            std::fabs(st.lum(NX, 0, i) - st.lum(NZ, L, i)),     // -X left  = -Z right
            std::fabs(st.lum(PY, i, L) - st.lum(PZ, i, 0)),     // +Y bottom = +Z top
            std::fabs(st.lum(NY, i, 0) - st.lum(PZ, i, L)),     // -Y top    = +Z bottom
            std::fabs(st.lum(PY, i, 0) - st.lum(NZ, L - i, 0)), // +Y top    = -Z top, reversed
            std::fabs(st.lum(PY, L, i) - st.lum(PX, L - i, 0)), // +Y right  = +X top, reversed
        };
        for (double v : d) worst = std::max(worst, v);
    }
    EXPECT_LT(worst, 12.0) << "neighbouring faces disagree along a shared edge";
}

TEST(MediaImages, SkyIsOrientedWithTheSunTowardTheLight)
{
    Strip st{load("media/cubemap/cubemap_daytime_X4.jpg"), 0};
    ASSERT_TRUE(st.s);
    st.F = st.s->h;
    const int F = st.F;
    // The brightest texel is the sun, on the +Y face where the light direction
    // (-0.2, 0.85, -0.15) meets it: s = (x / y + 1) / 2, t = (z / y + 1) / 2.
    int best_face = -1, bx = 0, by = 0;
    double best = -1.0;
    for (int f = 0; f < 6; ++f)
        for (int y = 0; y < F; y += 2)
            for (int x = 0; x < F; x += 2)
                if (st.lum(f, x, y) > best) {
                    best = st.lum(f, x, y);
                    best_face = f;
                    bx = x;
                    by = y;
                }
    EXPECT_EQ(best_face, 2) << "the sun should be on the upward face";
    EXPECT_NEAR(bx, (-0.2 / 0.85 + 1.0) / 2.0 * F, 0.04 * F);
    EXPECT_NEAR(by, (-0.15 / 0.85 + 1.0) / 2.0 * F, 0.04 * F);

    // Blue overhead, pale haze at the horizon (the middle row of a side face).
    auto blue = [&](int f, int x, int y) {
        return channel(st.s.get(), f * F + x, y, 2) - channel(st.s.get(), f * F + x, y, 0);
    };
    double side = 0.0;
    for (int f : {0, 1, 4, 5}) side += st.lum(f, F / 2, F / 2);
    EXPECT_GT(side / 4.0, st.lum(2, F / 8, F / 8)) << "the horizon should be lighter than the sky overhead";
    EXPECT_GT(blue(2, F / 8, F / 8), 40) << "the sky overhead should be blue";
}

TEST(MediaImages, TitleHasAPictureAndLettering)
{
    Surface s = load("media/title.jpg");
    ASSERT_TRUE(s);
    Stats st = stats(s.get());
    EXPECT_GT(st.spread, 0.08) << "the title should not be a flat colour";
    // The name sits in the upper third: strong light-dark contrast there.
    int bright = 0;
    for (int y = s->h / 8; y < s->h / 2; ++y)
        for (int x = 0; x < s->w; ++x) bright += channel(s.get(), x, y, 0) > 180 && channel(s.get(), x, y, 2) < 140;
    EXPECT_GT(bright, 5000) << "no golden lettering found";
}

} // namespace
