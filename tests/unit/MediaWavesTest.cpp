// The water animation slices as the game's 3-D texture loader reads them: 16 grey BMPs of
// one power-of-two size at 8 bits per pixel, tiling in x and y and looping in time.
#include "GameDir.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

Surface load_slice(int n)
{
    char name[64];
    std::snprintf(name, sizeof name, "media/waveanim/hm_%d_von_16.bmp", n);
    return Surface(SDL_LoadBMP(game_file(name).c_str()));
}

using Slice = std::vector<int>;

std::vector<Slice> load_all(int& w, int& h)
{
    std::vector<Slice> slices;
    for (int n = 1; n <= 16; ++n) {
        Surface s = load_slice(n);
        if (!s) return {};
        w = s->w;
        h = s->h;
        Slice px(size_t(w) * h);
        const auto* bytes = static_cast<const uint8_t*>(s->pixels);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) px[size_t(y) * w + x] = bytes[y * s->pitch + x];
        slices.push_back(std::move(px));
    }
    return slices;
}

double mean_abs_diff(const Slice& a, const Slice& b)
{
    double sum = 0.0;
    for (size_t i = 0; i < a.size(); ++i) sum += std::abs(a[i] - b[i]);
    return sum / double(a.size());
}

TEST(MediaWaves, SixteenSlicesOfOnePowerOfTwoSizeAtEightBitsPerPixel)
{
    int w0 = 0, h0 = 0;
    for (int n = 1; n <= 16; ++n) {
        Surface s = load_slice(n);
        ASSERT_TRUE(s) << "slice " << n << ": " << SDL_GetError();
        EXPECT_EQ(s->format->BitsPerPixel, 8) << "slice " << n;
        if (n == 1) {
            w0 = s->w;
            h0 = s->h;
        }
        EXPECT_EQ(s->w, w0);
        EXPECT_EQ(s->h, h0);
    }
    EXPECT_GE(w0, 64);
    EXPECT_EQ(w0 & (w0 - 1), 0) << "width " << w0 << " is not a power of two";
    EXPECT_EQ(h0 & (h0 - 1), 0) << "height " << h0 << " is not a power of two";
}

TEST(MediaWaves, HeightsUseTheRangeWithoutClipping)
{
    int w = 0, h = 0;
    std::vector<Slice> slices = load_all(w, h);
    ASSERT_EQ(slices.size(), 16u);
    int lo = 255, hi = 0, at_limits = 0;
    for (const Slice& s : slices)
        for (int v : s) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
            at_limits += (v == 0 || v == 255);
        }
    EXPECT_GT(hi - lo, 160) << "the waves are too flat to show";
    EXPECT_EQ(at_limits, 0) << "clipped crests or troughs";
}

TEST(MediaWaves, TilesInXAndY)
{
    int w = 0, h = 0;
    std::vector<Slice> slices = load_all(w, h);
    ASSERT_EQ(slices.size(), 16u);
    for (const Slice& s : slices) {
        // Across the wrap the step must look like an average step inside the tile.
        double inside_x = 0.0, inside_y = 0.0, across_x = 0.0, across_y = 0.0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x + 1 < w; ++x) inside_x += std::abs(s[size_t(y) * w + x + 1] - s[size_t(y) * w + x]);
            across_x += std::abs(s[size_t(y) * w + (w - 1)] - s[size_t(y) * w]);
        }
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y + 1 < h; ++y) inside_y += std::abs(s[size_t(y + 1) * w + x] - s[size_t(y) * w + x]);
            across_y += std::abs(s[size_t(h - 1) * w + x] - s[size_t(x)]);
        }
        inside_x /= double(h) * (w - 1);
        inside_y /= double(w) * (h - 1);
        EXPECT_LT(across_x / h, 1.5 * inside_x + 0.5);
        EXPECT_LT(across_y / w, 1.5 * inside_y + 0.5);
    }
}

TEST(MediaWaves, AnimationLoopsFromTheLastSliceToTheFirst)
{
    int w = 0, h = 0;
    std::vector<Slice> slices = load_all(w, h);
    ASSERT_EQ(slices.size(), 16u);
    double steps = 0.0;
    for (int i = 0; i + 1 < 16; ++i) {
        double d = mean_abs_diff(slices[size_t(i)], slices[size_t(i) + 1]);
        EXPECT_GT(d, 0.5) << "slices " << i + 1 << " and " << i + 2 << " do not move";
        steps += d;
    }
    double wrap = mean_abs_diff(slices[15], slices[0]);
    EXPECT_LT(wrap, 1.3 * steps / 15.0) << "the loop jumps from slice 16 to slice 1";
}

} // namespace
